#include "monthgrid.h"

#include "core/apptkind.h"
#include "listwording.h"
#include "occurrenceengine.h"

#include <algorithm>
#include <cmath>

namespace dvw {

namespace {

int floorDiv(int a, int b)
{
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

bool realMonth(int year, int month)
{
    return month >= 1 && month <= 12 && year >= 1
        && DayNumber(static_cast<std::uint32_t>(month), 1, static_cast<std::uint32_t>(year)) != 0;
}

} // namespace

MonthShape MonthShapeOf(int year, int month, GridRule rule)
{
    MonthShape s;
    s.year = year;
    s.month = month;
    if (!realMonth(year, month))
        return s;
    const auto m = static_cast<std::uint32_t>(month);
    const auto y = static_cast<std::uint32_t>(year);
    s.firstWeekday = static_cast<int>(FirstWeekdayOfMonth(m, y));
    s.daysInMonth = static_cast<int>(DaysInMonth(m, y));
    // The pane keeps a row for a month that ends on a Saturday; the calendar draws only
    // the weeks the month touches.
    const int lastCell = s.firstWeekday + s.daysInMonth - 1;
    s.weekRows = lastCell / 7 + 1;
    if (rule == GridRule::Pane && lastCell % 7 == 6)
        ++s.weekRows;
    return s;
}

std::string CellEntryText(const TimeString &line, int year)
{
    std::string_view text = EntryText(line);
    std::string withAge;
    if (line.kind == Birthday && line.birthDate.isValid()) {
        withAge = WithAge(text, year - static_cast<int>(line.birthDate.Year()));
        text = withAge;
    }
    return std::string(text.substr(0, text.find_first_of("\r\n")));
}

MonthGrid BuildMonthGrid(const OccurrenceEngine &engine, const std::vector<TimeString> &lines,
                         const MonthGridRequest &request)
{
    MonthGrid grid;
    grid.rule = request.rule;
    grid.shape = MonthShapeOf(request.year, request.month, request.rule);
    const MonthShape &s = grid.shape;
    const DateWindow &w = engine.window();
    const bool calendar = request.rule == GridRule::Calendar;
    const auto month = static_cast<std::uint32_t>(s.month);
    const auto year = static_cast<std::uint32_t>(s.year);
    grid.days.resize(static_cast<std::size_t>(s.daysInMonth));
    for (int d = 1; d <= s.daysInMonth; ++d) {
        GridDay &day = grid.days[static_cast<std::size_t>(d - 1)];
        const TDate date(static_cast<std::uint32_t>(d), month, year);
        day.day = d;
        day.weekday = (s.firstWeekday + d - 1) % 7;
        day.inWindow = date >= w.leadInStart && date <= w.end;
        day.today = date == request.today;
        day.selected = date == request.selected;
        if (!calendar)
            continue;
        day.shaded = request.shadeWeekends && (day.weekday == 0 || day.weekday == 6);
        if (!day.inWindow)
            continue;
        const std::vector<Appt> &cell
            = date < w.start ? engine.leadInCell(d) : engine.dayCell(s.month, d);
        day.entries.reserve(cell.size());
        for (const Appt &a : cell) {
            if (a.line < 0 || static_cast<std::size_t>(a.line) >= lines.size())
                continue;
            const TimeString &line = lines[static_cast<std::size_t>(a.line)];
            day.shaded = day.shaded || line.holiday;
            if (request.printedOnly && line.noPrint)
                continue;
            day.entries.push_back({a.line, CellEntryText(line, s.year),
                                   static_cast<std::uint8_t>(line.shade & 0x7F), a.done != 0});
        }
    }
    return grid;
}

GridGeometry GridGeometry::pane(const MonthShape &shape, int width, int height)
{
    GridGeometry g;
    g.m_rule = GridRule::Pane;
    g.m_shape = shape;
    g.m_rowHeight = height / 9;
    g.m_gridTop = height - 6 * g.m_rowHeight;
    g.m_columnWidth = width / 7.0;
    return g;
}

GridGeometry GridGeometry::calendar(const MonthShape &shape, const GridRect &area, int titleHeight,
                                    int entryLineHeight)
{
    GridGeometry g;
    g.m_rule = GridRule::Calendar;
    g.m_shape = shape;
    g.m_left = area.left;
    g.m_gridTop = area.top + 2 * titleHeight;
    g.m_rowHeight
        = shape.weekRows > 0 ? (area.bottom - 2 * titleHeight - area.top) / shape.weekRows : 0;
    g.m_columnWidth = (area.right - area.left) / 7.0;
    g.m_lineHeight = entryLineHeight;
    return g;
}

bool GridGeometry::drawsCells() const
{
    return m_rowHeight > 0 && m_columnWidth >= 1 && m_shape.weekRows > 0;
}

int GridGeometry::columnEdge(int i) const
{
    return static_cast<int>(std::floor(m_left + i * m_columnWidth));
}

GridRect GridGeometry::cellRect(int day) const
{
    if (day < 1 || day > m_shape.daysInMonth)
        return {};
    return cellRectAt(day + m_shape.firstWeekday - 1);
}

GridRect GridGeometry::cellRectAt(int index) const
{
    if (!drawsCells() || index < 0 || index >= 7 * m_shape.weekRows)
        return {};
    const int column = index % 7;
    const int rowTop = m_gridTop + index / 7 * m_rowHeight;
    GridRect r;
    r.left = columnEdge(column) + 2;
    if (m_rule == GridRule::Pane) {
        r.top = rowTop + 1;
        r.right = columnEdge(column + 1);
        r.bottom = rowTop + m_rowHeight;
    } else {
        r.top = rowTop + 2;
        r.right = columnEdge(column + 1) - 2;
        r.bottom = r.top + m_rowHeight - 3;
    }
    return r;
}

int GridGeometry::dayAt(int x, int y) const
{
    if (!drawsCells() || y < m_gridTop || x <= columnEdge(0) || x >= columnEdge(7))
        return 0;
    const int row = floorDiv(y - m_gridTop, m_rowHeight);
    if (row >= m_shape.weekRows)
        return 0;
    int c = 0;
    while (c < 7 && columnEdge(c) < x)
        ++c;
    const int day = c + 7 * row - m_shape.firstWeekday;
    return day >= 1 && day <= m_shape.daysInMonth ? day : 0;
}

int GridGeometry::shownEntries(int count) const
{
    if (m_rule != GridRule::Calendar || m_lineHeight <= 0 || count <= 0 || !drawsCells())
        return 0;
    // Entry i spans [top + L + 1 + i L, top + L + 1 + (i + 1) L) and must end inside the cell.
    const int cellHeight = m_rowHeight - 3;
    const int fit = (cellHeight - 1 - m_lineHeight) / m_lineHeight;
    return std::clamp(fit, 0, count);
}

int GridGeometry::entryTop(int day, int i) const
{
    return cellRect(day).top + m_lineHeight + 1 + i * m_lineHeight;
}

GridRect GridGeometry::overflowMark(int day) const
{
    const GridRect cell = cellRect(day);
    if (cell.isEmpty())
        return {};
    return {cell.right - 10, cell.bottom - 10, cell.right - 1, cell.bottom - 1};
}

int GridGeometry::entryAt(int x, int y, int day, int entryCount) const
{
    if (dayAt(x, y) != day || day == 0)
        return -1;
    const int shown = shownEntries(entryCount);
    if (shown == 0)
        return -1;
    if (shown < entryCount && overflowMark(day).contains(x, y))
        return -1;
    const int line = floorDiv(y - entryTop(day, 0), m_lineHeight);
    return line >= 0 && line < shown ? line : -1;
}

TDate FirstOfMonthOffset(const TDate &date, int months)
{
    if (!date.isValid())
        return date;
    TDate first(1, date.Month(), date.Year());
    first.AddMonths(months);
    return first.isValid() && first.Year() >= 1 ? first : date;
}

TDate DaysOffset(const TDate &date, int days)
{
    const std::int64_t jd = static_cast<std::int64_t>(date.dayNumber) + days;
    if (!date.isValid() || jd <= 0)
        return date;
    const TDate moved = TDate::fromDayNumber(static_cast<std::uint32_t>(jd));
    // Past the last real date the day numbers stand for undated anniversaries.
    return moved.Year() >= 1 && moved.Year() <= 9999 ? moved : date;
}

int MonthsBetween(const TDate &from, const TDate &to)
{
    return (static_cast<int>(to.Year()) - static_cast<int>(from.Year())) * 12
        + static_cast<int>(to.Month()) - static_cast<int>(from.Month());
}

int ScrollPositionOf(const TDate &windowStart, const TDate &shown)
{
    return std::clamp(MonthsBetween(windowStart, shown), 0, maxScrollMonths);
}

TDate DateAtScrollPosition(const TDate &windowStart, int position)
{
    TDate d = windowStart;
    d.AddMonths(std::clamp(position, 0, maxScrollMonths));
    return d.isValid() ? d : windowStart;
}

} // namespace dvw
