#pragma once

#include "calendarrule.h"
#include "core/apptinfo.h"
#include "core/datelist.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dvw {

// The days an export covers: the window from its first to its last day (day numbers,
// inclusive) and the first of the first day's month, where the window's lead-in starts
// and where a day count without a start date begins.
struct ExportWindow
{
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::int64_t leadIn = 0;

    static ExportWindow of(const TDate &first, const TDate &last);
};

// How a line's days are stated in an iCalendar event: from its first day, as a rule, or
// as a list, or (when it shows on no day) as a first day that is itself left out. Within
// the window the event covers exactly the days the line shows on there.
struct EventPlan
{
    enum class Form {
        Exact, // the rule, or the one date with its following days, holds everywhere
        Listed, // the days of the window one by one: iCalendar cannot state the rule
        Nowhere, // no day to show on: the first day is left out as well
    };

    Form form = Form::Exact;
    std::int64_t first = 0; // the day of DTSTART
    int time = -1; // minutes since midnight; -1 for an all-day event
    int spanDays = 1; // days each all-day occurrence covers
    std::optional<CalendarRule> rule;
    std::vector<std::int64_t> moreDays; // further single days (RDATE), ascending
    std::vector<std::int64_t> leftOut; // days left out of the rule (EXDATE), ascending
};

// Following days are worked out one by one up to this many; a longer span is stated as
// a span only when nothing can break it.
inline constexpr int maxWorkedSpan = 3660;

// The plan of a dated line (kinds 2 to 12). With `listed` every repeating line's days in
// the window are listed; one date with its following days keeps its exact form.
EventPlan PlanEvent(const ApptInfo &info, const LineDates &dates, const ExportWindow &window,
                    bool listed);

// Whether a day lies in the years 1 to 9999 that iCalendar dates can name.
bool isCalendarDay(std::int64_t day);
// A day as YYYY-MM-DD, for messages.
std::string IsoDay(std::int64_t day);

} // namespace dvw
