#include "recurrence.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace dvw {

namespace {

// Day numbers are widened to signed 64 bits, so that adding counts, offsets and intervals
// read from a line can never wrap or overflow.
using Day = std::int64_t;

constexpr std::int64_t firstYear = 1;
constexpr std::int64_t lastYear = 99999;

// Day numbers whose calendar date TDate splits exactly.
constexpr Day splittableLo = 1721120; // 1 March of year 0
constexpr Day splittableHi = 1000000000;

Day dayOf(std::uint32_t month, std::uint32_t day, std::int64_t year)
{
    if (year < firstYear || year > lastYear)
        return 0;
    return DayNumber(month, day, static_cast<std::uint32_t>(year));
}

// Days in a month of a real year (1..99999), without day-number arithmetic.
std::uint32_t monthLength(std::uint32_t month, std::int64_t year)
{
    static constexpr std::uint32_t lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : lengths[month - 1];
}

struct Civil
{
    std::int64_t year;
    std::uint32_t month; // [1, 12]
    std::uint32_t day; // [1, 31]
};

Civil civilOf(Day day)
{
    assert(isSplittableDay(day));
    std::uint32_t m, d, y;
    TDate::fromDayNumber(static_cast<std::uint32_t>(day)).SplitDate(m, d, y);
    return {y, m, d};
}

// 0 = Sunday ... 6 = Saturday. Precondition: day >= 0.
int weekdayOf(Day day)
{
    return static_cast<int>((day + 1) % 7);
}

// Months counted from January of year 0: [0, 12 * 100000).
std::int64_t monthIndex(std::int64_t year, std::uint32_t month)
{
    return year * 12 + month - 1;
}

std::int64_t monthIndexOf(Day day)
{
    const Civil c = civilOf(day);
    return monthIndex(c.year, c.month);
}

std::int64_t yearOfIndex(std::int64_t mi)
{
    return mi >= 0 ? mi / 12 : -((-mi + 11) / 12);
}

std::uint32_t monthOfIndex(std::int64_t mi)
{
    return static_cast<std::uint32_t>(mi - yearOfIndex(mi) * 12 + 1);
}

// The smallest value >= from that lies a whole number of steps after origin (step > 0).
std::int64_t alignUp(std::int64_t origin, std::int64_t from, std::int64_t step)
{
    if (origin >= from)
        return origin;
    return origin + (from - origin + step - 1) / step * step;
}

TDate dateOf(Day day, std::uint32_t flags = 0)
{
    return TDate::fromDayNumber(static_cast<std::uint32_t>(day), flags);
}

// The month and day in every year of the range. A 29 February exists in leap years only;
// a last-day date takes each year's last day of its month.
template<typename Sink>
void yearlyDates(const TDate &main, DayRange range, Sink &sink)
{
    const Civil date = civilOf(main.dayNumber);
    const bool lastDayOfMonth = main.hasFlag(TDate::LastDay);
    const std::int64_t toYear = civilOf(range.hi).year;
    for (std::int64_t year = civilOf(range.lo).year; year <= toYear; ++year) {
        const std::uint32_t day = lastDayOfMonth ? monthLength(date.month, year) : date.day;
        const Day d = dayOf(date.month, day, year);
        if (d != 0 && d >= range.lo && d <= range.hi)
            sink(dateOf(d));
    }
}

// Every step days from origin.
template<typename Sink>
void everyNDates(Day origin, Day step, DayRange range, Sink &sink)
{
    for (Day d = alignUp(origin, range.lo, step); d <= range.hi; d += step) // range / step rounds
        sink(dateOf(d));
}

// The chosen weekdays, week by week.
template<typename Sink>
void weeklyDates(const std::array<bool, 7> &weekdays, DayRange range, Sink &sink)
{
    std::array<int, 7> offsets {}; // the chosen days as days after range.lo, ascending
    int count = 0;
    const int first = weekdayOf(range.lo);
    for (int k = 0; k < 7; ++k) {
        if (weekdays[static_cast<std::size_t>((first + k) % 7)])
            offsets[static_cast<std::size_t>(count++)] = k;
    }
    for (Day week = range.lo; count > 0 && week <= range.hi; week += 7) { // range / 7 rounds
        for (int i = 0; i < count; ++i) {
            const Day d = week + offsets[static_cast<std::size_t>(i)];
            if (d > range.hi)
                return;
            sink(dateOf(d));
        }
    }
}

// The given day (or the last day) of every step-th month from month index firstMonth to
// lastMonth; months without that day are passed over.
template<typename Sink>
void monthSeriesDates(std::int64_t firstMonth, std::int64_t lastMonth, std::int64_t step,
                      std::uint32_t day, bool lastDayOfMonth, DayRange range, Sink &sink)
{
    const std::uint32_t flags = lastDayOfMonth ? static_cast<std::uint32_t>(TDate::LastDay) : 0u;
    for (std::int64_t mi = firstMonth; mi <= lastMonth; mi += step) {
        const std::int64_t year = yearOfIndex(mi);
        const std::uint32_t month = monthOfIndex(mi);
        const Day first = dayOf(month, 1, year);
        // The bound: once a month starts after the range, nothing later can be in it.
        if (first == 0 || first > range.hi)
            return;
        const std::uint32_t length = monthLength(month, year);
        const std::uint32_t d = lastDayOfMonth ? length : day;
        if (d < 1 || d > length)
            continue;
        const Day date = first + d - 1;
        if (date > range.hi)
            return;
        if (date >= range.lo)
            sink(dateOf(date, flags));
    }
}

// The nth weekday of each month (or of one month each year), moved by the offset. The
// series starts in the month (year) of origin; a positive offset of a monthly series can
// carry dates of earlier months forward, so it starts that many months earlier.
template<typename Sink>
void nthWeekdayDates(const RecurrenceRule &rule, Day origin, DayRange range, Sink &sink)
{
    if (rule.n < 1 || rule.weekday < 0 || rule.weekday > 6)
        return;
    const bool fixedMonth = rule.month >= 1 && rule.month <= 12;
    const std::int64_t step = fixedMonth ? 12 : 1;
    const Civil from = civilOf(std::max<Day>(origin, firstRuleDay));
    std::int64_t mi
        = monthIndex(from.year, fixedMonth ? static_cast<std::uint32_t>(rule.month) : from.month);
    if (!fixedMonth && rule.offset > 0)
        mi -= rule.offset / 28 + 1;
    // Skip months whose date cannot reach the range: a date is at most 30 days after the
    // first of its month, plus the offset. Months before year 1 are not computed.
    const Day needFirst = range.lo - rule.offset - 30;
    if (needFirst > lastRuleDay)
        return;
    std::int64_t need = monthIndex(firstYear, 1);
    if (needFirst >= firstRuleDay)
        need = std::max(need, monthIndexOf(needFirst));
    mi = alignUp(mi, need, step);
    for (;; mi += step) { // dates grow by at least 22 days a round, so this ends past range.hi
        const std::int64_t year = yearOfIndex(mi);
        const std::uint32_t month = monthOfIndex(mi);
        const Day first = dayOf(month, 1, year);
        if (first == 0)
            return;
        const auto length = static_cast<std::int64_t>(monthLength(month, year));
        std::int64_t k = (rule.weekday - weekdayOf(first) + 7) % 7 + 7 * (Day(rule.n) - 1);
        if (k >= length) // the fifth and later ordinals mean the last such weekday
            k -= 7 * ((k - length) / 7 + 1);
        const Day date = first + k + rule.offset;
        if (date > range.hi)
            return;
        if (date >= range.lo)
            sink(dateOf(date));
    }
}

} // namespace

