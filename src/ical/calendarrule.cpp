#include "calendarrule.h"

#include "core/recurrence.h"

#include <algorithm>

namespace dvw {

namespace {

constexpr std::array<bool, 7> mondayToFriday = {false, true, true, true, true, true, false};

bool usableInterval(std::int32_t n)
{
    return n >= 1 && n <= maxInterval;
}

// The main date of a line is one the calendar has and whose month and day can be split.
bool hasMainDate(const ApptInfo &info)
{
    return info.mainDate.dayNumber != 0 && isSplittableDay(info.mainDate.dayNumber);
}

int monthDayOf(const TDate &date)
{
    return date.hasFlag(TDate::LastDay) ? -1 : static_cast<int>(date.DayOfMonth());
}

// 0 = Sunday ... 6 = Saturday.
int weekdayOf(std::int64_t day)
{
    return static_cast<int>(TDate::fromDayNumber(static_cast<std::uint32_t>(day)).WeekDay() % 7);
}

// A year-less date as the reader builds one: January of year 0 for "?", day 32 for the
// last day of the month.
TDate yearlessDate(int monthDay, int month, bool anyMonth)
{
    TDate date(static_cast<std::uint32_t>(monthDay < 0 ? 32 : monthDay),
               static_cast<std::uint32_t>(anyMonth ? 1 : month), 0);
    date.flags |= TDate::NoYear | (anyMonth ? TDate::AnyMonth : 0u);
    return date;
}

std::optional<CalendarRule> nthWeekdayRule(const ApptInfo &info)
{
    if (info.offset != 0 || info.n < 1 || info.weekday < 0 || info.weekday > 6 || info.month < 0
        || info.month > 12)
        return std::nullopt;
    CalendarRule rule;
    rule.frequency
        = info.month == 0 ? CalendarRule::Frequency::Monthly : CalendarRule::Frequency::Yearly;
    rule.month = info.month;
    rule.weekday = info.weekday;
    rule.ordinal = info.n >= 5 ? -1 : info.n; // the fifth and later mean the last
    return rule;
}

std::optional<ApptInfo> dailySchedule(const CalendarRule &rule)
{
    ApptInfo s;
    if (!rule.anyWeekday()) {
        s.kind = EveryNDays;
        s.n = rule.interval;
    } else if (rule.interval == 1) {
        s.kind = WeeklyOnDays;
        s.weekdays = rule.weekdays;
    } else if (rule.weekdays == mondayToFriday) {
        s.kind = EveryNDays;
        s.n = rule.interval;
        s.weekdaysOnly = true;
    } else {
        return std::nullopt;
    }
    return s;
}

std::optional<ApptInfo> weeklySchedule(const CalendarRule &rule, std::int64_t first)
{
    std::array<bool, 7> days = rule.weekdays;
    if (!rule.anyWeekday())
        days[static_cast<std::size_t>(weekdayOf(first))] = true;
    ApptInfo s;
    if (rule.interval == 1) {
        s.kind = WeeklyOnDays;
        s.weekdays = days;
        return s;
    }
    if (std::count(days.begin(), days.end(), true) != 1
        || !days[static_cast<std::size_t>(weekdayOf(first))])
        return std::nullopt;
    s.kind = EveryNWeeks;
    s.n = rule.interval;
    return s;
}

std::optional<ApptInfo> yearlySchedule(const CalendarRule &rule, std::int64_t first)
{
    const TDate date = TDate::fromDayNumber(static_cast<std::uint32_t>(first));
    if (rule.interval != 1 || rule.anyWeekday() || (rule.month == 0 && rule.monthDay != 0))
        return std::nullopt;
    ApptInfo s;
    if (rule.weekday >= 0) {
        if (rule.month == 0 || rule.monthDay != 0)
            return std::nullopt;
        s.kind = NthWeekdayOfMonth;
        s.month = rule.month;
        s.weekday = rule.weekday;
        s.n = rule.ordinal < 0 ? 5 : rule.ordinal;
        return s;
    }
    const int month = rule.month != 0 ? rule.month : static_cast<int>(date.Month());
    const int day = rule.monthDay != 0 ? rule.monthDay : static_cast<int>(date.DayOfMonth());
    s.kind = Anniversary;
    s.mainDate = yearlessDate(day, month, false);
    return s;
}

std::optional<ApptInfo> monthlySchedule(const CalendarRule &rule, std::int64_t first)
{
    const TDate date = TDate::fromDayNumber(static_cast<std::uint32_t>(first));
    if (rule.month != 0)
        return rule.interval == 1 ? yearlySchedule(rule, first) : std::nullopt;
    ApptInfo s;
    if (rule.weekday >= 0 || rule.anyWeekday()) {
        if (rule.monthDay != 0 || rule.interval != 1 || (rule.weekday >= 0 && rule.anyWeekday()))
            return std::nullopt;
        if (rule.anyWeekday()) {
            s.kind = WeeklyOnDays;
            s.weekdays = rule.weekdays;
        } else {
            s.kind = NthWeekdayOfMonth;
            s.weekday = rule.weekday;
            s.n = rule.ordinal < 0 ? 5 : rule.ordinal;
        }
        return s;
    }
    const int day = rule.monthDay != 0 ? rule.monthDay : static_cast<int>(date.DayOfMonth());
    if (rule.interval == 1) {
        s.kind = Monthly;
        s.mainDate = yearlessDate(day, 1, true);
        return s;
    }
    // Every n months counts from the start date and keeps its day.
    if (day != static_cast<int>(date.DayOfMonth()))
        return std::nullopt;
    s.kind = EveryNMonths;
    s.n = rule.interval;
    return s;
}

} // namespace

bool CalendarRule::anyWeekday() const
{
    return std::find(weekdays.begin(), weekdays.end(), true) != weekdays.end();
}

std::optional<CalendarRule> CalendarRuleOf(const ApptInfo &info)
{
    CalendarRule rule;
    switch (info.kind) {
    case MonthlyInYear:
    case Monthly:
        if (!hasMainDate(info))
            return std::nullopt;
        rule.frequency = CalendarRule::Frequency::Monthly;
        rule.monthDay = monthDayOf(info.mainDate);
        if (info.kind == MonthlyInYear) {
            const std::uint32_t year = info.mainDate.Year();
            if (year < 1)
                return std::nullopt;
            rule.until = DayNumber(12, 31, year);
        }
        return rule;
    case Anniversary:
    case Birthday:
        if (!hasMainDate(info))
            return std::nullopt;
        rule.frequency = CalendarRule::Frequency::Yearly;
        rule.month = static_cast<int>(info.mainDate.Month());
        rule.monthDay = monthDayOf(info.mainDate);
        return rule;
    case EveryNDays:
    case EveryNWeeks:
    case EveryNMonths:
        if (!usableInterval(info.n))
            return std::nullopt;
        rule.frequency = info.kind == EveryNDays ? CalendarRule::Frequency::Daily
            : info.kind == EveryNWeeks           ? CalendarRule::Frequency::Weekly
                                                 : CalendarRule::Frequency::Monthly;
        rule.interval = info.n;
        return rule;
    case WeeklyOnDays:
        rule.frequency = CalendarRule::Frequency::Weekly;
        rule.weekdays = info.weekdays;
        if (!rule.anyWeekday())
            return std::nullopt;
        return rule;
    case NthWeekdayOfMonth:
        return nthWeekdayRule(info);
    default:
        return std::nullopt;
    }
}

std::optional<ApptInfo> ScheduleOf(const CalendarRule &rule, std::int64_t first)
{
    if (!usableInterval(rule.interval) || !isSplittableDay(first))
        return std::nullopt;
    if (rule.weekday >= 0
        && (rule.weekday > 6 || rule.ordinal == 0 || rule.ordinal < -1 || rule.ordinal > 4))
        return std::nullopt;
    if (rule.monthDay < -1 || rule.monthDay > 31 || rule.month < 0 || rule.month > 12)
        return std::nullopt;
    switch (rule.frequency) {
    case CalendarRule::Frequency::Daily:
        if (rule.month != 0 || rule.monthDay != 0 || rule.weekday >= 0)
            return std::nullopt;
        return dailySchedule(rule);
    case CalendarRule::Frequency::Weekly:
        if (rule.month != 0 || rule.monthDay != 0 || rule.weekday >= 0)
            return std::nullopt;
        return weeklySchedule(rule, first);
    case CalendarRule::Frequency::Monthly:
        return monthlySchedule(rule, first);
    case CalendarRule::Frequency::Yearly:
        return yearlySchedule(rule, first);
    }
    return std::nullopt;
}

} // namespace dvw
