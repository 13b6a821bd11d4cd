// Arbitrary bytes as a command line: NUL bytes split the arguments. The file named is
// always the last argument, taken whole, and only when neither it nor the one before it
// is a switch; the profile number is the leading digits after a profile switch.
#include "shell/commandline.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::vector<std::string> args = {"dayvane"};
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    args.push_back(current);

    const dvw::CommandLine line = dvw::ParseCommandLine(args);
    const auto isSwitch = [](const std::string &a) { return !a.empty() && a[0] == '-'; };
    if (!line.file.empty()) {
        const std::size_t n = args.size();
        if (line.file != args[n - 1] || isSwitch(args[n - 1]) || isSwitch(args[n - 2]))
            std::abort();
    }
    bool anyProfileSwitch = false;
    for (std::size_t i = 1; i + 1 < args.size(); ++i)
        anyProfileSwitch = anyProfileSwitch
            || (isSwitch(args[i]) && args[i].size() >= 2
                && (args[i][1] == 'R' || args[i][1] == 'r'));
    if (line.hasProfile && !anyProfileSwitch)
        std::abort();
    return 0;
}
