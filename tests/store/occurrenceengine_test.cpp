#include "core/linereader.h"
#include "enginetesthelpers.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace dvw;
using dvw::test::EngineHarness;
using dvw::test::ymd;

namespace {

bool sameAppts(const std::vector<Appt> &a, const std::vector<Appt> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Appt &x, const Appt &y) {
        return x.date.dayNumber == y.date.dayNumber && x.done == y.done && x.line == y.line;
    });
}

bool sameIndex(const std::vector<IndexTy> &a, const std::vector<IndexTy> &b)
{
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(), [](const IndexTy &x, const IndexTy &y) {
            return x.kind == y.kind && x.value == y.value && x.month == y.month && x.day == y.day
                && x.mark == y.mark && x.colour == y.colour && x.age == y.age;
        });
}

// A mix where notes and reminders of other categories meet, several lines share a day
// with equal and different times, and texts differ only in bytes above 127.
const std::vector<std::string> mixedLines = {
    "\\C !HOME,3=Home",
    "\\C !WORK=Work",
    "*WORK call",
    "12/8/2026 -5 Zed",
    "\\*HOME 12/9/2026 -5 9:00 Alpha",
    "* plain",
    "!1D Every day",
    "12/8/2026 Zed",
    "12/8/2026 Zed\xE9",
    "\\N!MON 9:00 Nag",
    "*HOME attic",
    "12/8/2026 9:00 Bravo",
    "?/8 Zed",
    "\\B12/10/1980 -4 Ann ()",
};

} // namespace

TEST(EngineRebuild, AppendingLinesOneByOneMatchesAFullRebuild)
{
    const TDate today = ymd(2026, 12, 7);
    EngineHarness full(today, today, 30);
    full.build(mixedLines);

    EngineHarness growing(today, today, 30);
    growing.build({mixedLines.begin(), mixedLines.begin() + 3});
    for (std::size_t i = 3; i < mixedLines.size(); ++i) {
        growing.document.appendText(mixedLines[i]);
        growing.engine.appendLine(static_cast<std::int32_t>(i));
    }
    growing.engine.BuildIndex(1);

    EXPECT_TRUE(sameAppts(full.engine.notes(), growing.engine.notes()));
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= 31; ++d)
            EXPECT_TRUE(sameAppts(full.engine.dayCell(m, d), growing.engine.dayCell(m, d)))
                << m << "/" << d;
    }
    EXPECT_TRUE(sameIndex(full.engine.index(), growing.engine.index()));
}

TEST(EngineRebuild, EqualEntriesKeepFileOrderAndHighBytesSortBeforeTheEnd)
{
    const TDate today = ymd(2026, 12, 7);
    EngineHarness h(today, today, 7);
    h.build(mixedLines);
    const auto &cell = h.engine.dayCell(12, 8);
    std::vector<std::int32_t> lines;
    for (const Appt &a : cell)
        lines.push_back(a.line);
    // The timed Bravo first; untimed: "Every day", then "Zed\xE9" before the three equal
    // "Zed" (a byte above 127 counts as negative), which keep their file order.
    EXPECT_EQ(lines, (std::vector<std::int32_t> {11, 6, 8, 3, 7, 12}));
}

TEST(EngineIndex, LineNumbersPastSixteenBitsStayExact)
{
    std::vector<std::string> lines(70000, "free text only");
    lines.push_back("12/8/2026 Far down");
    const TDate today = ymd(2026, 12, 7);
    EngineHarness h(today, today, 7);
    h.build(lines);
    h.engine.BuildIndex(70000);
    ASSERT_EQ(h.engine.index().size(), 3u);
    EXPECT_EQ(h.engine.index()[1].value, 70000);
    EXPECT_EQ(h.engine.locatedPosition(), 1);
}

