#pragma once

#include "core/tdate.h"
#include "monthgrid.h"
#include "textmeasure.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dvw {

class TApptDocument;

// Page units: a printout is laid out in units of 1/96 inch, whatever the device; the
// drawing scales them to the printer's resolution.
inline constexpr int printUnitsPerInch = 96;
// The most pages a list printout by end date gives; printing by pages asks 1..100.
inline constexpr int maxPrintPages = 100;
inline constexpr int maxPrintColumns = 4;

// A rectangle of a page, in page units.
using PrintRect = GridRect;

// The kinds of things a list page shows. "Continued" is the heading drawn above an entry
// that goes on from the column before.
enum class PrintItemKind { Date, Notes, Category, Entry, Note, Continued };

// One line of the list to print, taken from the document when the printout starts: the
// printout never reads the document again, so a change meanwhile cannot move its pages.
struct PrintSourceItem
{
    PrintItemKind kind = PrintItemKind::Entry;
    std::int32_t line = -1; // entries: the line number; headings: -1
    bool done = false;
    TDate date; // headings and entries of a day: the day; notes: no date
    std::string text; // the file's bytes as printed (heading words, birthday age put in)
};

struct ListPrintRange
{
    TDate from; // print start date
    TDate through; // print end date (printing by end date)
    bool byPages = true; // PAGE: to the end of the index, cut by the page count
    bool includeNotes = false;
    bool european = false; // headings name the day before the month
};

// The lines a list printout prints, in list order: the notes block when asked, then the
// days from the start date's heading. Start and end are held inside the window; a start
// on a day without instances moves to the next day that has some, an end to the nearest
// earlier one; with no such day between them there is no dated part. Day headings whose
// entries are all marked "do not print" and the marked entries are left out.
// At most `most` items are taken: more than the printout's pages can hold need not be.
std::vector<PrintSourceItem> ListPrintSourceOf(const TApptDocument &doc,
                                               const ListPrintRange &range,
                                               std::size_t most = SIZE_MAX);

// Margins and the wallet's place on the page, in inches.
struct PrintMargins
{
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

struct ListPrintSetup
{
    PrintRect device; // the device page, in page units
    bool wallet = false; // the small booklet page instead of the margins
    PrintMargins margins; // list style
    PrintMargins walletPlace; // wallet style: left, top, width (right), height (bottom)
    int columns = 1; // outside 1..4: one column
    bool byPages = true;
    int pages = 1; // outside 1..100: one page
    bool border = false; // the wallet page always has one
    std::string caption; // name and date, written across the top border
    // Wallet style: the wallet font's size; list style: the body font's height. The line
    // height is 5/4 of it and the inner margin 5/8.
    int baseHeight = 16;
};

struct ListGeometry
{
    PrintRect page; // inside the device page
    int columns = 1;
    int columnWidth = 0;
    int textWidth = 0; // 96% of the column width
    int lineHeight = 1;
    int innerMargin = 0;
    int usableHeight = 0; // of a column, inside the inner margins
    bool border = false;
};

ListGeometry ListGeometryOf(const ListPrintSetup &setup);
// The pages a printout may have: by pages its count (outside 1..100: one), else 100.
int PageLimitOf(const ListPrintSetup &setup);
// The most items the printout's pages can hold (each item is at least a line high).
std::size_t MostPrintableItems(const ListPrintSetup &setup);

struct PlacedItem
{
    int column = 0; // from 0
    int x = 0; // left of the first line; later lines start 10 units further right
    int y = 0; // top of the first line
    int height = 0;
    PrintItemKind kind = PrintItemKind::Entry;
    std::int32_t line = -1;
    bool done = false;
    bool cut = false; // lines left out: the entry is taller than a column
    TDate date;
    std::vector<std::u32string> lines;
};

struct ListPage
{
    int number = 0;
    std::vector<PlacedItem> items;
};

struct PrintCaption
{
    std::u32string text;
    PrintRect box; // drawn opaque, across the top border near the right corner
};

// How a printout ended: every item placed, a column that could not take even its first
// item ("Won't fit."), or the page limit reached with items left.
enum class PrintEnd { More, Done, WontFit, Cut };

// A list or wallet printout laid out page by page. Asking for a page lays out the pages
// before it first; a page number past the last page gives none.
class ListPrintout
{
public:
    ListPrintout(std::vector<PrintSourceItem> items, const ListPrintSetup &setup,
                 const TextMeasure &measure);

    const ListGeometry &geometry() const { return m_geometry; }
    const PrintCaption &caption() const { return m_caption; }
    // Page p (from 1), or null when the printout ends before it.
    const ListPage *page(int p);
    // Lays out every page; the number of pages.
    int pageCount();
    // How the printout ended, once its last page is laid out; More before.
    PrintEnd end() const { return m_end; }
    int pagesLaidOut() const { return static_cast<int>(m_pages.size()); }

private:
    struct Measured
    {
        WrappedText wrapped;
        int height = 0;
    };
    static bool isHeading(PrintItemKind kind)
    {
        return kind == PrintItemKind::Date || kind == PrintItemKind::Notes;
    }
    const Measured &measured(std::size_t i);
    void layOutNextPage();
    // The end (exclusive) of the column that starts at `start`, or `start` when not even
    // the first item fits.
    std::size_t fitColumn(std::size_t start, bool lastColumn);
    void placeColumn(ListPage &page, int column, std::size_t start, std::size_t end);
    PlacedItem placed(int column, int y, PrintItemKind kind, const WrappedText &text) const;
    int pageLimit() const;

    std::vector<PrintSourceItem> m_items;
    std::vector<Measured> m_measured;
    std::vector<bool> m_isMeasured;
    ListPrintSetup m_setup;
    const TextMeasure &m_measure;
    ListGeometry m_geometry;
    PrintCaption m_caption;
    WrappedText m_continued;
    int m_continuedHeight = 0;
    std::vector<ListPage> m_pages;
    std::size_t m_next = 0; // the first item not yet placed
    PrintEnd m_end = PrintEnd::More;
};

// "NAME DATE": the caption of list pages and the footer of month pages.
std::string PrintCaptionText(const std::string &printName, const std::string &dateText);
const char *PrintItemKindName(PrintItemKind kind);

} // namespace dvw
