#include "print/printrules.h"
#include "settings/platformprobe.h"
#include "settings/settings.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

using namespace dvw;

namespace {

TDate ymd(int year, int month, int day)
{
    return TDate(static_cast<std::uint32_t>(day), static_cast<std::uint32_t>(month),
                 static_cast<std::uint32_t>(year));
}

const DateTextSettings us {false, false, 20};

PrintSession sessionWith(int pages, int columns)
{
    Settings s = Settings::defaults(FixedProbe(1024, 0));
    s.numPages = pages;
    s.numCols = columns;
    return PrintSession::start(s, ymd(2000, 3, 6), ymd(2000, 3, 6));
}

TEST(PrintOptions, OpeningShowsStoredCountsOutsideTheirLimitsAsOneAndOkKeepsOne)
{
    struct Case
    {
        int pages, columns;
        const char *shownPages, *shownColumns;
        int keptPages, keptColumns;
    };
    for (const Case &c : {Case {250, 7, "1", "1", 1, 1}, Case {0, 0, "1", "1", 1, 1},
                          Case {100, 4, "100", "4", 100, 4}, Case {3, 2, "3", "2", 3, 2}}) {
        PrintSession s = sessionWith(c.pages, c.columns);
        const ListOptionsControls shown = ListOptionsOf(s, us);
        EXPECT_EQ(shown.pages, c.shownPages) << c.pages;
        EXPECT_EQ(shown.columns, c.shownColumns) << c.columns;
        ApplyListOptions(s, shown, us);
        EXPECT_EQ(s.pages, c.keptPages) << c.pages;
        EXPECT_EQ(s.columns, c.keptColumns) << c.columns;
    }
}

TEST(PrintOptions, OkTakesWhatReadsAndIgnoresTheRest)
{
    struct Case
    {
        const char *what;
        const char *start, *end, *pages, *columns;
        TDate from, through;
        int keptPages, keptColumns;
    };
    const std::vector<Case> cases = {
        {"all good", "3/10/2000", "3/20/00", "5", "2", ymd(2000, 3, 10), ymd(2000, 3, 20), 5, 2},
        {"numbers out of range", "3/10/2000", "3/20/00", "101", "5", ymd(2000, 3, 10),
         ymd(2000, 3, 20), 3, 2},
        {"not numbers and not dates", "soon", "3/5", "x", "", ymd(2000, 3, 6), ymd(2000, 3, 12), 3,
         2},
    };
    for (const Case &c : cases) {
        PrintSession s = sessionWith(3, 2);
        ListOptionsControls controls = ListOptionsOf(s, us);
        EXPECT_EQ(controls.startDate, "3/6/00") << c.what;
        EXPECT_EQ(controls.endDate, "3/12/00") << c.what;
        controls.startDate = c.start;
        controls.endDate = c.end;
        controls.pages = c.pages;
        controls.columns = c.columns;
        controls.wallet = true;
        controls.byPages = false;
        controls.includeNotes = true;
        ApplyListOptions(s, controls, us);
        EXPECT_EQ(s.from, c.from) << c.what;
        EXPECT_EQ(s.through, c.through) << c.what;
        EXPECT_EQ(s.pages, c.keptPages) << c.what;
        EXPECT_EQ(s.columns, c.keptColumns) << c.what;
        EXPECT_TRUE(s.walletStyle && !s.byPages && s.includeNotes) << c.what;
    }
}

TEST(PrintSession, PrintDatesFollowANewWindowStart)
{
    PrintSession s = sessionWith(1, 1);
    s.from = ymd(2000, 5, 1);
    s.followWindowStart(ymd(2000, 3, 6)); // unchanged: the chosen dates stay
    EXPECT_EQ(s.from, ymd(2000, 5, 1));
    s.followWindowStart(ymd(2000, 4, 1));
    EXPECT_EQ(s.from, ymd(2000, 4, 1));
    EXPECT_EQ(s.through, ymd(2000, 4, 7));
    EXPECT_EQ(s.months.count(), 1);
}

TEST(PrintSession, DefaultsTheConfigureMenuChangesHoldFromThenOn)
{
    Settings s = Settings::defaults(FixedProbe(1024, 0));
    PrintSession session = PrintSession::start(s, ymd(2000, 3, 6), ymd(2000, 3, 6));
    s.numCols = 3;
    s.walletStyle = !session.walletStyle;
    s.numPages = 42;
    session.followSetting("NUMCOLS", s);
    session.followSetting("WALLETSTYLE", s);
    session.followSetting("DAYS", s); // not a print option: nothing changes
    EXPECT_EQ(session.columns, 3);
    EXPECT_EQ(session.walletStyle, s.walletStyle);
    EXPECT_NE(session.pages, 42);
}

TEST(PrintTarget, TheCalendarPrintsMonthsTheListPrintsAListAFileViewNothing)
{
    struct Case
    {
        PrintFacts facts;
        PrintTarget target;
    };
    for (const Case &c : {Case {{true, true, true, false}, PrintTarget::List},
                          Case {{true, true, false, true}, PrintTarget::Month},
                          Case {{true, true, true, true}, PrintTarget::Month},
                          Case {{true, true, false, false}, PrintTarget::None},
                          Case {{true, false, true, false}, PrintTarget::None},
                          Case {{false, true, true, false}, PrintTarget::None}})
        EXPECT_EQ(PrintTargetOf(c.facts), c.target);
}

// Start December 2000: the end's up arrow from January 2001 gives December 2000, once more
// both go to November 2000.
TEST(MonthRangeDialog, ThePartnerFollowsSoTheStartNeverPassesTheEnd)
{
    MonthRange r {12, 2000, 1, 2001};
    MoveEndMonth(r, -1);
    EXPECT_EQ((std::array {r.startMonth, r.startYear, r.endMonth, r.endYear}),
              (std::array {12, 2000, 12, 2000}));
    MoveEndMonth(r, -1);
    EXPECT_EQ((std::array {r.startMonth, r.startYear, r.endMonth, r.endYear}),
              (std::array {11, 2000, 11, 2000}));
    MoveStartMonth(r, 1);
    MoveStartMonth(r, 1);
    EXPECT_EQ((std::array {r.startMonth, r.startYear, r.endMonth, r.endYear}),
              (std::array {1, 2001, 1, 2001}));
    EXPECT_EQ(MonthText(1, 2001), "January, 2001");
    EXPECT_EQ(MonthExplanation({11, 2000, 2, 2001}, ymd(2001, 3, 5), us),
              "Only appointments from 11/1/00 through 3/5/01 will appear in calendar.");
}

RC_GTEST_PROP(MonthRangeDialog, AnyMovesKeepTheRangeInOrder, ())
{
    MonthRange r {*rc::gen::inRange(1, 13), *rc::gen::inRange(1990, 2030), 0, 0};
    r.endMonth = r.startMonth;
    r.endYear = r.startYear;
    const auto moves = *rc::gen::container<std::vector<std::pair<bool, bool>>>(
        rc::gen::pair(rc::gen::arbitrary<bool>(), rc::gen::arbitrary<bool>()));
    for (const auto &[start, up] : moves) {
        if (start)
            MoveStartMonth(r, up ? -1 : 1);
        else
            MoveEndMonth(r, up ? -1 : 1);
        RC_ASSERT(r.count() >= 1);
        RC_ASSERT(r.startMonth >= 1 && r.startMonth <= 12 && r.endMonth >= 1 && r.endMonth <= 12);
    }
}

TEST(PreviewPager, StatusAndButtonsFollowThePages)
{
    struct Step
    {
        char command; // p previous, n next, 1 one page, 2 two pages
        const char *status;
        bool back, on;
    };
    PreviewPager pager(4);
    const std::vector<Step> steps = {
        {'p', "Page 1", false, true},     {'n', "Page 2", true, true},
        {'2', "Page 2 - 3", true, true},  {'n', "Page 3 - 4", true, false},
        {'n', "Page 3 - 4", true, false}, {'1', "Page 3", true, true},
        {'n', "Page 4", true, false},     {'2', "Page 3 - 4", true, false},
        {'p', "Page 2 - 3", true, true},  {'p', "Page 1 - 2", false, true},
        {'p', "Page 1 - 2", false, true},
    };
    for (const Step &s : steps) {
        switch (s.command) {
        case 'p':
            pager.previous();
            break;
        case 'n':
            pager.next();
            break;
        case '1':
            pager.onePage();
            break;
        default:
            pager.showTwoPages();
            break;
        }
        EXPECT_EQ(pager.status(), s.status) << s.command;
        EXPECT_EQ(pager.canGoBack(), s.back) << s.status;
        EXPECT_EQ(pager.canGoOn(), s.on) << s.status;
    }
    PreviewPager single(1);
    single.showTwoPages();
    EXPECT_EQ(single.status(), "Page 1");
    EXPECT_FALSE(single.canGoOn());
}

} // namespace
