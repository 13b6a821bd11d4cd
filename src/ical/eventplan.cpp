#include "eventplan.h"

#include "core/recurrence.h"
#include "store/linedays.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace dvw {

namespace {

using Day = std::int64_t;

// 1 January of year 1 and 31 December of year 9999.
constexpr Day firstCalendarDay = 1721426;
constexpr Day lastCalendarDay = 5373484;

// A time the clock can show: four-digit times read up to 24:99 are held to 23:59.
int timeOf(const ApptInfo &info)
{
    return info.time < 0 ? -1 : std::min(info.time, 1439);
}

bool plainDate(const TDate &date)
{
    return date.flags == 0 && isCalendarDay(date.dayNumber);
}

std::vector<Day> dayNumbers(const std::vector<LineDay> &days)
{
    std::vector<Day> numbers;
    numbers.reserve(days.size());
    for (const LineDay &d : days)
        numbers.push_back(d.date.dayNumber);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

// The first date the rule gives on or after `from`, looked for in ever longer stretches
// so that a dense rule costs little and a rule without dates still ends (lastRuleDay).
std::optional<Day> firstRuleDate(const RecurrenceRule &rule, Day from, Day countFrom)
{
    Day stretch = 400;
    for (Day lo = from; lo <= lastRuleDay; lo += stretch + 1, stretch *= 8) {
        std::optional<Day> found;
        forEachRuleDate(rule, {lo, std::min(lastRuleDay, lo + stretch)}, countFrom,
                        [&found](TDate date) {
                            if (!found)
                                found = date.dayNumber;
                        });
        if (found)
            return found;
    }
    return std::nullopt;
}

EventPlan nowhere(const ApptInfo &info, const ExportWindow &window)
{
    EventPlan plan;
    plan.form = EventPlan::Form::Nowhere;
    plan.time = timeOf(info);
    plan.first = plainDate(info.mainDate) ? Day(info.mainDate.dayNumber) : window.first;
    plan.leftOut = {plan.first};
    return plan;
}

// The days in ascending order as one event: a run of all-day days as one span, else the
// first day and the others one by one.
EventPlan fromDays(const std::vector<Day> &days, EventPlan::Form form, const ApptInfo &info,
                   const ExportWindow &window)
{
    if (days.empty())
        return nowhere(info, window);
    EventPlan plan;
    plan.form = form;
    plan.time = timeOf(info);
    plan.first = days.front();
    if (plan.time < 0 && days.back() - days.front() + 1 == static_cast<Day>(days.size()))
        plan.spanDays = static_cast<int>(days.size());
    else
        plan.moreDays.assign(days.begin() + 1, days.end());
    return plan;
}

EventPlan listedPlan(const ApptInfo &info, const LineDates &dates, const ExportWindow &window)
{
    const std::vector<LineDay> days
        = LineDays(info, dates, TDate::fromDayNumber(static_cast<std::uint32_t>(window.first)),
                   window.last, std::numeric_limits<std::size_t>::max());
    return fromDays(dayNumbers(days), EventPlan::Form::Listed, info, window);
}

// One date with its following days, everywhere: a span when nothing breaks it (weekend
// moves, weekdays only, excluded days, a start or end date that may leave the date out),
// else the days worked out one by one.
EventPlan singlePlan(const ApptInfo &info, const LineDates &dates, const ExportWindow &window)
{
    const Day main = info.mainDate.dayNumber;
    if (main == 0 || !isSplittableDay(main) || info.showFollowing < 0)
        return nowhere(info, window);
    const Day following = info.showFollowing;
    const bool broken = info.observed || info.weekdaysOnly || !dates.excluded.empty()
        || info.hasStart || info.hasEnd;
    if (!broken && isCalendarDay(main) && isCalendarDay(main + following + 1)) {
        EventPlan plan;
        plan.time = timeOf(info);
        plan.first = main;
        if (plan.time < 0) {
            plan.spanDays = static_cast<int>(following + 1);
        } else if (following > 0) {
            CalendarRule daily;
            daily.count = static_cast<int>(following + 1);
            plan.rule = daily;
        }
        return plan;
    }
    if (following > maxWorkedSpan || !isCalendarDay(main - 1)
        || !isCalendarDay(main + following + 1))
        return listedPlan(info, dates, window);
    const std::vector<LineDay> days
        = LineDays(info, dates, TDate::fromDayNumber(static_cast<std::uint32_t>(main - 1)),
                   main + following + 1, std::numeric_limits<std::size_t>::max());
    return fromDays(dayNumbers(days), EventPlan::Form::Exact, info, window);
}

// The rule as an RRULE from its first date on or after the window's reach: what shows
// before the window's first day cannot reach into it, and a day count without a start
// date begins where the window's does.
std::optional<EventPlan> rulePlan(const ApptInfo &info, const LineDates &dates,
                                  const ExportWindow &window)
{
    if (info.observed || info.weekdaysOnly || info.nag || info.warnDays != 0
        || info.showFollowing < 0 || info.showFollowing > maxWorkedSpan)
        return std::nullopt;
    const Day following = info.showFollowing;
    const bool timed = info.time >= 0;
    if (following > 0 && (timed || !dates.excluded.empty()))
        return std::nullopt;
    if ((info.hasStart && !plainDate(info.startDate)) || (info.hasEnd && !plainDate(info.endDate)))
        return std::nullopt;
    std::optional<CalendarRule> rule = CalendarRuleOf(info);
    if (!rule)
        return std::nullopt;
    if (info.hasEnd)
        rule->until
            = std::min<Day>(rule->until.value_or(info.endDate.dayNumber), info.endDate.dayNumber);
    if (rule->until && *rule->until > lastCalendarDay)
        rule->until.reset(); // the line's end lies beyond the dates iCalendar can name
    Day from = std::max(firstRuleDay, std::min(window.leadIn, window.first - following - 1));
    if (info.hasStart)
        from = std::min<Day>(from, info.startDate.dayNumber);
    const std::optional<Day> first = firstRuleDate(RecurrenceRule::of(info), from, window.leadIn);
    if (!first || !isCalendarDay(*first))
        return std::nullopt;
    EventPlan plan;
    plan.time = timeOf(info);
    plan.first = *first;
    plan.rule = rule;
    plan.spanDays = static_cast<int>(following + 1);
    for (const TDate &date : dates.excluded.dates()) {
        if (isCalendarDay(date.dayNumber)
            && (plan.leftOut.empty() || plan.leftOut.back() != date.dayNumber))
            plan.leftOut.push_back(date.dayNumber);
    }
    return plan;
}

} // namespace

ExportWindow ExportWindow::of(const TDate &first, const TDate &last)
{
    ExportWindow w;
    w.first = first.dayNumber;
    w.last = std::min<Day>(last.dayNumber, lastCalendarDay);
    w.leadIn = TDate(1, first.Month(), first.Year()).dayNumber;
    return w;
}

bool isCalendarDay(std::int64_t day)
{
    return day >= firstCalendarDay && day <= lastCalendarDay;
}

std::string IsoDay(std::int64_t day)
{
    std::uint32_t month, dayOfMonth, year;
    TDate::fromDayNumber(static_cast<std::uint32_t>(day)).SplitDate(month, dayOfMonth, year);
    char text[16];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", year, month, dayOfMonth);
    return text;
}

EventPlan PlanEvent(const ApptInfo &info, const LineDates &dates, const ExportWindow &window,
                    bool listed)
{
    if (info.kind == Single || info.kind == SingleShowFollowing)
        return singlePlan(info, dates, window);
    if (!listed) {
        if (std::optional<EventPlan> plan = rulePlan(info, dates, window))
            return *plan;
    }
    return listedPlan(info, dates, window);
}

} // namespace dvw
