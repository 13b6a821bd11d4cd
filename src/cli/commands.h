#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace dvw {

// Runs one dayvane-cli command. args holds the command and its arguments (no program
// name). Returns the exit status: 0 done, 1 a file or the output failed, 2 bad arguments.
int runCli(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
           std::ostream &err);

// Splits a stream into lines ended by LF or CR LF. A last line without an ending counts;
// empty lines are kept.
std::vector<std::string> readInputLines(std::istream &in);

} // namespace dvw
