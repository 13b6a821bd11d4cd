#pragma once

#include "clioptions.h"
#include "store/fileio.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

namespace dvw {

class TApptDocument;

// FILE loaded as the document loads it; false after telling err (exit 1): it cannot be
// read, or it does not exist (only add starts a new file).
bool loadExisting(TApptDocument &doc, const std::string &file, std::ostream &err);
// The save lock of FILE, taken before it is read; nullopt after telling err (exit 1).
std::optional<SaveLock> lockFile(const std::string &file, std::ostream &err);

// sort: FILE --by date|category; sorts the whole file and saves it as add does (0 saved,
// 1 not saved, 2 bad arguments, 3 changed on disk); --stdout prints instead of saving.
int runSort(const CliOptions &o, std::ostream &out, std::ostream &err,
            const std::function<void()> &beforeSave = {});
// mark: FILE (--outdated|--matching TEXT); prints {"line":N} for each line the file view
// would mark, in file order; 4 when none is.
int runMark(const CliOptions &o, std::ostream &out, std::ostream &err);
// archive: FILE (--outdated|--matching TEXT) [--to TARGET] [--keep]; appends the marked
// lines to the target, then (unless --keep) removes them from FILE and saves it. 1 also
// for a target that is FILE or its backup, 4 nothing marked (nothing written).
int runArchive(const CliOptions &o, std::ostream &out, std::ostream &err,
               const std::function<void()> &beforeSave = {});

} // namespace dvw
