#pragma once

#include "core/tdate.h"
#include "core/timestring.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dvw {

class OccurrenceEngine;

// A month as a grid of weeks, Sunday first, as the month pane and the calendar view draw
// it. Everything here is plain data and arithmetic: the widgets, the printout and the
// command-line tool read the same grid.
//
// The two views differ in three ways: the pane draws one empty week row more after a
// month whose last day ends a week, it lays its grid in the lower six ninths of its
// height, and it shows day numbers only (no entries, no shading).
enum class GridRule { Pane, Calendar };

struct MonthShape
{
    int year = 0;
    int month = 0; // 1..12
    int firstWeekday = 0; // of the 1st: 0 = Sunday .. 6 = Saturday
    int daysInMonth = 0;
    int weekRows = 0;
};

MonthShape MonthShapeOf(int year, int month, GridRule rule);

struct GridEntry
{
    std::int32_t line = 0;
    std::string text; // as the cell draws it: age put in, cut before the first line break
    std::uint8_t colour = 0; // the line's colour number, 0 for none
    bool done = false;
};

struct GridDay
{
    int day = 0; // 1..31
    int weekday = 0; // 0 = Sunday
    bool inWindow = false; // from the first of the start month through the window's end
    bool shaded = false;
    bool today = false;
    bool selected = false;
    std::vector<GridEntry> entries; // in the day's order; empty outside the window
};

struct MonthGrid
{
    GridRule rule = GridRule::Calendar;
    MonthShape shape;
    std::vector<GridDay> days; // day d at d - 1
};

struct MonthGridRequest
{
    int year = 0;
    int month = 0;
    TDate selected;
    TDate today;
    bool shadeWeekends = false;
    GridRule rule = GridRule::Calendar;
    bool printedOnly = false; // leave out lines marked "do not print"
};

// The text of one entry as a cell draws it, for a cell of the given year.
std::string CellEntryText(const TimeString &line, int year);

// The grid of one month over the engine's window. Entries come from the lead-in cells
// for days before the window's start and from the day cells otherwise; the pane's grid
// carries none. A month outside 1..12, or a year that has no such month, gives no days.
MonthGrid BuildMonthGrid(const OccurrenceEngine &engine, const std::vector<TimeString> &lines,
                         const MonthGridRequest &request);

// Pixel layout of a grid in a widget or on a page. Column edges keep their fraction, so
// seven columns share any width; rows are whole pixels. Rectangles are half-open:
// [left, right) x [top, bottom).
struct GridRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const GridRect &) const = default;
};

class GridGeometry
{
public:
    // The pane: rows of a ninth of the height, the grid at the bottom six of them.
    static GridGeometry pane(const MonthShape &shape, int width, int height);
    // The calendar: a header band of twice the title height above the rows; entries one
    // entry line apart below the day number.
    static GridGeometry calendar(const MonthShape &shape, const GridRect &area, int titleHeight,
                                 int entryLineHeight);

    // False when nothing may be drawn: no room for a row or a column.
    bool drawsCells() const;
    GridRule rule() const { return m_rule; }
    const MonthShape &shape() const { return m_shape; }
    int gridTop() const { return m_gridTop; }
    int gridBottom() const { return m_gridTop + m_shape.weekRows * m_rowHeight; }
    int rowHeight() const { return m_rowHeight; }
    int entryLineHeight() const { return m_lineHeight; }
    int columnEdge(int i) const; // i = 0..7

    // The cell of day 1..daysInMonth; empty for any other day.
    GridRect cellRect(int day) const;
    // The cell at a place of the grid, counted from 0 at the top left row by row, whether
    // a day of the month is there or not; empty outside the grid's rows.
    GridRect cellRectAt(int index) const;
    // The day under a point: 0 above, below, left or right of the grid and on a cell of
    // the grid that holds no day of the month.
    int dayAt(int x, int y) const;
    // How many of a cell's entries are drawn, and where the i-th one goes.
    int shownEntries(int count) const;
    int entryTop(int day, int i) const;
    bool overflows(int count) const { return count > shownEntries(count); }
    // The corner mark of a cell whose entries do not all fit: a triangle in this box.
    GridRect overflowMark(int day) const;
    // The entry under a point, as an index into the day's entries, or -1: only drawn
    // entries are hit, never the day number line or the overflow mark.
    int entryAt(int x, int y, int day, int entryCount) const;

private:
    GridRule m_rule = GridRule::Calendar;
    MonthShape m_shape;
    double m_left = 0;
    double m_columnWidth = 0;
    int m_gridTop = 0;
    int m_rowHeight = 0;
    int m_lineHeight = 0;
};

// Moving the selected date. Every move stays on real dates: a move that would leave them
// returns the date unchanged.
TDate FirstOfMonthOffset(const TDate &date, int months);
TDate DaysOffset(const TDate &date, int days);
// The scroll bars carry a month count from the window's start month, 0..24.
inline constexpr int maxScrollMonths = 24;
int MonthsBetween(const TDate &from, const TDate &to);
int ScrollPositionOf(const TDate &windowStart, const TDate &shown);
TDate DateAtScrollPosition(const TDate &windowStart, int position);

} // namespace dvw