TEST(EngineIndex, PositionsHeadingsAndMarks)
{
    const TDate today = ymd(2026, 12, 7);
    EngineHarness h(today, today, 7);
    h.build({"* note", "\\P12/8/2026 not printed", "12/10/2026 printed", "\\P12/10/2026 also",
             "\\2\\B12/10/1990 -9 Bea (x)"});
    // 0 Notes, 1 Bea's warning, 2 note, 3 blank, 4 Dec 8, 5 entry, 6 blank, 7 Dec 10,
    // 8 Bea, 9 also, 10 printed, 11 blank.
    EXPECT_EQ(h.engine.lastPosition(), 11);
    EXPECT_EQ(h.engine.firstDayHeading(), 4);
    EXPECT_EQ(h.engine.dayPosition(12, 8), 4);
    EXPECT_EQ(h.engine.dayPosition(12, 9), -1);
    EXPECT_EQ(h.engine.dayPosition(12, 10), 7);
    EXPECT_EQ(h.engine.datedCount(), 4);
    const auto &index = h.engine.index();
    EXPECT_EQ(index[4].mark, 0); // only a "\P" line that day
    EXPECT_EQ(index[7].mark, 1);
    EXPECT_EQ(index[1].age, 36);
    EXPECT_EQ(index[1].colour, 2);
    EXPECT_EQ(index[8].age, 36);
    EXPECT_EQ(h.engine.BuildIndex(3), 11);
    EXPECT_EQ(h.engine.locatedPosition(), 9);
    h.engine.BuildIndex(99);
    EXPECT_EQ(h.engine.locatedPosition(), -1);
}

TEST(EngineIndex, EmptyIndexHasLastPositionZero)
{
    const TDate today = ymd(2026, 12, 7);
    EngineHarness h(today, today, 7);
    h.build({"nothing scheduled"});
    EXPECT_TRUE(h.engine.index().empty());
    EXPECT_EQ(h.engine.lastPosition(), 0);
    EXPECT_EQ(h.engine.firstDayHeading(), -1);
    EXPECT_EQ(h.engine.PrevDayWithInstances(ymd(2026, 12, 9)), ymd(2026, 12, 9));
}

TEST(EngineIndex, PrevAndNextDayWithInstancesStopAtTheWindow)
{
    const TDate today = ymd(2026, 12, 7);
    EngineHarness h(today, today, 10);
    h.build({"12/9/2026 a", "12/12/2026 b"});
    EXPECT_EQ(h.engine.NextDayWithInstances(ymd(2026, 12, 10)), ymd(2026, 12, 12));
    EXPECT_EQ(h.engine.NextDayWithInstances(ymd(2026, 12, 9)), ymd(2026, 12, 9));
    EXPECT_EQ(h.engine.NextDayWithInstances(ymd(2026, 12, 13)), ymd(2026, 12, 16));
    EXPECT_EQ(h.engine.PrevDayWithInstances(ymd(2026, 12, 11)), ymd(2026, 12, 9));
    EXPECT_EQ(h.engine.PrevDayWithInstances(ymd(2026, 12, 8)), ymd(2026, 12, 7));
    EXPECT_EQ(h.engine.PrevDayWithInstances(ymd(2027, 3, 1)), ymd(2026, 12, 12));
}

TEST(EngineIndex, PrevAndNextDayWithInstancesFromOutsideTheWindow)
{
    const TDate today = ymd(2026, 12, 7);
    EngineHarness h(today, today, 10);
    h.build({"12/9/2026 a", "12/12/2026 b"});
    // Before the window: Next walks in from the start, Prev stops at the start.
    EXPECT_EQ(h.engine.NextDayWithInstances(ymd(2026, 12, 1)), ymd(2026, 12, 9));
    EXPECT_EQ(h.engine.PrevDayWithInstances(ymd(2026, 12, 1)), ymd(2026, 12, 7));
    // Behind it: Next stops at the end.
    EXPECT_EQ(h.engine.NextDayWithInstances(ymd(2027, 1, 5)), ymd(2026, 12, 16));
}

