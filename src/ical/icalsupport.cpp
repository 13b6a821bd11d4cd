#include "icalsupport.h"

#include "core/tdate.h"

#include <cstdlib>

namespace dvw {

namespace {

constexpr short arrayEnd = ICAL_RECURRENCE_ARRAY_MAX;

bool hasValues(const short *values)
{
    return values[0] != arrayEnd;
}

// The number of values before the array's end mark (at most `size`).
int valueCount(const short *values, int size)
{
    int n = 0;
    while (n < size && values[n] != arrayEnd)
        ++n;
    return n;
}

icalrecurrencetype_frequency icalFrequencyOf(CalendarRule::Frequency f)
{
    switch (f) {
    case CalendarRule::Frequency::Daily:
        return ICAL_DAILY_RECURRENCE;
    case CalendarRule::Frequency::Weekly:
        return ICAL_WEEKLY_RECURRENCE;
    case CalendarRule::Frequency::Monthly:
        return ICAL_MONTHLY_RECURRENCE;
    case CalendarRule::Frequency::Yearly:
        return ICAL_YEARLY_RECURRENCE;
    }
    return ICAL_NO_RECURRENCE;
}

std::optional<CalendarRule::Frequency> frequencyOf(icalrecurrencetype_frequency f)
{
    switch (f) {
    case ICAL_DAILY_RECURRENCE:
        return CalendarRule::Frequency::Daily;
    case ICAL_WEEKLY_RECURRENCE:
        return CalendarRule::Frequency::Weekly;
    case ICAL_MONTHLY_RECURRENCE:
        return CalendarRule::Frequency::Monthly;
    case ICAL_YEARLY_RECURRENCE:
        return CalendarRule::Frequency::Yearly;
    default:
        return std::nullopt;
    }
}

bool usableOrdinal(int position)
{
    return position == -1 || (position >= 1 && position <= 4);
}

// BYDAY, with BYSETPOS standing for the ordinal of a single weekday.
bool readWeekdays(const icalrecurrencetype &r, CalendarRule &rule)
{
    const int days = valueCount(r.by_day, ICAL_BY_DAY_SIZE);
    const int positions = valueCount(r.by_set_pos, ICAL_BY_SETPOS_SIZE);
    if (positions > 1 || (positions == 1 && days != 1))
        return false;
    for (int i = 0; i < days; ++i) {
        const int weekday = static_cast<int>(icalrecurrencetype_day_day_of_week(r.by_day[i])) - 1;
        const int position
            = positions == 1 ? r.by_set_pos[0] : icalrecurrencetype_day_position(r.by_day[i]);
        if (weekday < 0 || weekday > 6)
            return false;
        if (position == 0) {
            rule.weekdays[static_cast<std::size_t>(weekday)] = true;
        } else {
            if (days != 1 || !usableOrdinal(position)
                || (positions == 1 && icalrecurrencetype_day_position(r.by_day[i]) != 0))
                return false;
            rule.weekday = weekday;
            rule.ordinal = position;
        }
    }
    return true;
}

} // namespace

void quietIcalErrors()
{
    icalerror_set_errors_are_fatal(0);
}

std::string takeIcalString(char *text)
{
    if (text == nullptr)
        return {};
    std::string result(text);
    icalmemory_free_buffer(text);
    return result;
}

icaltimetype icalDate(std::int64_t day)
{
    std::uint32_t month, dayOfMonth, year;
    TDate::fromDayNumber(static_cast<std::uint32_t>(day)).SplitDate(month, dayOfMonth, year);
    icaltimetype t = icaltime_null_date();
    t.year = static_cast<int>(year);
    t.month = static_cast<int>(month);
    t.day = static_cast<int>(dayOfMonth);
    return t;
}

icaltimetype icalDateTime(std::int64_t day, int minutes)
{
    icaltimetype t = icalDate(day);
    t.is_date = 0;
    t.hour = minutes / 60;
    t.minute = minutes % 60;
    t.second = 0;
    return t;
}

std::int64_t dayOfIcalTime(const icaltimetype &time)
{
    if (icaltime_is_null_time(time) || time.year < 1 || time.month < 1 || time.day < 1)
        return 0;
    return DayNumber(static_cast<std::uint32_t>(time.month), static_cast<std::uint32_t>(time.day),
                     static_cast<std::uint32_t>(time.year));
}

short icalWeekday(int weekday, int position)
{
    const int value = weekday + 1 + 8 * std::abs(position); // libical's encoding, Sunday 1
    return static_cast<short>(position < 0 ? -value : value);
}

icalrecurrencetype icalRecurrenceOf(const CalendarRule &rule, bool timed)
{
    icalrecurrencetype r;
    icalrecurrencetype_clear(&r);
    r.freq = icalFrequencyOf(rule.frequency);
    r.interval = static_cast<short>(rule.interval);
    int n = 0;
    if (rule.weekday >= 0)
        r.by_day[n++] = icalWeekday(rule.weekday, rule.ordinal);
    for (int d = 0; d < 7; ++d) {
        if (rule.weekdays[static_cast<std::size_t>(d)])
            r.by_day[n++] = icalWeekday(d, 0);
    }
    r.by_day[n] = arrayEnd;
    if (rule.month != 0) {
        r.by_month[0] = static_cast<short>(rule.month);
        r.by_month[1] = arrayEnd;
    }
    if (rule.monthDay != 0) {
        r.by_month_day[0] = static_cast<short>(rule.monthDay);
        r.by_month_day[1] = arrayEnd;
    }
    if (rule.until) {
        r.until = timed ? icalDateTime(*rule.until, 23 * 60 + 59) : icalDate(*rule.until);
        if (timed)
            r.until.second = 59;
    }
    r.count = rule.count;
    return r;
}

std::optional<CalendarRule> calendarRuleOf(const icalrecurrencetype &r)
{
    const std::optional<CalendarRule::Frequency> frequency = frequencyOf(r.freq);
    if (!frequency || r.rscale != nullptr || hasValues(r.by_second) || hasValues(r.by_minute)
        || hasValues(r.by_hour) || hasValues(r.by_year_day) || hasValues(r.by_week_no))
        return std::nullopt;
    CalendarRule rule;
    rule.frequency = *frequency;
    rule.interval = r.interval;
    if (rule.interval < 1 || rule.interval > maxInterval || !readWeekdays(r, rule))
        return std::nullopt;
    if (valueCount(r.by_month, ICAL_BY_MONTH_SIZE) > 1
        || valueCount(r.by_month_day, ICAL_BY_MONTHDAY_SIZE) > 1)
        return std::nullopt;
    if (hasValues(r.by_month)) {
        if (icalrecurrencetype_month_is_leap(r.by_month[0]))
            return std::nullopt;
        rule.month = icalrecurrencetype_month_month(r.by_month[0]);
    }
    if (hasValues(r.by_month_day)) {
        rule.monthDay = r.by_month_day[0];
        if (rule.monthDay == 0 || rule.monthDay < -1 || rule.monthDay > 31)
            return std::nullopt;
    }
    return rule;
}

} // namespace dvw
