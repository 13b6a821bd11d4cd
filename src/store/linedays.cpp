#include "linedays.h"

#include "core/recurrence.h"

#include <algorithm>

namespace dvw {

namespace {

using Day = std::int64_t;

int weekdayOf(Day day)
{
    return static_cast<int>(TDate::fromDayNumber(static_cast<std::uint32_t>(day)).WeekDay() % 7);
}

bool doneOn(Day day, bool completed, const LineDates &dates)
{
    if (!dates.done.empty())
        return dates.done.contains(TDate::fromDayNumber(static_cast<std::uint32_t>(day)));
    return completed;
}

// Places one date of the rule and its following days, as the engine's day cells take them.
void place(Day day, std::uint32_t flags, const ApptInfo &info, const LineDates &dates, Day first,
           Day last, std::vector<LineDay> &out)
{
    if ((info.hasStart && Day(info.startDate.dayNumber) > day)
        || (info.hasEnd && Day(info.endDate.dayNumber) < day) || info.showFollowing < 0)
        return;
    const Day end = std::min<Day>(day + info.showFollowing, last + 1);
    for (Day d = std::max(day, first - 1); d <= end; ++d) {
        if (d < first && d == day)
            continue;
        Day at = d;
        if (info.observed) {
            const int weekday = weekdayOf(d);
            at = weekday == 6 ? d - 1 : (weekday == 0 ? d + 1 : d);
        }
        const TDate date = TDate::fromDayNumber(static_cast<std::uint32_t>(at));
        if (dates.excluded.contains(date))
            continue;
        if (info.weekdaysOnly && (weekdayOf(at) == 0 || weekdayOf(at) == 6))
            continue;
        if (at < first || at > last)
            continue;
        out.push_back({TDate::fromDayNumber(date.dayNumber, (d == day && at == d) ? flags : 0),
                       doneOn(at, info.completed, dates)});
    }
}

} // namespace

std::vector<LineDay> LineDays(const ApptInfo &info, const LineDates &dates, const TDate &from,
                              std::int64_t last, std::size_t limit)
{
    std::vector<LineDay> days;
    const Day first = from.dayNumber;
    if (limit == 0 || first == 0 || last < first || info.kind == Note || info.kind == CategoryLine
        || info.kind == Unscheduled)
        return days;
    const TDate &main = info.mainDate;
    if (main.dayNumber != 0 && !isSplittableDay(main.dayNumber))
        return days;
    const Day leadIn = TDate(1, from.Month(), from.Year()).dayNumber;
    // Dates before the first day still reach it through their following days.
    const Day reach = std::max<Day>(0, info.showFollowing) + 1;
    const DayRange range {std::max<Day>(firstRuleDay, std::min(leadIn, first - reach)),
                          std::min<Day>(lastRuleDay, last + 1)};
    std::vector<TDate> ruleDates;
    forEachRuleDate(RecurrenceRule::of(info), range, leadIn,
                    [&](TDate date) { ruleDates.push_back(date); });
    for (const TDate date : ruleDates)
        place(date.dayNumber, date.flags, info, dates, first, last, days);
    std::stable_sort(days.begin(), days.end(),
                     [](const LineDay &a, const LineDay &b) { return a.date < b.date; });
    if (days.size() > limit)
        days.resize(limit);
    return days;
}

} // namespace dvw
