#include "store/monthgrid.h"
#include "store/tapptdocument.h"
#include "testdocuments.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace dvw;
namespace chr = std::chrono;

namespace {

TDate ymd(int year, int month, int day)
{
    return TDate(static_cast<std::uint32_t>(day), static_cast<std::uint32_t>(month),
                 static_cast<std::uint32_t>(year));
}

// Weeks counted from the Sunday on or before the 1st through the month's last day.
TEST(MonthShape, EveryMonthOf1900To2100AgreesWithTheStandardCalendar)
{
    for (int y = 1900; y <= 2100; ++y) {
        for (unsigned m = 1; m <= 12; ++m) {
            const chr::year_month ym {chr::year {y}, chr::month {m}};
            const chr::sys_days first {ym / 1};
            const chr::sys_days last {ym / chr::last};
            const chr::sys_days sunday = first - (chr::weekday {first} - chr::Sunday);
            const int weeks = static_cast<int>((last - sunday).count() / 7 + 1);
            const bool endsOnSaturday = chr::weekday {last} == chr::Saturday;
            const MonthShape cal = MonthShapeOf(y, static_cast<int>(m), GridRule::Calendar);
            const MonthShape pane = MonthShapeOf(y, static_cast<int>(m), GridRule::Pane);
            SCOPED_TRACE(std::to_string(y) + "-" + std::to_string(m));
            EXPECT_EQ(cal.firstWeekday, static_cast<int>(chr::weekday {first}.c_encoding()));
            EXPECT_EQ(cal.daysInMonth,
                      static_cast<int>(unsigned {chr::year_month_day {last}.day()}));
            EXPECT_EQ(cal.weekRows, weeks);
            EXPECT_EQ(pane.weekRows, weeks + (endsOnSaturday ? 1 : 0));
            EXPECT_EQ(pane.firstWeekday, cal.firstWeekday);
        }
    }
}

TEST(MonthShape, MonthsThatDoNotExistHaveNoDays)
{
    for (const auto &[y, m] : {std::pair {2026, 0}, {2026, 13}, {0, 5}, {-3, 1}}) {
        const MonthShape s = MonthShapeOf(y, m, GridRule::Calendar);
        EXPECT_EQ(s.daysInMonth, 0) << y << "-" << m;
        EXPECT_EQ(s.weekRows, 0) << y << "-" << m;
        EXPECT_TRUE(GridGeometry::calendar(s, {0, 0, 700, 460}, 20, 12).cellRect(1).isEmpty());
    }
}

// April 2026 starts on a Wednesday and fills five rows. Calendar: 700 x 460, title 20
// high (header 40), rows of 84, columns of 100, entry lines of 12. Day 6 is row 1,
// column 1: cell [102, 198) x [126, 207), entries from y 139, five fit.
struct HitCase
{
    const char *what;
    int x, y;
    int day; // expected day, 0 none
    int entries; // entries the hit day holds
    int entry; // expected entry, -1 none
};

TEST(GridGeometry, CalendarHitTests)
{
    const MonthShape april = MonthShapeOf(2026, 4, GridRule::Calendar);
    const GridGeometry g = GridGeometry::calendar(april, {0, 0, 700, 460}, 20, 12);
    ASSERT_EQ(g.rowHeight(), 84);
    const HitCase cases[] = {
        {"title band", 350, 10, 0, 0, -1},
        {"weekday band", 150, 39, 0, 0, -1},
        {"first row before the 1st", 50, 80, 0, 0, -1},
        {"the 1st", 350, 80, 1, 0, -1},
        {"x = 0 in the second row", 0, 200, 0, 0, -1},
        {"left of the grid", -5, 200, 0, 0, -1},
        {"last pixel of the grid's right column", 699, 200, 11, 0, -1},
        {"right edge", 700, 200, 0, 0, -1},
        {"right of the grid", 900, 200, 0, 0, -1},
        {"last row", 50, 459, 26, 0, -1},
        {"below the grid", 50, 460, 0, 0, -1},
        {"after the last day", 650, 459, 0, 0, -1},
        {"day number", 150, 128, 6, 8, -1},
        {"just above the first entry", 150, 138, 6, 8, -1},
        {"first entry", 150, 139, 6, 8, 0},
        {"first entry's last pixel", 150, 150, 6, 8, 0},
        {"second entry", 150, 151, 6, 8, 1},
        {"fifth entry", 150, 187, 6, 8, 4},
        {"fifth entry under the overflow mark", 193, 197, 6, 8, -1},
        {"fifth entry without overflow", 193, 197, 6, 5, 4},
        {"below the drawn entries", 150, 200, 6, 8, -1},
        {"third line of a day with two", 150, 163, 6, 2, -1},
        {"second line of a day with two", 150, 151, 6, 2, 1},
    };
    for (const HitCase &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(g.dayAt(c.x, c.y), c.day);
        EXPECT_EQ(g.entryAt(c.x, c.y, c.day, c.entries), c.entry);
    }
    EXPECT_EQ(g.shownEntries(8), 5);
    EXPECT_TRUE(g.overflows(6));
    EXPECT_FALSE(g.overflows(5));
    const GridRect cell = g.cellRect(6);
    EXPECT_EQ(cell.left, 102);
    EXPECT_EQ(cell.top, 126);
    EXPECT_EQ(cell.right, 198);
    EXPECT_EQ(cell.bottom, 207);
}

// Every point of every drawn cell hits that cell's day, and every drawn entry line is hit
// as itself: the drawing and the hit test never disagree.
TEST(GridGeometry, DrawnCellsAndEntriesAreWhatTheHitTestFinds)
{
    for (const GridRule rule : {GridRule::Pane, GridRule::Calendar}) {
        for (const int month : {2, 5, 8}) {
            const MonthShape s = MonthShapeOf(2027, month, rule);
            const GridGeometry g = rule == GridRule::Pane
                ? GridGeometry::pane(s, 213, 197)
                : GridGeometry::calendar(s, {3, 5, 731, 503}, 17, 11);
            for (int d = 1; d <= s.daysInMonth; ++d) {
                const GridRect r = g.cellRect(d);
                ASSERT_FALSE(r.isEmpty());
                for (int y = r.top; y < r.bottom; ++y) {
                    EXPECT_EQ(g.dayAt(r.left, y), d);
                    EXPECT_EQ(g.dayAt(r.right - 1, y), d);
                }
                for (int i = 0; i < g.shownEntries(9); ++i) {
                    const int top = g.entryTop(d, i);
                    EXPECT_LE(top + g.entryLineHeight(), r.bottom);
                    EXPECT_EQ(g.entryAt(r.left + 1, top, d, 9), i);
                    EXPECT_EQ(g.entryAt(r.left + 1, top + g.entryLineHeight() - 1, d, 9), i);
                }
            }
        }
    }
}

TEST(GridGeometry, PaneHitTests)
{
    // 210 x 180: rows of 20, the grid from y 60, columns of 30; April 2026 has five rows.
    const GridGeometry g = GridGeometry::pane(MonthShapeOf(2026, 4, GridRule::Pane), 210, 180);
    const HitCase cases[] = {
        {"title", 100, 10, 0, 0, -1},
        {"weekday initials", 100, 59, 0, 0, -1},
        {"the 1st", 105, 65, 1, 0, -1},
        {"x = 0", 0, 85, 0, 0, -1},
        {"second row, first column", 1, 85, 5, 0, -1},
        {"right edge", 210, 85, 0, 0, -1},
        {"the 30th", 135, 159, 30, 0, -1},
        {"below the grid", 105, 170, 0, 0, -1},
    };
    for (const HitCase &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(g.dayAt(c.x, c.y), c.day);
        EXPECT_EQ(g.entryAt(c.x, c.y, c.day, 3), -1);
    }
}

TEST(GridGeometry, NoRoomForARowDrawsAndHitsNothing)
{
    const MonthShape s = MonthShapeOf(2026, 4, GridRule::Pane);
    struct Size
    {
        int w, h;
    };
    for (const Size size :
         {Size {0, 0}, Size {1, 1}, Size {200, -5}, Size {200, 0}, Size {200, 8}, Size {6, 200}}) {
        const GridGeometry g = GridGeometry::pane(s, size.w, size.h);
        EXPECT_FALSE(g.drawsCells()) << size.w << "x" << size.h;
        EXPECT_TRUE(g.cellRect(1).isEmpty());
        for (int y = -10; y < 20; ++y)
            EXPECT_EQ(g.dayAt(size.w / 2, y), 0);
    }
    // A calendar area lower than its header.
    const GridGeometry c = GridGeometry::calendar(s, {0, 0, 700, 30}, 20, 12);
    EXPECT_FALSE(c.drawsCells());
    EXPECT_EQ(c.dayAt(350, 35), 0);
    EXPECT_EQ(c.shownEntries(4), 0);
    EXPECT_TRUE(GridGeometry::pane(s, 200, 100000).drawsCells());
}

TEST(MonthMoves, PagingAcrossTheYearAndScrollPositions)
{
    EXPECT_EQ(FirstOfMonthOffset(ymd(2026, 12, 17), 1), ymd(2027, 1, 1));
    EXPECT_EQ(FirstOfMonthOffset(ymd(2027, 1, 31), -1), ymd(2026, 12, 1));
    EXPECT_EQ(FirstOfMonthOffset(ymd(2026, 3, 31), -1), ymd(2026, 2, 1));
    EXPECT_EQ(DaysOffset(ymd(2026, 12, 31), 1), ymd(2027, 1, 1));
    EXPECT_EQ(DaysOffset(ymd(2027, 1, 3), -7), ymd(2026, 12, 27));
    // No move leaves the real dates.
    EXPECT_EQ(DaysOffset(ymd(1, 1, 1), -1), ymd(1, 1, 1));
    EXPECT_EQ(FirstOfMonthOffset(ymd(1, 1, 5), -1), ymd(1, 1, 5));

    const TDate start = ymd(2026, 11, 20);
    EXPECT_EQ(ScrollPositionOf(start, ymd(2026, 11, 1)), 0);
    EXPECT_EQ(ScrollPositionOf(start, ymd(2027, 2, 28)), 3);
    EXPECT_EQ(ScrollPositionOf(start, ymd(2026, 5, 1)), 0);
    EXPECT_EQ(ScrollPositionOf(start, ymd(2030, 1, 1)), maxScrollMonths);
    for (int p = 0; p <= maxScrollMonths; ++p)
        EXPECT_EQ(ScrollPositionOf(start, DateAtScrollPosition(start, p)), p);
    EXPECT_EQ(DateAtScrollPosition(start, 3), ymd(2027, 2, 20));
    EXPECT_EQ(DateAtScrollPosition(ymd(2027, 1, 31), 1), ymd(2027, 2, 28));
    EXPECT_EQ(DateAtScrollPosition(start, 99), DateAtScrollPosition(start, maxScrollMonths));
}

struct Grid
{
    Grid(std::vector<std::string> lines, TDate start, int days, int year, int month,
         bool shade = false)
        : doc(test::documentOf(std::move(lines), start, days))
    {
        MonthGridRequest r;
        r.year = year;
        r.month = month;
        r.selected = start;
        r.today = start;
        r.shadeWeekends = shade;
        grid = BuildMonthGrid(doc->engine(), doc->lineTable(), r);
    }
    const GridDay &day(int d) const { return grid.days.at(static_cast<std::size_t>(d - 1)); }
    std::unique_ptr<TApptDocument> doc;
    MonthGrid grid;
};

// A window from 15 December 2026 for a year: the lead-in days 1..14 December 2026 and
// the days through 14 December 2027 hold entries; the cells keyed by 15..31 December
// belong to 2026, so December 2027 shows them empty.
TEST(MonthGrid, AWindowStartingMidMonth)
{
    const std::vector<std::string> lines {"!1D Daily", "\\~12/20/2027 Holiday"};
    for (const auto &[year, firstIn, lastIn] : {std::tuple {2026, 1, 31}, {2027, 1, 14}}) {
        const Grid g(lines, ymd(2026, 12, 15), 365, year, 12);
        for (int d = 1; d <= 31; ++d) {
            const bool in = d >= firstIn && d <= lastIn;
            SCOPED_TRACE(std::to_string(year) + "-12-" + std::to_string(d));
            EXPECT_EQ(g.day(d).inWindow, in);
            EXPECT_EQ(g.day(d).entries.size(), in ? 1u : 0u);
            EXPECT_FALSE(g.day(d).shaded);
        }
    }
    const Grid before(lines, ymd(2026, 12, 15), 365, 2026, 11);
    for (const GridDay &d : before.grid.days)
        EXPECT_TRUE(!d.inWindow && d.entries.empty());
}

TEST(MonthGrid, ShadingMarksAndCellTexts)
{
    const std::vector<std::string> lines {
        "\\H3/4/2026 Founders day",
        "\\H3/11/2026 Too late a holiday",
        "\\2 3/10/2026 Urgent",
        "\\B3/6/1990 Ann (birthday)\r\n second line",
        "3/9/2026 Say <b>%s & co\r\nmore",
        "\\D3/9/2026 !1D Daily",
    };
    const Grid g(lines, ymd(2026, 3, 9), 2, 2026, 3, true);
    for (const GridDay &d : g.grid.days) {
        const bool weekend = d.weekday == 0 || d.weekday == 6;
        EXPECT_EQ(d.shaded, weekend || d.day == 4) << d.day;
        EXPECT_EQ(d.selected, d.day == 9);
        EXPECT_EQ(d.today, d.day == 9);
    }
    ASSERT_EQ(g.day(6).entries.size(), 2u);
    EXPECT_EQ(g.day(6).entries[0].text, "Ann (36)");
    EXPECT_EQ(g.day(6).entries[0].line, 3);
    ASSERT_EQ(g.day(9).entries.size(), 2u);
    EXPECT_EQ(g.day(9).entries[0].text, "Daily");
    EXPECT_EQ(g.day(9).entries[1].text, "Say <b>%s & co");
    EXPECT_TRUE(g.day(9).entries[0].done);
    EXPECT_FALSE(g.day(9).entries[1].done);
    ASSERT_EQ(g.day(10).entries.size(), 2u);
    EXPECT_EQ(g.day(10).entries[0].text, "Daily");
    EXPECT_FALSE(g.day(10).entries[0].done);
    EXPECT_EQ(g.day(10).entries[1].colour, 2);
    EXPECT_EQ(g.day(9).entries[0].colour, 0);

    // The pane shows day numbers only.
    MonthGridRequest r;
    r.year = 2026;
    r.month = 3;
    r.shadeWeekends = true;
    r.rule = GridRule::Pane;
    const MonthGrid pane = BuildMonthGrid(g.doc->engine(), g.doc->lineTable(), r);
    for (const GridDay &d : pane.days)
        EXPECT_TRUE(!d.shaded && d.entries.empty());
}

} // namespace
