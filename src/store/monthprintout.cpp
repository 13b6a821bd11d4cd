#include "monthprintout.h"

#include "decodedtext.h"
#include "tapptdocument.h"

#include <algorithm>

namespace dvw {

namespace {

int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

std::pair<int, int> MonthRange::monthOfPage(int p) const
{
    const int d = startMonth + p - 2; // months after January of the start year
    return {startYear + floorDiv(d, 12), d - floorDiv(d, 12) * 12 + 1};
}

GridRect MonthCalendarRect(const PrintRect &page)
{
    const int m = static_cast<int>(page.width() * 0.08);
    return {page.left + m, page.top + static_cast<int>(m * 0.6), page.right - m, page.bottom - m};
}

std::vector<std::pair<int, int>> SmallMonthCells(const MonthShape &shape, const GridRect &calendar)
{
    // Only a month of 28 days from a Sunday leaves no empty cell.
    const bool full = shape.daysInMonth == 28 && shape.firstWeekday == 0;
    if (calendar.bottom >= calendar.right || full || shape.daysInMonth == 0)
        return {};
    switch (shape.firstWeekday) {
    case 0:
        return {{33, -1}, {34, 1}};
    case 1:
        return {{0, -1}, {34, 1}};
    default:
        return {{0, -1}, {1, 1}};
    }
}

MonthPrintout::MonthPrintout(const TApptDocument &doc, const MonthPrintSetup &setup)
{
    const int count = std::clamp(setup.range.count(), 0, maxPrintMonths);
    const GridRect rect = MonthCalendarRect(setup.device);
    m_pages.reserve(static_cast<std::size_t>(count));
    for (int p = 1; p <= count; ++p) {
        const auto [year, month] = setup.range.monthOfPage(p);
        MonthPage page;
        page.number = p;
        page.rect = rect;
        MonthGridRequest request;
        request.year = year;
        request.month = month;
        request.shadeWeekends = setup.shadeWeekends;
        request.printedOnly = true;
        page.grid = BuildMonthGrid(doc.engine(), doc.lines(), request);
        page.geometry = GridGeometry::calendar(page.grid.shape, rect, setup.titleHeight,
                                               setup.entryLineHeight);
        for (const auto &[cell, step] : SmallMonthCells(page.grid.shape, rect)) {
            const int before = month - 1 + step; // 0-based month, may leave the year
            const int y = year + floorDiv(before, 12);
            const int m = before - floorDiv(before, 12) * 12 + 1;
            GridRect r = page.geometry.cellRectAt(cell);
            if (r.isEmpty())
                continue;
            r.left += 1;
            r.bottom -= 1;
            page.smallMonths.push_back({MonthShapeOf(y, m, GridRule::Pane), r});
        }
        page.footer = DecodeText(setup.footer);
        page.footerRight = rect.right - 1;
        page.footerTop = rect.bottom + 2;
        m_pages.push_back(std::move(page));
    }
}

const MonthPage *MonthPrintout::page(int p) const
{
    if (p < 1 || p > pageCount())
        return nullptr;
    return &m_pages[static_cast<std::size_t>(p - 1)];
}

} // namespace dvw