bool isSplittableDay(std::int64_t day)
{
    return day >= splittableLo && day <= splittableHi;
}

RecurrenceRule RecurrenceRule::of(const ApptInfo &info)
{
    RecurrenceRule rule;
    rule.mainDate = info.mainDate;
    rule.startDate = info.startDate;
    rule.endDate = info.endDate;
    rule.kind = info.kind;
    rule.n = info.n;
    rule.month = info.month;
    rule.weekday = info.weekday;
    rule.offset = info.offset;
    rule.weekdays = info.weekdays;
    rule.hasStart = info.hasStart;
    rule.hasEnd = info.hasEnd;
    return rule;
}

namespace {

template<typename Sink>
void ruleDates(const RecurrenceRule &rule, DayRange range, std::int64_t countFrom, Sink &sink)
{
    // An impossible start date (day number 0) does not narrow the range; an impossible
    // end date empties it.
    if (rule.hasStart)
        range.lo = std::max<Day>(range.lo, rule.startDate.dayNumber);
    if (rule.hasEnd)
        range.hi = std::min<Day>(range.hi, rule.endDate.dayNumber);
    range.lo = std::max(range.lo, firstRuleDay);
    range.hi = std::min(range.hi, lastRuleDay);
    if (range.lo > range.hi)
        return;
    const TDate &main = rule.mainDate;
    // A main date the calendar does not have (2/30, ?/0) has day number 0: nothing; nor
    // has one whose year lies beyond what TDate splits.
    if (main.dayNumber != 0 && !isSplittableDay(main.dayNumber))
        return;
    const bool hasMain = main.dayNumber != 0;
    switch (rule.kind) {
    case Single:
    case SingleShowFollowing:
        if (hasMain && Day(main.dayNumber) >= range.lo && Day(main.dayNumber) <= range.hi)
            sink(main);
        break;
    case Anniversary:
    case Birthday:
        if (hasMain)
            yearlyDates(main, range, sink);
        break;
    case EveryNDays: {
        // Days are counted from the start date; one the calendar does not have (2/30)
        // gives no phase, as for weeks and months.
        if (rule.n > 0 && (!rule.hasStart || rule.startDate.dayNumber != 0))
            everyNDates(rule.hasStart ? Day(rule.startDate.dayNumber) : countFrom, rule.n, range,
                        sink);
        break;
    }
    case EveryNWeeks:
        // Weeks are counted from the start date; without one there is no phase.
        if (rule.n > 0 && rule.hasStart && rule.startDate.dayNumber != 0)
            everyNDates(rule.startDate.dayNumber, Day(rule.n) * 7, range, sink);
        break;
    case MonthlyInYear: {
        // The given day of the months of its own year only.
        if (!hasMain)
            break;
        const Civil date = civilOf(main.dayNumber);
        const Civil from = civilOf(range.lo);
        if (from.year > date.year)
            break;
        const std::int64_t first
            = from.year < date.year ? monthIndex(date.year, 1) : monthIndex(date.year, from.month);
        monthSeriesDates(first, monthIndex(date.year, 12), 1, date.day,
                         main.hasFlag(TDate::LastDay), range, sink);
        break;
    }
    case Monthly:
        if (hasMain)
            monthSeriesDates(monthIndexOf(range.lo), monthIndexOf(range.hi), 1,
                             civilOf(main.dayNumber).day, main.hasFlag(TDate::LastDay), range,
                             sink);
        break;
    case EveryNMonths: {
        // Months are counted from the start date's month, in year 0 for a start date
        // written without a year.
        if (rule.n <= 0 || !rule.hasStart || !isSplittableDay(rule.startDate.dayNumber))
            break;
        const Civil start = civilOf(rule.startDate.dayNumber);
        const std::int64_t first
            = alignUp(monthIndex(start.year, start.month), monthIndexOf(range.lo), rule.n);
        monthSeriesDates(first, monthIndexOf(range.hi), rule.n, start.day,
                         main.hasFlag(TDate::LastDay), range, sink);
        break;
    }
    case WeeklyOnDays:
        weeklyDates(rule.weekdays, range, sink);
        break;
    case NthWeekdayOfMonth:
        nthWeekdayDates(rule, rule.hasStart ? Day(rule.startDate.dayNumber) : countFrom, range,
                        sink);
        break;
    default:
        break; // notes, category definitions and unscheduled lines give no dates
    }
}

// Collects the dates in a vector: one store per date instead of a call.
struct AppendTo
{
    std::vector<TDate> &dates;
    void operator()(TDate date) { dates.push_back(date); }
};

} // namespace

void forEachRuleDate(const RecurrenceRule &rule, DayRange range, std::int64_t countFrom,
                     DateSink sink)
{
    ruleDates(rule, range, countFrom, sink);
}

void appendRuleDates(const RecurrenceRule &rule, DayRange range, std::int64_t countFrom,
                     std::vector<TDate> &dates)
{
    AppendTo sink {dates};
    ruleDates(rule, range, countFrom, sink);
}

} // namespace dvw