TEST(EngineIndex, LocatedPositionIsTheLinesFirstEntryNotesFirst)
{
    const TDate today = ymd(2026, 12, 7);
    EngineHarness h(today, today, 7);
    h.build({"12/8/2026 plain", "12/9/2026 -3 warned"});
    // 0 Notes, 1 warned, 2 blank, 3 Dec 8, 4 plain, 5 blank, 6 Dec 9, 7 warned, 8 blank.
    h.engine.BuildIndex(1);
    EXPECT_EQ(h.engine.locatedPosition(), 1);
    h.engine.BuildIndex(0);
    EXPECT_EQ(h.engine.locatedPosition(), 4);
}

TEST(EngineRules, PlaceInstanceUsesTheDatesItIsGiven)
{
    const TDate today = ymd(2026, 12, 7);
    EngineHarness h(today, today, 7);
    h.build({"\\D12/8/2026 \\X12/9/2026 12/1/2026 -2 +3 course", "\\D12/1/2026 !1D other"});
    // Placing one more date of line 0 by hand, after a rebuild: the done and excluded
    // dates given with it count (12/8 done, 12/9 excluded).
    ApptInfo info(0);
    LineDates dates;
    ReadAppt(info, h.document, h.document.lineTable()[0], dates);
    h.engine.PlaceInstance(ymd(2026, 12, 8).dayNumber, 0, info, dates);
    ASSERT_EQ(h.engine.notes().size(), 1u); // its warning, done as its date is
    EXPECT_EQ(h.engine.notes()[0].done, 1);
    const auto ofLine0 = [&](int day) {
        const auto &cell = h.engine.dayCell(12, day);
        const auto at
            = std::find_if(cell.begin(), cell.end(), [](const Appt &a) { return a.line == 0; });
        return at == cell.end() ? -1 : at->done;
    };
    EXPECT_EQ(ofLine0(8), 1);
    EXPECT_EQ(ofLine0(9), -1);
    EXPECT_EQ(ofLine0(10), 0);
    EXPECT_EQ(ofLine0(11), 0);
    EXPECT_EQ(ofLine0(12), -1);
}

TEST(EngineAppend, SingleGoesToItsDateNoteToTheWindowStartDefinitionRescans)
{
    const TDate today = ymd(2026, 12, 7);
    EngineHarness h(today, today, 30);
    h.build({"* first"});
    h.document.appendText("12/20/2026 new");
    auto outcome = h.engine.appendLine(1);
    EXPECT_TRUE(outcome.hasGoToDate);
    EXPECT_EQ(outcome.goToDate, ymd(2026, 12, 20));
    EXPECT_EQ(outcome.position, 4); // Notes, first, blank, heading, entry
    h.document.appendText("* another");
    outcome = h.engine.appendLine(2);
    EXPECT_EQ(outcome.goToDate, today);
    EXPECT_EQ(outcome.position, 1);
    h.document.appendText("\\C NEW=new one");
    outcome = h.engine.appendLine(3);
    EXPECT_TRUE(outcome.categoryLine);
}

TEST(EngineFilters, CategoryScreenAndPriority)
{
    const TDate today = ymd(2026, 12, 7);
    EngineHarness h(today, today, 7);
    const std::vector<std::string> lines
        = {"\\C!HOME=Home", "\\C WORK=Work", "*HOME h",  "*WORK w",
           "* plain",       "*ODD o",        "\\1* one", "\\3* three"};
    h.document.setSelectionMode(false, true);
    h.build(lines);
    EXPECT_EQ(h.engine.notes().size(), 4u); // HOME selected, no category, priorities

    h.settings.priorityLevel = 2;
    h.settings.hideUnprioritized = true;
    h.build(lines);
    ASSERT_EQ(h.engine.notes().size(), 1u);
    EXPECT_EQ(h.engine.notes()[0].line, 6);

    const DateWindow window = h.settings.window;
    h.settings = EngineSettings();
    h.settings.window = window;
    h.settings.screening = true;
    h.settings.screenText = "PLAIN";
    h.build(lines);
    ASSERT_EQ(h.engine.notes().size(), 1u);
    EXPECT_EQ(h.engine.notes()[0].line, 4);
}

