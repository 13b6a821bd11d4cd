#pragma once

#include "core/apptinfo.h"

#include <array>
#include <cstdint>
#include <optional>

namespace dvw {

// A repeat rule in the terms of an iCalendar RRULE, reduced to the parts that the line
// language can match; free of any calendar library, so both directions are plain code.
struct CalendarRule
{
    enum class Frequency { Daily, Weekly, Monthly, Yearly };

    Frequency frequency = Frequency::Daily;
    int interval = 1; // [1, maxInterval]
    std::array<bool, 7> weekdays {}; // BYDAY without an ordinal, Sunday first
    int weekday = -1; // BYDAY with an ordinal: 0 = Sunday ... 6 = Saturday; -1 none
    int ordinal = 0; // with weekday: 1..4, or -1 for the last of the month
    int month = 0; // BYMONTH 1..12; 0 none
    int monthDay = 0; // BYMONTHDAY 1..31, or -1 for the last day; 0 none
    std::optional<std::int64_t> until; // the last day an occurrence may start on
    int count = 0; // occurrences in all; 0 when the rule does not count them

    bool anyWeekday() const;
    bool operator==(const CalendarRule &) const = default;
};

// The largest interval a calendar rule holds (iCalendar libraries keep it in 16 bits).
inline constexpr int maxInterval = 32767;

// The rule of a repeating line's own dates (not its following days, weekend moves or
// excluded dates), or nullopt when iCalendar cannot state it: a day count shifted from
// an nth weekday, an ordinal the engine reads its own way, an interval beyond
// maxInterval, a line with no dates at all. A one-year monthly line ends with its year.
std::optional<CalendarRule> CalendarRuleOf(const ApptInfo &info);

// The schedule of a line that gives exactly the rule's dates once it is narrowed to the
// rule's first occurrence (the caller sets that as the start date, and the end): kind,
// count, weekdays, month, main date and the weekdays-only mark of the returned record;
// nullopt when the line language cannot say the rule. `first` is the first occurrence,
// whose month and day stand in for what the rule leaves open.
std::optional<ApptInfo> ScheduleOf(const CalendarRule &rule, std::int64_t first);

} // namespace dvw
