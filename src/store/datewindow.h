#pragma once

#include "core/tdate.h"

#include <algorithm>

namespace dvw {

// The run of days the user views: from the start date for `days` days (1..365), plus the
// lead-in from the first of the start month. Within 365 days every (month, day) pair
// names exactly one window date, which is what lets day cells be keyed by month and day.
struct DateWindow
{
    static constexpr int maxDays = 365;

    TDate today;
    TDate start;
    TDate end; // start + days - 1
    TDate leadInStart; // the first day of the start date's month
    int days = 1;

    static DateWindow make(const TDate &today, const TDate &start, int days)
    {
        DateWindow w;
        w.today = today;
        w.start = start;
        w.days = std::clamp(days, 1, maxDays);
        w.end = TDate::fromDayNumber(start.dayNumber + static_cast<std::uint32_t>(w.days - 1));
        w.leadInStart = TDate(1, start.Month(), start.Year());
        return w;
    }
};

} // namespace dvw