TEST(EngineRules, NagDateBeforeTheLeadInKeepsOnlyItsNotesEntry)
{
    const TDate today = ymd(2026, 12, 2);
    EngineHarness h(today, today, 7);
    h.build({"\\S11/1/2026 \\N!MON Weekly"});
    ASSERT_EQ(h.engine.notes().size(), 1u);
    EXPECT_EQ(h.engine.notes()[0].date, ymd(2026, 11, 30));
    EXPECT_TRUE(h.engine.leadInCell(30).empty());
}

TEST(EngineRules, LastDayAnniversaryFollowsFebruaryInLeapYears)
{
    const TDate today = ymd(2028, 2, 1);
    EngineHarness h(today, today, 30);
    h.build({"2/32 End of February"});
    EXPECT_EQ(h.placedDays(), (std::vector<std::uint32_t> {ymd(2028, 2, 29).dayNumber}));
}

TEST(EngineRules, NonsenseCountsAreBoundedOrIgnored)
{
    const TDate today = ymd(2026, 12, 7);
    EngineHarness h(today, today, 10);
    h.build({"12/1/2026 +2000000000 huge following", "12/8/2026 +4294967295 negative following",
             "!2147483647D huge interval", "!?0MON zeroth", "!?3MON>2147483647 far offset",
             "!?3MON<2147483647 far back", "\\E1/1/9999 !1D -2000000000 warned for years",
             "\\S1/1/1 \\N!1D since year one"});
    // The huge following days fill the window days only; the count that wraps negative
    // gives no day; the zeroth Monday and the far offsets give nothing.
    const auto count = [&](std::int32_t line) {
        std::size_t n = 0;
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 31; ++d)
                for (const Appt &a : h.engine.dayCell(m, d))
                    n += a.line == line;
        return n;
    };
    EXPECT_EQ(count(0), 10u);
    EXPECT_EQ(count(1), 0u);
    EXPECT_EQ(count(3), 0u);
    EXPECT_EQ(count(4), 0u);
    EXPECT_EQ(count(5), 0u);
    EXPECT_EQ(count(6), 10u);
    // Warnings reach at most ten years ahead; the nag reaches back its interval.
    std::size_t warned = 0, nagged = 0;
    for (const Appt &a : h.engine.notes()) {
        warned += a.line == 6;
        nagged += a.line == 7;
    }
    EXPECT_EQ(warned, static_cast<std::size_t>(OccurrenceEngine::maxWarnDays));
    EXPECT_EQ(nagged, 6u); // 1 to 6 December, from the lead-in start
}

TEST(EngineRebuild, TextsCompareLikeCStringsBeyondTheirFirstSixteenBytes)
{
    const TDate today = ymd(2026, 12, 7);
    EngineHarness h(today, today, 3);
    h.build({std::string("12/8/2026 ab\0y", 14), "12/8/2026 Same sixteen bytes, then B",
             std::string("12/8/2026 ab\0x", 14), "12/8/2026 Same sixteen bytes, then A",
             "12/8/2026 ab"});
    std::vector<std::int32_t> lines;
    for (const Appt &a : h.engine.dayCell(12, 8))
        lines.push_back(a.line);
    // A NUL ends a text: the three "ab" lines are equal and keep their file order.
    EXPECT_EQ(lines, (std::vector<std::int32_t> {3, 1, 0, 2, 4}));
}

TEST(EngineAppend, ANewWindowTakesEffectForTheNextAppendedLine)
{
    EngineHarness h(ymd(2026, 12, 7), ymd(2026, 12, 7), 7);
    h.build({"* first"});
    h.settings.window = DateWindow::make(ymd(2026, 12, 7), ymd(2027, 3, 1), 7);
    h.engine.setSettings(h.settings);
    h.document.appendText("3/2/2027 in the new window");
    h.engine.appendLine(1);
    ASSERT_EQ(h.engine.dayCell(3, 2).size(), 1u);
    EXPECT_EQ(h.engine.dayCell(3, 2)[0].date, ymd(2027, 3, 2));
}
