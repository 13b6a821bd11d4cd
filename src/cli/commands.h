#pragma once

#include "core/datetextsettings.h"
#include "store/fileio.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace dvw {

// Runs one dayvane-cli command. args holds the command and its arguments (no program
// name). Returns the exit status: 0 done, 1 a file or the output failed, 2 bad arguments.
int runCli(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
           std::ostream &err);

// `dayvane-cli add`: loads the file, appends the text as a new line and saves it, holding
// the file's save lock throughout. Returns 0 saved (with a warning on err when the save
// is in place but not all went well), 1 not saved (the file untouched; a read-only file
// too, even with force), 3 the file changed on disk after it was read.
// beforeSave runs between loading and saving (tests change the file there).
int runAddCommand(const std::string &file, const std::string &text, bool force,
                  const DateTextSettings &dateSettings, std::ostream &err,
                  const std::function<void()> &beforeSave = {});

// The exit status of a save that a changing command made, with its message on err: 0 in
// place (a warning when not all went well: a retry would change the file twice), 3 the
// file changed on disk since it was read, 1 not saved.
int reportSave(const SaveResult &saved, const std::string &file, std::ostream &err);

// Splits a stream into lines ended by LF or CR LF. A last line without an ending counts;
// empty lines are kept.
std::vector<std::string> readInputLines(std::istream &in);

} // namespace dvw
