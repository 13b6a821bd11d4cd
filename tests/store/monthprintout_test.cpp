#include "store/decodedtext.h"
#include "store/monthprintout.h"
#include "testdocuments.h"

#include <gtest/gtest.h>

using namespace dvw;

namespace {

TDate ymd(int year, int month, int day)
{
    return TDate(static_cast<std::uint32_t>(day), static_cast<std::uint32_t>(month),
                 static_cast<std::uint32_t>(year));
}

const PrintRect a4Landscape {0, 0, 1122, 793};
const PrintRect a4Portrait {0, 0, 793, 1122};

MonthPrintSetup setupFor(MonthRange range, PrintRect device = a4Landscape)
{
    MonthPrintSetup s;
    s.device = device;
    s.range = range;
    s.footer = " 3/1/00";
    s.titleHeight = 24;
    s.entryLineHeight = 13;
    return s;
}

struct SmallCase
{
    const char *what;
    int year, month;
    PrintRect device;
    // {cell, year, month} of each small month
    std::vector<std::array<int, 3>> small;
};

TEST(MonthPrintout, OnePagePerMonthOverTheRange)
{
    auto doc = test::documentOf({}, ymd(2000, 11, 1), 30);
    struct Case
    {
        MonthRange range;
        std::vector<std::pair<int, int>> months; // {year, month} per page
    };
    const std::vector<Case> cases = {
        {{5, 2000, 5, 2000}, {{2000, 5}}},
        {{11, 2000, 2, 2001}, {{2000, 11}, {2000, 12}, {2001, 1}, {2001, 2}}},
        {{12, 1999, 1, 2000}, {{1999, 12}, {2000, 1}}},
        {{3, 2000, 2, 2000}, {}},
    };
    for (const Case &c : cases) {
        const MonthPrintout printout(*doc, setupFor(c.range));
        ASSERT_EQ(printout.pageCount(), static_cast<int>(c.months.size()));
        for (int p = 1; p <= printout.pageCount(); ++p) {
            const MonthShape &s = printout.page(p)->grid.shape;
            EXPECT_EQ((std::pair {s.year, s.month}), c.months[static_cast<std::size_t>(p - 1)]);
        }
        EXPECT_EQ(printout.page(printout.pageCount() + 1), nullptr);
    }
}

// Cells count from 0 at the top left; a cell's rectangle is the day cell's with its left
// edge one unit right and its bottom one unit up.
TEST(MonthPrintout, SmallMonthsGoIntoEmptyCellsOfAWidePage)
{
    // clang-format off
    const std::vector<SmallCase> cases = {
        {"March 2000 starts on a Wednesday", 2000, 3, a4Landscape, {{0, 2000, 2}, {1, 2000, 4}}},
        {"February 1998 fills every row", 1998, 2, a4Landscape, {}},
        {"from a Sunday: the fifth row's end", 2000, 10, a4Landscape, {{33, 2000, 9}, {34, 2000, 11}}},
        {"from a Monday: the first cell and the fifth row's last", 2000, 5, a4Landscape,
         {{0, 2000, 4}, {34, 2000, 6}}},
        {"January borrows December of the year before", 2001, 1, a4Landscape,
         {{0, 2000, 12}, {34, 2001, 2}}},
        {"December lends January of the year after", 2000, 12, a4Landscape,
         {{0, 2000, 11}, {1, 2001, 1}}},
        {"a portrait page has none", 2000, 3, a4Portrait, {}},
    };
    // clang-format on
    auto doc = test::documentOf({}, ymd(2000, 1, 1), 30);
    for (const SmallCase &c : cases) {
        SCOPED_TRACE(c.what);
        const MonthPrintout printout(*doc, setupFor({c.month, c.year, c.month, c.year}, c.device));
        const MonthPage &page = *printout.page(1);
        ASSERT_EQ(page.smallMonths.size(), c.small.size());
        for (std::size_t i = 0; i < c.small.size(); ++i) {
            const SmallMonth &m = page.smallMonths[i];
            EXPECT_EQ(m.shape.year, c.small[i][1]);
            EXPECT_EQ(m.shape.month, c.small[i][2]);
            GridRect cell = page.geometry.cellRectAt(c.small[i][0]);
            EXPECT_EQ(m.rect.left, cell.left + 1);
            EXPECT_EQ(m.rect.bottom, cell.bottom - 1);
            EXPECT_EQ(m.rect.top, cell.top);
            // The cell holds no day of the month.
            for (int d = 1; d <= page.grid.shape.daysInMonth; ++d)
                EXPECT_FALSE(page.geometry.cellRect(d).left == cell.left
                             && page.geometry.cellRect(d).top == cell.top)
                    << d;
        }
        // The footer always stands under the calendar's right corner.
        EXPECT_EQ(EncodeUtf8(page.footer), " 3/1/00");
        EXPECT_EQ(page.footerRight, page.rect.right - 1);
        EXPECT_EQ(page.footerTop, page.rect.bottom + 2);
    }
}

TEST(MonthPrintout, TheCalendarStandsEightPercentInFromThePageEdges)
{
    const GridRect r = MonthCalendarRect(a4Landscape);
    // 8% of 1122 is 89; 60% of that is 53.
    EXPECT_EQ(r.left, 89);
    EXPECT_EQ(r.right, 1122 - 89);
    EXPECT_EQ(r.top, 53);
    EXPECT_EQ(r.bottom, 793 - 89);
}

TEST(MonthPrintout, LinesMarkedDoNotPrintAreLeftOutOfTheCells)
{
    auto doc = test::documentOf({"3/6/2000 shown", "\\P3/6/2000 hidden", "\\H3/7/2000 holiday"},
                                ymd(2000, 3, 1), 60);
    const MonthPrintout printout(*doc, setupFor({3, 2000, 3, 2000}));
    const MonthPage &page = *printout.page(1);
    const GridDay &sixth = page.grid.days[5];
    ASSERT_EQ(sixth.entries.size(), 1u);
    EXPECT_EQ(sixth.entries[0].text, "shown");
    EXPECT_TRUE(page.grid.days[6].shaded);
    // No cursor and no today mark on paper.
    for (const GridDay &day : page.grid.days) {
        EXPECT_FALSE(day.selected);
        EXPECT_FALSE(day.today);
    }
}

} // namespace
