#pragma once

#include <string>
#include <vector>

namespace dvw::bench {

// One line of each common kind, for the line reader's and writer's benchmarks.
inline const std::vector<std::string> &sampleLines()
{
    static const std::vector<std::string> lines = {
        "3/5/99 9:00 am Dentist",
        "\\B3/5/60 Ann (  )",
        "?/15 Pay rent",
        "!mon, wed 7:30 Gym",
        "!MAR3MON>1 Holiday after",
        "*WORK Call back",
        "\\*HOME \\D3/5/99 \\D3/12/99 !1W Clean",
        "A line that is all free text and fits no schedule at all",
    };
    return lines;
}

} // namespace dvw::bench
