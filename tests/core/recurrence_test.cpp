// The dates a rule gives, checked day by day against std::chrono's calendar.
#include "core/linereader.h"
#include "core/recurrence.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

using namespace dvw;
using namespace std::chrono;

namespace {

constexpr int unixEpochDayNumber = 2440588; // 1 January 1970

std::int64_t toDayNumber(sys_days d)
{
    return d.time_since_epoch().count() + unixEpochDayNumber;
}

unsigned dayOf(sys_days d)
{
    return static_cast<unsigned>(year_month_day {d}.day());
}

unsigned monthOf(sys_days d)
{
    return static_cast<unsigned>(year_month_day {d}.month());
}

int yearOf(sys_days d)
{
    return static_cast<int>(year_month_day {d}.year());
}

bool isLastOfMonth(sys_days d)
{
    return monthOf(d + days {1}) != monthOf(d);
}

long monthIndexOf(sys_days d)
{
    return static_cast<long>(yearOf(d)) * 12 + static_cast<long>(monthOf(d)) - 1;
}

std::string text(int month, int day, int year = -1)
{
    return std::to_string(month) + "/" + std::to_string(day)
        + (year < 0 ? "" : "/" + std::to_string(year));
}

const char *const weekdayNames[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
const char *const monthNames[]
    = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// A line of one rule kind, and what its rule says of a single day, worked out with
// std::chrono from the numbers the line was made of.
struct RandomRule
{
    std::string line;
    std::function<bool(sys_days day, sys_days countFrom)> gives;
};

sys_days near(sys_days around, int spread)
{
    return around + days {*rc::gen::inRange(-spread, spread + 1)};
}

// The day of month a date code names: 1..31, or 32 for the last day.
bool dayMatches(sys_days d, int day)
{
    return day == 32 ? isLastOfMonth(d) : static_cast<int>(dayOf(d)) == day;
}

RandomRule randomRule(sys_days around)
{
    const sys_days date = near(around, 800);
    const int month = static_cast<int>(monthOf(date));
    const int year = yearOf(date);
    const int day = *rc::gen::inRange(1, 33);
    const int n = *rc::gen::inRange(0, 8);
    // Every kind as often from the first test on: an unsized pick.
    switch (*rc::gen::resize(rc::kNominalSize, rc::gen::inRange(0, 9))) {
    case 0: // a single date, which may not exist (4/31)
        return {text(month, day, year) + " single", [=](sys_days d, sys_days) {
                    return yearOf(d) == year && dayMatches(d, day) && day < 32
                        && monthOf(d) == static_cast<unsigned>(month);
                }};
    case 1: // an anniversary, in year 0, where 29 February exists
        return {text(month, day) + " yearly", [=](sys_days d, sys_days) {
                    return monthOf(d) == static_cast<unsigned>(month) && dayMatches(d, day);
                }};
    case 2: // every month, or every month of one year
        if (*rc::gen::arbitrary<bool>())
            return {"?/" + std::to_string(day) + " monthly",
                    [=](sys_days d, sys_days) { return dayMatches(d, day); }};
        return {"?/" + std::to_string(day) + "/" + std::to_string(year) + " in year",
                [=](sys_days d, sys_days) { return yearOf(d) == year && dayMatches(d, day); }};
    case 3: { // every n days, from a start date or from countFrom
        const bool started = *rc::gen::arbitrary<bool>();
        const sys_days start = near(around, 400);
        return {(started ? "\\S"
                         + text(static_cast<int>(monthOf(start)), static_cast<int>(dayOf(start)),
                                yearOf(start))
                         + " "
                         : std::string())
                    + "!" + std::to_string(n) + "D days",
                [=](sys_days d, sys_days countFrom) {
                    const sys_days origin = started ? start : countFrom;
                    return n > 0 && d >= origin && (d - origin).count() % n == 0;
                }};
    }
    case 4: { // every n weeks from a start date
        const sys_days start = near(around, 400);
        return {"\\S"
                    + text(static_cast<int>(monthOf(start)), static_cast<int>(dayOf(start)),
                           yearOf(start))
                    + " !" + std::to_string(n) + "W weeks",
                [=](sys_days d, sys_days) {
                    return n > 0 && d >= start && (d - start).count() % (7 * n) == 0;
                }};
    }
    case 5: { // every n months from a start date, or from one in year 0 (March on)
        const bool yearless = *rc::gen::arbitrary<bool>();
        const sys_days start = yearless
            ? sys_days {std::chrono::year {0}
                        / std::chrono::month {static_cast<unsigned>(*rc::gen::inRange(3, 13))}
                        / std::chrono::day {static_cast<unsigned>(*rc::gen::inRange(1, 29))}}
            : near(around, 400);
        const int startYear = yearOf(start);
        return {"\\S"
                    + text(static_cast<int>(monthOf(start)), static_cast<int>(dayOf(start)),
                           yearless ? -1 : startYear)
                    + " !" + std::to_string(n) + "M months",
                [=](sys_days d, sys_days) {
                    const long steps = monthIndexOf(d) - monthIndexOf(start);
                    return n > 0 && d >= start && steps % n == 0 && dayOf(d) == dayOf(start);
                }};
    }
    case 6: { // a list of weekdays
        std::array<bool, 7> chosen {};
        std::string list;
        for (int i = *rc::gen::inRange(1, 4); i > 0; --i) {
            const int w = *rc::gen::inRange(0, 7);
            chosen[static_cast<std::size_t>(w)] = true;
            list += (list.empty() ? "" : ",") + std::string(weekdayNames[w]);
        }
        return {"!" + list + " weekly",
                [=](sys_days d, sys_days) { return chosen[weekday {d}.c_encoding()]; }};
    }
    case 7: { // the nth weekday of every month or of one month, moved by an offset
        const int fixed = *rc::gen::inRange(0, 13);
        const int ordinal = *rc::gen::inRange(1, 7);
        const int w = *rc::gen::inRange(0, 7);
        const int offset = *rc::gen::inRange(-40, 41);
        const bool started = *rc::gen::arbitrary<bool>();
        const sys_days start = near(around, 400);
        std::string line = started ? "\\S"
                + text(static_cast<int>(monthOf(start)), static_cast<int>(dayOf(start)),
                       yearOf(start))
                + " "
                                   : std::string();
        line += "!" + std::string(fixed ? monthNames[fixed - 1] : "?") + std::to_string(ordinal)
            + weekdayNames[w] + (offset < 0 ? "<" : ">") + std::to_string(std::abs(offset))
            + " nth";
        return {
            line, [=](sys_days d, sys_days countFrom) {
                if (started && d < start)
                    return false;
                const sys_days x = d - days {offset};
                const year_month ym {year_month_day {x}.year(), year_month_day {x}.month()};
                if (fixed && monthOf(x) != static_cast<unsigned>(fixed))
                    return false;
                // The nth such weekday, or the last one when the month has no nth.
                const year_month_weekday nth {ym.year(), ym.month(),
                                              weekday {static_cast<unsigned>(
                                                  w)}[static_cast<unsigned>(std::min(ordinal, 5))]};
                const sys_days wanted = ordinal <= 5 && nth.ok()
                    ? sys_days {nth}
                    : sys_days {year_month_weekday_last {
                        ym.year(), ym.month(), weekday_last {weekday {static_cast<unsigned>(w)}}}};
                if (x != wanted)
                    return false;
                // The series starts in the month (or the year) of its origin; a monthly
                // one with a positive offset that many months earlier.
                const sys_days origin = started ? start : countFrom;
                long first = fixed ? static_cast<long>(yearOf(origin)) * 12 + fixed - 1
                                   : monthIndexOf(origin);
                if (!fixed && offset > 0)
                    first -= offset / 28 + 1;
                return monthIndexOf(x) >= first;
            }};
    }
    default: { // a birthday: the birth date's month and day every year
        const sys_days birth = near(around, 20000);
        const int bm = static_cast<int>(monthOf(birth));
        const int bd = static_cast<int>(dayOf(birth));
        return {"\\B" + text(bm, bd, yearOf(birth)) + " birthday", [=](sys_days d, sys_days) {
                    return static_cast<int>(monthOf(d)) == bm && static_cast<int>(dayOf(d)) == bd;
                }};
    }
    }
}

std::vector<std::int64_t> ruleDates(const std::string &line, DayRange range, std::int64_t countFrom)
{
    SimpleReadContext doc;
    TimeString appt(line);
    ApptInfo info;
    ReadAppt(info, doc, appt);
    std::vector<std::int64_t> dates;
    forEachRuleDate(RecurrenceRule::of(info), range, countFrom,
                    [&](TDate date) { dates.push_back(date.dayNumber); });
    return dates;
}

} // namespace

RC_GTEST_PROP(RecurrenceRules, GiveTheDaysTheirRuleNamesAscendingInsideTheRange, ())
{
    const sys_days lo = sys_days {year {2000} / January / 1} + days {*rc::gen::inRange(0, 20000)};
    const sys_days hi = lo + days {*rc::gen::inRange(-3, 1200)};
    const sys_days countFrom = near(lo, 60);
    RandomRule rule = randomRule(lo);
    // An end date narrows the range like a start date does.
    const bool ended = *rc::gen::arbitrary<bool>();
    const sys_days end = near(hi, 300);
    if (ended)
        rule.line = "\\E"
            + text(static_cast<int>(monthOf(end)), static_cast<int>(dayOf(end)), yearOf(end)) + " "
            + rule.line;
    RC_TAG(rule.line.substr(rule.line.rfind(' ') + 1));

    const auto dates
        = ruleDates(rule.line, {toDayNumber(lo), toDayNumber(hi)}, toDayNumber(countFrom));
    std::vector<std::int64_t> expected;
    for (sys_days d = lo; d <= hi && (!ended || d <= end); d += days {1}) {
        if (rule.gives(d, countFrom))
            expected.push_back(toDayNumber(d));
    }
    RC_ASSERT(dates == expected);
}

TEST(RecurrenceRules, LastDaySeriesCarryTheLastDayMark)
{
    SimpleReadContext doc;
    const std::vector<std::string> lines = {"?/32 monthly", "?/32/2024 in year"};
    for (const std::string &line : lines) {
        TimeString appt(line);
        ApptInfo info;
        ReadAppt(info, doc, appt);
        std::vector<TDate> dates;
        forEachRuleDate(RecurrenceRule::of(info),
                        {TDate(1, 1, 2024).dayNumber, TDate(31, 3, 2024).dayNumber}, 0,
                        [&](TDate date) { dates.push_back(date); });
        ASSERT_EQ(dates.size(), 3u) << line;
        EXPECT_EQ(dates[1], TDate(29, 2, 2024)) << line;
        for (const TDate &date : dates)
            EXPECT_TRUE(date.hasFlag(TDate::LastDay)) << line;
    }
}

TEST(RecurrenceRules, RangesOutsideTheComputedYearsGiveNothing)
{
    const std::vector<std::string> lines
        = {"!1D daily", "!MON weekly", "?/5 monthly", "3/5 yearly"};
    for (const std::string &line : lines) {
        EXPECT_TRUE(ruleDates(line, {0, firstRuleDay - 1}, 0).empty()) << line;
        EXPECT_TRUE(ruleDates(line, {lastRuleDay + 1, lastRuleDay + 400}, lastRuleDay + 1).empty())
            << line;
        // The last computed days still give dates.
        EXPECT_FALSE(
            ruleDates(line, {lastRuleDay - 400, lastRuleDay + 400}, lastRuleDay - 400).empty())
            << line;
    }
}
