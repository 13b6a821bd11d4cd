#include "commandline.h"

#include "core/datetext.h"

namespace dvw {

namespace {

bool isSwitch(const std::string &arg)
{
    return !arg.empty() && arg[0] == '-';
}

char switchLetter(const std::string &arg)
{
    return arg.size() >= 2 ? toUpperAscii(arg[1]) : '\0';
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string> &args)
{
    CommandLine line;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (!isSwitch(args[i]))
            continue;
        switch (switchLetter(args[i])) {
        case 'R':
            if (i + 1 < args.size()) {
                TextCursor number {args[++i]};
                line.profile = ReadNumber(number);
                line.hasProfile = true;
            }
            break;
        case 'M':
            line.minimised = true;
            break;
        default:
            break;
        }
    }
    const std::size_t n = args.size();
    if (n >= 2 && !isSwitch(args[n - 1]) && !isSwitch(args[n - 2]))
        line.file = args[n - 1];
    return line;
}

} // namespace dvw
