// The engine's dates checked against std::chrono's calendar over random windows.
#include "core/linereader.h"
#include "core/recurrence.h"
#include "enginetesthelpers.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <chrono>
#include <set>

using namespace dvw;
using namespace std::chrono;
using dvw::test::EngineHarness;

namespace {

constexpr int unixEpochDayNumber = 2440588; // 1 January 1970

sys_days toSys(std::uint32_t dayNumber)
{
    return sys_days {days {static_cast<int>(dayNumber) - unixEpochDayNumber}};
}

std::uint32_t toDayNumber(sys_days d)
{
    return static_cast<std::uint32_t>(d.time_since_epoch().count() + unixEpochDayNumber);
}

TDate toTDate(sys_days d)
{
    return TDate::fromDayNumber(toDayNumber(d));
}

std::string dateText(sys_days d)
{
    const year_month_day ymd {d};
    return std::to_string(static_cast<unsigned>(ymd.month())) + "/"
        + std::to_string(static_cast<unsigned>(ymd.day())) + "/"
        + std::to_string(static_cast<int>(ymd.year()));
}

const char *const weekdayNames[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
const char *const monthNames[]
    = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// A random window between 1990 and 2090, with today near its start.
struct Window
{
    sys_days start;
    sys_days today;
    int days;
    sys_days leadIn() const
    {
        const year_month_day ymd {start};
        return sys_days {ymd.year() / ymd.month() / 1};
    }
    sys_days end() const { return start + std::chrono::days {days - 1}; }
};

Window randomWindow()
{
    const sys_days base = sys_days {year {1990} / January / 1};
    Window w;
    w.start = base + std::chrono::days {*rc::gen::inRange(0, 36500)};
    w.today = w.start + std::chrono::days {*rc::gen::inRange(-40, 40)};
    w.days = *rc::gen::inRange(1, 366);
    return w;
}

std::set<std::uint32_t> placedOf(const std::vector<std::string> &lines, const Window &w)
{
    EngineHarness h(toTDate(w.today), toTDate(w.start), w.days);
    h.build(lines);
    const auto days = h.placedDays();
    RC_ASSERT(std::set<std::uint32_t>(days.begin(), days.end()).size() == days.size());
    return {days.begin(), days.end()};
}

// The window's days from the lead-in start that satisfy the rule.
template<typename Rule>
std::set<std::uint32_t> expectedDays(const Window &w, Rule rule)
{
    std::set<std::uint32_t> days;
    for (sys_days d = w.leadIn(); d <= w.end(); d += std::chrono::days {1}) {
        if (rule(d))
            days.insert(toDayNumber(d));
    }
    return days;
}

} // namespace

RC_GTEST_PROP(OccurrenceProperties, EveryNDaysFallExactlyNApartFromTheOrigin, ())
{
    const Window w = randomWindow();
    const int n = *rc::gen::inRange(1, 60);
    const sys_days origin = w.start + std::chrono::days {*rc::gen::inRange(-400, 400)};
    const auto placed = placedOf({"\\S" + dateText(origin) + " !" + std::to_string(n) + "D x"}, w);
    RC_ASSERT(placed == expectedDays(w, [&](sys_days d) {
                  return d >= origin && (d - origin).count() % n == 0;
              }));
}

RC_GTEST_PROP(OccurrenceProperties, EveryNDaysWithoutStartCountFromTheLeadIn, ())
{
    const Window w = randomWindow();
    const int n = *rc::gen::inRange(1, 60);
    const auto placed = placedOf({"!" + std::to_string(n) + "D x"}, w);
    RC_ASSERT(placed
              == expectedDays(w, [&](sys_days d) { return (d - w.leadIn()).count() % n == 0; }));
}

RC_GTEST_PROP(OccurrenceProperties, WeeklyFallsOnlyOnTheListedWeekdays, ())
{
    const Window w = randomWindow();
    const auto chosen = *rc::gen::container<std::vector<bool>>(7, rc::gen::arbitrary<bool>());
    std::string rule;
    for (unsigned i = 0; i < 7; ++i) {
        if (chosen[i])
            rule += (rule.empty() ? "" : ",") + std::string(weekdayNames[i]);
    }
    RC_PRE(!rule.empty());
    const auto placed = placedOf({"!" + rule + " x"}, w);
    RC_ASSERT(placed
              == expectedDays(w, [&](sys_days d) { return chosen[weekday {d}.c_encoding()]; }));
}

RC_GTEST_PROP(OccurrenceProperties, NthWeekdayIsTheRightWeekdayInTheRightWeek, ())
{
    const Window w = randomWindow();
    const unsigned n = *rc::gen::inRange(1u, 6u); // 5 means the last
    const unsigned wd = *rc::gen::inRange(0u, 7u);
    const unsigned fixedMonth = *rc::gen::inRange(0u, 13u); // 0: every month
    const std::string month = fixedMonth == 0 ? "?" : monthNames[fixedMonth - 1];
    const auto placed = placedOf({"!" + month + std::to_string(n) + weekdayNames[wd] + " x"}, w);
    RC_ASSERT(placed == expectedDays(w, [&](sys_days d) {
                  const year_month_day ymd {d};
                  if (fixedMonth != 0 && static_cast<unsigned>(ymd.month()) != fixedMonth)
                      return false;
                  const sys_days nth = n == 5
                      ? sys_days {ymd.year() / ymd.month() / weekday {wd}[last]}
                      : sys_days {ymd.year() / ymd.month() / weekday {wd}[n]};
                  return d == nth;
              }));
}

RC_GTEST_PROP(OccurrenceProperties, MonthlySkipsMonthsWithoutTheDay, ())
{
    const Window w = randomWindow();
    const unsigned day = *rc::gen::inRange(1u, 32u);
    const auto placed = placedOf({"?/" + std::to_string(day) + " x"}, w);
    RC_ASSERT(placed == expectedDays(w, [&](sys_days d) {
                  return static_cast<unsigned>(year_month_day {d}.day()) == day;
              }));
}

RC_GTEST_PROP(OccurrenceProperties, NoInstanceLiesOutsideTheLeadInAndWindow, ())
{
    const Window w = randomWindow();
    const auto near
        = [&] { return dateText(w.start + std::chrono::days {*rc::gen::inRange(-800, 800)}); };
    const auto count = [] { return std::to_string(*rc::gen::inRange(0, 40)); };
    const std::vector<std::string> lines = {
        "\\N\\~" + near() + " +" + count() + " -" + count() + " single",
        "\\W\\S" + near() + " !" + count() + "W +" + count() + " weeks",
        "\\~\\S" + near() + " \\E" + near() + " !" + count() + "M months",
        "\\N?/" + count() + " -" + count() + " monthly",
        "\\B" + near() + " +" + count() + " birthday",
        "!?" + std::to_string(*rc::gen::inRange(0, 7)) + "SAT>" + count() + " offset",
        "!DEC2SUN<" + count() + " back",
        "\\~" + near().substr(0, 5) + " yearly",
    };
    EngineHarness h(toTDate(w.today), toTDate(w.start), w.days);
    h.build(lines);
    const std::uint32_t leadIn = toDayNumber(w.leadIn());
    const std::uint32_t start = toDayNumber(w.start);
    const std::uint32_t end = toDayNumber(w.end());
    for (unsigned d = 1; d <= 31; ++d) {
        for (const Appt &a : h.engine.leadInCell(static_cast<int>(d))) {
            RC_ASSERT(a.date.dayNumber >= leadIn && a.date.dayNumber < start);
            RC_ASSERT(static_cast<unsigned>(year_month_day {toSys(a.date.dayNumber)}.day()) == d);
        }
    }
    for (unsigned m = 1; m <= 12; ++m) {
        for (unsigned d = 1; d <= 31; ++d) {
            for (const Appt &a : h.engine.dayCell(static_cast<int>(m), static_cast<int>(d))) {
                RC_ASSERT(a.date.dayNumber >= start && a.date.dayNumber <= end);
                const year_month_day ymd {toSys(a.date.dayNumber)};
                RC_ASSERT(static_cast<unsigned>(ymd.month()) == m);
                RC_ASSERT(static_cast<unsigned>(ymd.day()) == d);
            }
        }
    }
}

// For a line without reminders, following days or shifts, the lead-in and day cells hold
// exactly the dates its rule gives from the lead-in start to the window's end, counting
// a day count without a start date from the lead-in start.
RC_GTEST_PROP(OccurrenceProperties, CellsHoldTheDatesTheRuleGivesInTheWindow, ())
{
    const Window w = randomWindow();
    const auto near
        = [&] { return dateText(w.start + std::chrono::days {*rc::gen::inRange(-800, 800)}); };
    const auto yearless = [](const std::string &date) { return date.substr(0, date.rfind('/')); };
    const auto count = [] { return std::to_string(*rc::gen::inRange(0, 40)); };
    const std::string day = std::to_string(*rc::gen::inRange(1, 33));
    const std::vector<std::string> rules = {
        near() + " single",
        yearless(near()) + " yearly",
        "\\B" + near() + " birthday",
        "?/" + day + " monthly",
        "?/" + day + "/" + near().substr(near().rfind('/') + 1) + " in year",
        "\\S" + near() + " !" + count() + "D days",
        "!" + count() + "D days from the lead-in",
        "\\S" + near() + " !" + count() + "W weeks",
        "\\S" + near() + " !" + count() + "M months",
        "\\S" + yearless(near()) + " !" + count() + "M months from year 0",
        "!" + std::string(weekdayNames[*rc::gen::inRange(0, 7)]) + ","
            + weekdayNames[*rc::gen::inRange(0, 7)] + " weekly",
        "!?" + std::to_string(*rc::gen::inRange(1, 7)) + weekdayNames[*rc::gen::inRange(0, 7)]
            + (*rc::gen::arbitrary<bool>() ? ">" : "<") + count() + " nth",
        "!" + std::string(monthNames[*rc::gen::inRange(0, 12)]) + "2SUN>" + count() + " yearly nth",
    };
    std::string line = *rc::gen::elementOf(rules);
    if (*rc::gen::arbitrary<bool>())
        line = "\\S" + near() + " " + line;
    if (*rc::gen::arbitrary<bool>())
        line = "\\E" + near() + " " + line;

    RC_LOG() << line << " in " << w.days << " days from " << dateText(w.start) << '\n';
    auto placed = placedOf({line}, w);
    SimpleReadContext context;
    TimeString appt(line);
    ApptInfo info;
    ReadAppt(info, context, appt);
    // A line that ends before the window starts shows nothing, not even in the lead-in.
    if (info.hasEnd && info.endDate < toTDate(w.start)) {
        RC_ASSERT(placed.empty());
        return;
    }
    std::set<std::uint32_t> given;
    const auto leadIn = static_cast<std::int64_t>(toDayNumber(w.leadIn()));
    forEachRuleDate(RecurrenceRule::of(info), {leadIn, toDayNumber(w.end())}, leadIn,
                    [&](TDate date) { given.insert(date.dayNumber); });
    RC_ASSERT(placed == given);
}
