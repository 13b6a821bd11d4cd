#include "alarm/alarmrules.h"
#include "core/datetext.h"
#include "testdocuments.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace dvw {
namespace {

const TDate dec7(7, 12, 2026);
const TDate dec8(8, 12, 2026);

// What a clock in a zone without summer time shows at h:m of the day; `shift` moves the
// epoch minutes (a zone change: the local time jumps, the epoch does not).
ClockReading at(TDate day, int h, int m, std::int64_t shift = 0)
{
    ClockReading r;
    r.date = day;
    r.minute = h * 60 + m;
    r.epochMinute = r.localMinute() + shift;
    return r;
}

struct Fixture
{
    std::vector<std::unique_ptr<TApptDocument>> docs;
    std::vector<AlarmDocument> open;

    void add(std::vector<std::string> lines, TDate start = dec7, int days = 30)
    {
        docs.push_back(test::documentOf(std::move(lines), start, days));
        open.push_back({docs.back().get(), docs.size(), false});
    }
};

// The alarm texts a run of checks gives (the free text without the time that starts it),
// each with the minute and a mark when late.
std::vector<std::string> run(AlarmClock &clock, Fixture &f, const std::vector<ClockReading> &ticks,
                             AlarmClock::Settings settings = {true, 10})
{
    std::vector<std::string> heard;
    for (const ClockReading &now : ticks) {
        clock.dayChange(now);
        for (const Alarm &a : clock.check(now, f.open, settings).alarms)
            heard.push_back(a.text.substr(a.text.find(' ') + 1) + "@" + FormatTime(a.alarmMinute)
                            + (a.late ? " late" : ""));
    }
    return heard;
}

std::vector<ClockReading> everyMinute(TDate day, int fromMinute, int toMinute)
{
    std::vector<ClockReading> ticks;
    for (int m = fromMinute; m <= toMinute; ++m)
        ticks.push_back(at(day, m / 60, m % 60));
    return ticks;
}

TEST(AlarmAdvance, LineAdvanceAndSettingAreHeldToOneDay)
{
    struct Case
    {
        const char *name;
        std::int32_t line;
        int setting;
        std::int64_t expected;
    };
    const Case cases[] = {
        {"none uses ADVANCE", -1, 10, 10},
        {"own advance wins", 15, 10, 15},
        {"own advance zero", 0, 10, 0},
        {"ADVANCE 100000", -1, 100000, 1440},
        {"negative ADVANCE", -1, -30, 0},
        {"line advance past a day", 5000, 10, 1440},
        // The reader keeps 32 bits of 3000000000: read back as unsigned, it is huge.
        {"line advance 3000000000", static_cast<std::int32_t>(3000000000U), 10, 1440},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AlarmAdvance(c.line, c.setting), c.expected) << c.name;
}

TEST(AlarmClock, AppointmentSoundsItsAdvanceBeforeAndPaneShowsIt)
{
    Fixture f;
    f.add({"12/7/2026 9:00 Meet"});
    AlarmClock clock(at(dec7, 8, 0));
    const auto before = clock.check(at(dec7, 8, 0), f.open, {true, 10});
    EXPECT_TRUE(before.alarms.empty());
    EXPECT_EQ(before.pane, "Next alarm  " + FormatTime(8 * 60 + 50));
    EXPECT_EQ(run(clock, f, everyMinute(dec7, 8 * 60 + 1, 9 * 60 + 5)),
              std::vector<std::string>({"Meet@" + FormatTime(530)}));
    EXPECT_EQ(clock.check(at(dec7, 9, 6), f.open, {true, 10}).pane, "No alarms");
}

TEST(AlarmClock, EdgeCasesOfOneDay)
{
    struct Case
    {
        const char *name;
        std::vector<std::string> lines;
        int advance;
        std::vector<std::string> heard; // checking every minute of 7 December
    };
    const Case cases[] = {
        {"own advance", {"\\(30)12/7/2026 9:00 A"}, 10, {"A@" + FormatTime(510)}},
        {"done instance still sounds", {">12/7/2026 9:00 A"}, 10, {"A@" + FormatTime(530)}},
        {"untimed line is silent", {"12/7/2026 A"}, 10, {}},
        {"other day is silent", {"12/9/2026 9:00 A"}, 10, {}},
        {"advance zero", {"12/7/2026 9:00 A"}, 0, {"A@" + FormatTime(540)}},
        {"0:05 tomorrow with advance 10 sounds at 23:55",
         {"12/8/2026 0:05 A", "12/7/2026 0:05 B"},
         10,
         {"A@" + FormatTime(1435)}},
        {"advance of a whole day sounds the day before",
         {"\\(3000000000)12/8/2026 9:00 A"},
         10,
         {"A@" + FormatTime(540)}},
        {"same minute: time order, then text",
         {"12/7/2026 9:10 B", "12/7/2026 9:00 Z", "\\(0)12/7/2026 8:50 A"},
         10,
         {"A@" + FormatTime(530), "Z@" + FormatTime(530), "B@" + FormatTime(540)}},
    };
    for (const Case &c : cases) {
        Fixture f;
        f.add(c.lines);
        AlarmClock clock(at(dec7, 0, 0));
        EXPECT_EQ(run(clock, f, everyMinute(dec7, 0, 1439), {true, c.advance}), c.heard) << c.name;
    }
}

TEST(AlarmClock, TwoDocumentsGiveTwoAlarmsInDocumentOrder)
{
    Fixture f;
    f.add({"12/7/2026 10:00 first"});
    f.add({"12/7/2026 10:00 second"});
    AlarmClock clock(at(dec7, 9, 49));
    const auto result = clock.check(at(dec7, 9, 50), f.open, {true, 10});
    ASSERT_EQ(result.alarms.size(), 2U);
    EXPECT_EQ(result.alarms[0].document, 0U);
    EXPECT_EQ(result.alarms[1].document, 1U);
    EXPECT_FALSE(result.alarms[0].late);
}

TEST(AlarmClock, MissedMinutesSoundOnceMarkedLate)
{
    struct Case
    {
        const char *name;
        std::vector<ClockReading> ticks;
        std::vector<std::string> heard;
    };
    const std::string at850 = "Meet@" + FormatTime(530);
    const Case cases[] = {
        {"suspend 8:45 to 9:30",
         {at(dec7, 8, 45), at(dec7, 9, 30), at(dec7, 9, 31)},
         {at850 + " late"}},
        {"tick in the minute itself", {at(dec7, 8, 49), at(dec7, 8, 50)}, {at850}},
        {"re-check in the same minute repeats nothing",
         {at(dec7, 8, 50), at(dec7, 8, 50), at(dec7, 8, 50)},
         {at850}},
        // Falling back: the local hour runs twice, the epoch on.
        {"fall-back hour sounds nothing twice",
         {at(dec7, 8, 49), at(dec7, 8, 50), at(dec7, 8, 59), at(dec7, 8, 0, 60),
          at(dec7, 8, 50, 60), at(dec7, 8, 51, 60)},
         {at850}},
        // Springing forward: the local clock skips an hour.
        {"spring-forward hour misses nothing",
         {at(dec7, 7, 59), at(dec7, 9, 0, -60)},
         {at850 + " late"}},
        {"clock set back checks nothing new",
         {at(dec7, 9, 0), at(dec7, 8, 30), at(dec7, 8, 49)},
         {}},
        {"clock set back: later minutes are checked again",
         {at(dec7, 9, 0), at(dec7, 8, 30), at(dec7, 8, 50)},
         {at850}},
        {"a sleep of days catches up one day only",
         {at(dec7, 8, 0), at(TDate(9, 12, 2026), 10, 0)},
         {}},
    };
    for (const Case &c : cases) {
        Fixture f;
        f.add({"12/7/2026 9:00 Meet", "12/8/2026 9:00 Meet"}, dec7, 1);
        AlarmClock clock(c.ticks.front());
        EXPECT_EQ(run(clock, f, c.ticks), c.heard) << c.name;
    }
}

TEST(AlarmClock, StartUpDoesNotReplayTheMorning)
{
    Fixture f;
    f.add({"12/7/2026 9:00 early", "12/7/2026 9:40 now"});
    AlarmClock clock(at(dec7, 9, 30));
    EXPECT_EQ(run(clock, f, {at(dec7, 9, 30)}),
              std::vector<std::string>({"now@" + FormatTime(570)}));
}

TEST(AlarmClock, SleepingAcrossMidnightRollsTheDayOver)
{
    Fixture f;
    f.add({"12/7/2026 23:59 late evening", "12/8/2026 0:15 small hours"}, dec7, 1);
    AlarmClock clock(at(dec7, 23, 40));
    clock.check(at(dec7, 23, 40), f.open, {true, 0});
    const ClockReading woke = at(dec8, 0, 20);
    ASSERT_EQ(clock.dayChange(woke), dec8);
    EXPECT_FALSE(clock.dayChange(woke).has_value()) << "one midnight is processed once";
    // The document still shows only 7 December: the new day is expanded on its own.
    const auto result = clock.check(woke, f.open, {true, 0});
    ASSERT_EQ(result.alarms.size(), 2U);
    EXPECT_EQ(result.alarms[0].text, "23:59 late evening");
    EXPECT_EQ(result.alarms[0].date, dec7);
    EXPECT_EQ(result.alarms[1].text, "0:15 small hours");
    EXPECT_TRUE(result.alarms[1].late);
}

TEST(AlarmClock, ReCheckSoundsANewLineInTheSameMinute)
{
    Fixture f;
    f.add({"12/7/2026 9:00 Meet"});
    AlarmClock clock(at(dec7, 8, 50));
    ASSERT_EQ(clock.check(at(dec7, 8, 50), f.open, {true, 10}).alarms.size(), 1U);
    f.docs[0]->AppendLine("12/7/2026 9:00 Added");
    EXPECT_FALSE(clock.check(at(dec7, 8, 50), f.open, {true, 10}).ran);
    clock.requestRecheck();
    const auto again = clock.check(at(dec7, 8, 50), f.open, {true, 10});
    ASSERT_EQ(again.alarms.size(), 1U);
    EXPECT_EQ(again.alarms[0].text, "9:00 Added");
}

TEST(AlarmClock, DaysOutsideTheWindowNeverSoundAnotherYear)
{
    struct Case
    {
        const char *name;
        TDate start;
        int days;
        std::vector<std::string> heard;
    };
    const std::vector<std::string> thisYear = {"this year@" + FormatTime(540)};
    const Case cases[] = {
        {"window from today", dec7, 30, thisYear},
        {"start date next month, a year long", TDate(1, 1, 2027), 365, thisYear},
        {"today in the lead-in", TDate(20, 12, 2026), 10, thisYear},
        {"start date in the past", TDate(1, 6, 2026), 30, thisYear},
    };
    for (const Case &c : cases) {
        Fixture f;
        f.add({"12/7/2027 9:00 next year", "12/7/2026 9:00 this year", "12/7/2025 9:00 last"},
              c.start, c.days);
        AlarmClock clock(at(dec7, 8, 59));
        EXPECT_EQ(run(clock, f, {at(dec7, 9, 0)}, {true, 0}), c.heard) << c.name;
    }
}

TEST(AlarmClock, ADayExpandedOutsideTheWindowFollowsTheLines)
{
    Fixture f;
    f.add({"12/7/2026 9:00 Meet"}, TDate(1, 1, 2027), 30);
    AlarmClock clock(at(dec7, 8, 49));
    ASSERT_EQ(clock.check(at(dec7, 8, 50), f.open, {true, 10}).alarms.size(), 1U);
    // A line added: the remembered day no longer matches the document.
    f.docs[0]->AppendLine("12/7/2026 9:01 Added");
    ASSERT_EQ(run(clock, f, {at(dec7, 8, 51)}),
              std::vector<std::string>({"Added@" + FormatTime(531)}));
    // A line changed in place: a re-check forgets what was expanded.
    f.docs[0]->lineTable()[0] = TimeString("12/7/2026 9:02 Changed");
    f.docs[0]->Rescan();
    clock.requestRecheck();
    EXPECT_EQ(run(clock, f, {at(dec7, 8, 52)}),
              std::vector<std::string>({"Changed@" + FormatTime(532)}));
}

TEST(AlarmClock, SwitchedOffOrSkippedDocumentsStaySilent)
{
    Fixture f;
    f.add({"12/7/2026 9:00 Meet"});
    AlarmClock clock(at(dec7, 8, 49));
    const auto off = clock.check(at(dec7, 8, 50), f.open, {false, 10});
    EXPECT_TRUE(off.alarms.empty());
    EXPECT_EQ(off.pane, "Alarm off");
    EXPECT_TRUE(clock.check(at(dec7, 8, 51), f.open, {true, 10}).alarms.empty())
        << "switching on again does not replay";

    Fixture g;
    g.add({"12/7/2026 9:00 Meet"});
    g.open[0].skipped = true;
    AlarmClock viewed(at(dec7, 8, 49));
    const auto skipped = viewed.check(at(dec7, 8, 50), g.open, {true, 10});
    EXPECT_TRUE(skipped.alarms.empty());
    EXPECT_EQ(skipped.pane, "Alarms disabled in this view");
}

TEST(AlarmClock, CountdownFiresAtTheFirstTickAtOrAfterItsDeadline)
{
    Fixture f;
    AlarmClock clock(at(dec7, 23, 50));
    EXPECT_FALSE(clock.setCountdown(at(dec7, 23, 50), 0));
    EXPECT_FALSE(clock.setCountdown(at(dec7, 23, 50), 1440));
    ASSERT_TRUE(clock.setCountdown(at(dec7, 23, 50), 20));
    const auto first = clock.check(at(dec7, 23, 50), f.open, {});
    EXPECT_TRUE(first.ran) << "setting a countdown asks for a re-check";
    EXPECT_EQ(first.pane, "Timer: 20 minutes");
    EXPECT_EQ(clock.check(at(dec8, 0, 9), f.open, {}).pane, "Timer: 1 minute ");
    // The tick of 0:10 came late: the countdown fires at the next one.
    const auto fired = clock.check(at(dec8, 0, 11), f.open, {});
    EXPECT_TRUE(fired.timerFired);
    EXPECT_FALSE(clock.countdownActive());
    EXPECT_FALSE(clock.check(at(dec8, 0, 12), f.open, {}).timerFired);

    // A clock set back an hour does not stretch the countdown.
    AlarmClock set(at(dec7, 10, 0));
    set.setCountdown(at(dec7, 10, 0), 5);
    EXPECT_FALSE(set.check(at(dec7, 9, 4, 60), f.open, {}).timerFired);
    EXPECT_TRUE(set.check(at(dec7, 9, 5, 60), f.open, {}).timerFired);
}

TEST(AlarmPane, TimerTextSaysMinuteOrMinutes)
{
    EXPECT_EQ(TimerPaneText(1), "Timer: 1 minute ");
    EXPECT_EQ(TimerPaneText(5), "Timer: 5 minutes");
}

} // namespace
} // namespace dvw
