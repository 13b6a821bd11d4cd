#pragma once

#include "core/apptinfo.h"
#include "core/datelist.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dvw {

// One day a line shows on, as a day cell of the list holds it.
struct LineDay
{
    TDate date; // the day, with the rule's flags where it is the rule's own date
    bool done = false;
};

// The days one line shows on from `from` through `last` (day numbers, inclusive), in date
// order, as a window over those days would place them in its day cells: following days
// and weekend moves included, excluded and weekend days left out where the line says so,
// no reminders (warnings, nags) and nothing for notes. The window's lead-in starts on the
// first of from's month, where a count without a start date begins. At most `limit` days.
std::vector<LineDay> LineDays(const ApptInfo &info, const LineDates &dates, const TDate &from,
                              std::int64_t last, std::size_t limit);

} // namespace dvw
