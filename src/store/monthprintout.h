#pragma once

#include "listprintout.h"
#include "monthgrid.h"

#include <string>
#include <vector>

namespace dvw {

class TApptDocument;

// The months a calendar printout covers, one page each.
struct MonthRange
{
    int startMonth = 1; // 1..12
    int startYear = 2000;
    int endMonth = 1;
    int endYear = 2000;

    // end month + (end year - start year) x 12 - start month + 1; 0 or less when the end
    // comes before the start.
    int count() const { return endMonth + (endYear - startYear) * 12 - startMonth + 1; }
    // The month of page p (from 1): {year, month}.
    std::pair<int, int> monthOfPage(int p) const;
};

// The longest range a printout takes: a hundred years of pages.
inline constexpr int maxPrintMonths = 1200;

struct MonthPrintSetup
{
    PrintRect device; // the device page, in page units
    MonthRange range;
    bool shadeWeekends = false;
    std::string footer; // name and date, under the calendar's right corner
    int titleHeight = 24; // of the month's title font, which the header is twice
    int entryLineHeight = 12; // of the entries' font
};

// A small calendar of the month before or after, drawn into an empty cell.
struct SmallMonth
{
    MonthShape shape; // the pane's rule: a month that ends a week keeps an empty row
    GridRect rect;
};

struct MonthPage
{
    int number = 0;
    GridRect rect; // the calendar's rectangle on the page
    MonthGrid grid; // no cursor, no today
    GridGeometry geometry;
    std::vector<SmallMonth> smallMonths;
    std::u32string footer;
    int footerRight = 0; // the footer's right end
    int footerTop = 0;
};

// The calendar's rectangle on a page: 8% of the page width in from the sides and the
// bottom, 60% of that from the top.
GridRect MonthCalendarRect(const PrintRect &page);
// Where the months before and after go, as places of the grid (from 0 at the top left):
// none when the page is not wider than high or the month fills every row (28 days from
// a Sunday).
std::vector<std::pair<int, int>> SmallMonthCells(const MonthShape &shape, const GridRect &calendar);

// A calendar printout: one month per page over the range, taken from the document when
// the printout starts (it never reads the document again, and no window moves for it).
class MonthPrintout
{
public:
    MonthPrintout(const TApptDocument &doc, const MonthPrintSetup &setup);

    int pageCount() const { return static_cast<int>(m_pages.size()); }
    // Page p (from 1), or null.
    const MonthPage *page(int p) const;

private:
    std::vector<MonthPage> m_pages;
};

} // namespace dvw
