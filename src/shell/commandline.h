#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dvw {

// What the program was asked for on its command line.
struct CommandLine
{
    // -R n: the settings live under their own profile n.
    bool hasProfile = false;
    std::uint32_t profile = 0;
    // -M: start minimised.
    bool minimised = false;
    // The appointment file to open; empty means the APPTFILE setting decides.
    std::string file;
};

// args[0] is the program name. Switches start with "-" and are told apart by their second
// character, in either case: "-R" (or "-r…") takes the next argument as the profile number
// (its leading decimal digits; none reads as 0, a missing argument appends no number),
// "-M" starts minimised. The last argument is the file only when neither it nor the one
// before it starts with "-", so "-M work.apt" opens the APPTFILE file: a file is named
// after a profile number, not after a bare switch. The file name is never cut.
CommandLine ParseCommandLine(const std::vector<std::string> &args);

} // namespace dvw
