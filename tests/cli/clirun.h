#pragma once

#include "cli/commands.h"

#include <sstream>
#include <string>
#include <vector>

namespace dvw::test {

// What one in-process run of dayvane-cli gave.
struct CliRun
{
    int status = 0;
    std::string out;
    std::string err;
};

// Runs the command line as dayvane-cli would, with input as standard input.
inline CliRun runCliWith(const std::vector<std::string> &args, const std::string &input = {})
{
    std::istringstream in(input);
    std::ostringstream out, err;
    CliRun r;
    r.status = runCli(args, in, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

} // namespace dvw::test
