#include "listprintout.h"

#include "decodedtext.h"
#include "listwording.h"
#include "tapptdocument.h"

#include <algorithm>

namespace dvw {

namespace {

constexpr int firstIndent = 10;
constexpr int restIndent = 20;
// The wallet page sits this far right of and below its margins.
constexpr int walletShift = 10;

TDate clampDate(const TDate &d, const TDate &low, const TDate &high)
{
    const TDate day = TDate::fromDayNumber(d.dayNumber);
    return day < low ? low : high < day ? high : day;
}

std::int32_t headingAt(const OccurrenceEngine &engine, const TDate &day)
{
    return engine.dayPosition(static_cast<int>(day.Month()), static_cast<int>(day.DayOfMonth()));
}

struct DatedPart
{
    std::int32_t first = -1; // the start day's heading
    std::int32_t last = -1; // inclusive
};

DatedPart datedPartOf(const TApptDocument &doc, const ListPrintRange &range)
{
    const OccurrenceEngine &engine = doc.engine();
    const DateWindow &w = doc.window();
    const auto &index = engine.index();
    DatedPart part;
    if (engine.firstDayHeading() < 0 || index.empty())
        return part;
    const TDate from = engine.NextDayWithInstances(clampDate(range.from, w.start, w.end));
    part.first = headingAt(engine, from);
    if (part.first < 0)
        return part;
    if (range.byPages) {
        part.last = static_cast<std::int32_t>(index.size()) - 1;
        return part;
    }
    const TDate through = engine.PrevDayWithInstances(clampDate(range.through, w.start, w.end));
    std::int32_t end = through < from ? -1 : headingAt(engine, through);
    if (end < 0) {
        part.first = -1;
        return part;
    }
    while (static_cast<std::size_t>(end) + 1 < index.size()
           && index[static_cast<std::size_t>(end) + 1].kind != BlankLine)
        ++end;
    part.last = end;
    return part;
}

void appendIndexLine(std::vector<PrintSourceItem> &out, const TApptDocument &doc, const IndexTy &e,
                     bool european, TDate &day)
{
    const std::vector<TimeString> &lines = doc.lines();
    switch (e.kind) {
    case DateHeading:
        day = HeadingDate(doc.window().start, e);
        // A day whose entries are all marked "do not print" prints no heading.
        if (e.mark != 0)
            out.push_back({PrintItemKind::Date, -1, false, day,
                           DateHeadingText(doc.window().start, e, european)});
        break;
    case NotesHeading:
        day = TDate();
        out.push_back({PrintItemKind::Notes, -1, false, TDate(), "Notes"});
        break;
    case CategoryHeading:
        out.push_back({PrintItemKind::Category, -1, false, TDate(),
                       std::string(doc.categoryDescription(e.value))});
        break;
    case DatedEntry:
    case NoteEntry: {
        if (e.value < 0 || static_cast<std::size_t>(e.value) >= lines.size())
            break;
        const TimeString &line = lines[static_cast<std::size_t>(e.value)];
        if (line.noPrint)
            break;
        out.push_back({e.kind == DatedEntry ? PrintItemKind::Entry : PrintItemKind::Note, e.value,
                       e.mark != 0, day, ListEntryText(line, e, true)});
        break;
    }
    default:
        break;
    }
}

} // namespace

std::vector<PrintSourceItem> ListPrintSourceOf(const TApptDocument &doc,
                                               const ListPrintRange &range, std::size_t most)
{
    const auto &index = doc.engine().index();
    std::vector<PrintSourceItem> out;
    TDate day;
    const auto appendRange = [&](std::int32_t first, std::int32_t last) {
        for (std::int32_t i = std::max(0, first);
             i <= last && static_cast<std::size_t>(i) < index.size() && out.size() < most; ++i)
            appendIndexLine(out, doc, index[static_cast<std::size_t>(i)], range.european, day);
    };
    const DatedPart dated = datedPartOf(doc, range);
    if (range.includeNotes) {
        // The notes block is everything before the first day's heading.
        const std::int32_t firstDay = doc.engine().firstDayHeading();
        appendRange(0, firstDay < 0 ? static_cast<std::int32_t>(index.size()) - 1 : firstDay - 1);
    }
    if (dated.first >= 0)
        appendRange(dated.first, dated.last);
    return out;
}

std::string PrintCaptionText(const std::string &printName, const std::string &dateText)
{
    return printName + " " + dateText;
}

const char *PrintItemKindName(PrintItemKind kind)
{
    switch (kind) {
    case PrintItemKind::Date:
        return "date";
    case PrintItemKind::Notes:
        return "notes";
    case PrintItemKind::Category:
        return "category";
    case PrintItemKind::Entry:
        return "entry";
    case PrintItemKind::Note:
        return "note";
    case PrintItemKind::Continued:
        return "continued";
    }
    return "entry";
}

ListGeometry ListGeometryOf(const ListPrintSetup &setup)
{
    ListGeometry g;
    const PrintRect &r = setup.device;
    const auto units = [](double inches) {
        return static_cast<int>(std::clamp(inches, -1000.0, 1000.0) * printUnitsPerInch);
    };
    PrintRect p;
    if (setup.wallet) {
        const PrintMargins &w = setup.walletPlace;
        p.left = r.left + units(w.left);
        p.top = r.top + units(w.top);
        p.right = p.left + units(w.right) + walletShift;
        p.bottom = p.top + units(w.bottom) + walletShift;
        p.left += walletShift;
        p.top += walletShift;
    } else {
        p.left = r.left + units(setup.margins.left);
        p.right = r.right - units(setup.margins.right);
        p.top = r.top + units(setup.margins.top);
        p.bottom = r.bottom - units(setup.margins.bottom);
    }
    // The page never reaches past the device page.
    p.left = std::clamp(p.left, r.left, r.right);
    p.right = std::clamp(p.right, p.left, r.right);
    p.top = std::clamp(p.top, r.top, r.bottom);
    p.bottom = std::clamp(p.bottom, p.top, r.bottom);
    g.page = p;
    g.columns = setup.columns >= 1 && setup.columns <= maxPrintColumns ? setup.columns : 1;
    g.columnWidth = p.width() / g.columns;
    g.textWidth = g.columnWidth * 96 / 100;
    const int a = std::max(1, setup.baseHeight);
    g.lineHeight = std::max(1, a * 5 / 4);
    g.innerMargin = a * 5 / 8;
    g.usableHeight = p.height() - 2 * g.innerMargin;
    g.border = setup.wallet || setup.border;
    return g;
}

int PageLimitOf(const ListPrintSetup &setup)
{
    if (!setup.byPages)
        return maxPrintPages;
    return setup.pages >= 1 && setup.pages <= maxPrintPages ? setup.pages : 1;
}

std::size_t MostPrintableItems(const ListPrintSetup &setup)
{
    const ListGeometry g = ListGeometryOf(setup);
    const int pages = PageLimitOf(setup);
    const auto perColumn = static_cast<std::size_t>(std::max(0, g.usableHeight) / g.lineHeight + 1);
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(g.columns) * perColumn;
}

ListPrintout::ListPrintout(std::vector<PrintSourceItem> items, const ListPrintSetup &setup,
                           const TextMeasure &measure)
    : m_items(std::move(items))
    , m_measured(m_items.size())
    , m_isMeasured(m_items.size(), false)
    , m_setup(setup)
    , m_measure(measure)
    , m_geometry(ListGeometryOf(setup))
{
    const int n = m_geometry.lineHeight;
    m_caption.text = DecodeText(setup.caption);
    const int w = static_cast<int>(measure.width(PrintFont::Caption, m_caption.text));
    const int h = measure.height(PrintFont::Caption);
    const PrintRect &p = m_geometry.page;
    m_caption.box.left = p.right - static_cast<int>(w * 1.2);
    m_caption.box.top = p.top - 5;
    m_caption.box.right = m_caption.box.left + w;
    m_caption.box.bottom = m_caption.box.top + h;
    m_continued = WrapText(U"Continued", measure, PrintFont::Heading, m_geometry.textWidth,
                           firstIndent, restIndent, 1);
    m_continuedHeight = static_cast<int>(m_continued.lines.size()) * n;
}

int ListPrintout::pageLimit() const
{
    return PageLimitOf(m_setup);
}

const ListPrintout::Measured &ListPrintout::measured(std::size_t i)
{
    if (!m_isMeasured[i]) {
        const PrintSourceItem &item = m_items[i];
        const int n = m_geometry.lineHeight;
        // An item keeps only the lines that fit in a column on their own (under the
        // "Continued" line for an entry), so every item fits into an empty column.
        const int room = isHeading(item.kind) ? m_geometry.usableHeight
                                              : m_geometry.usableHeight - m_continuedHeight;
        const int most = std::max(1, (room - 1) / n);
        const PrintFont font = item.kind == PrintItemKind::Entry || item.kind == PrintItemKind::Note
            ? PrintFont::Entry
            : PrintFont::Heading;
        Measured &m = m_measured[i];
        m.wrapped = WrapText(DecodeText(item.text), m_measure, font, m_geometry.textWidth,
                             firstIndent, restIndent, most);
        m.height = static_cast<int>(m.wrapped.lines.size()) * n;
        m_isMeasured[i] = true;
    }
    return m_measured[i];
}

std::size_t ListPrintout::fitColumn(std::size_t start, bool lastColumn)
{
    const int n = m_geometry.lineHeight;
    int sum = 0;
    std::size_t lastHeading = start;
    bool headingMet = false;
    for (std::size_t i = start; i < m_items.size(); ++i) {
        const bool heading = isHeading(m_items[i].kind);
        int height = measured(i).height + sum;
        if (heading && i != start)
            height += n; // the blank line above a heading
        if (!heading && i == start)
            height += m_continuedHeight;
        if (heading) {
            lastHeading = i;
            headingMet = true;
        }
        if (height < m_geometry.usableHeight) {
            sum = height;
            continue;
        }
        std::size_t end = i;
        if (lastColumn) {
            // An unfinished day moves whole to the next page.
            if (headingMet && lastHeading > start)
                end = lastHeading;
        } else if (end > start + 1 && isHeading(m_items[end - 1].kind)) {
            --end; // no heading is left at the bottom of a column
        }
        return end;
    }
    return m_items.size();
}

PlacedItem ListPrintout::placed(int column, int y, PrintItemKind kind,
                                const WrappedText &text) const
{
    PlacedItem p;
    p.column = column;
    p.x = m_geometry.page.left + column * m_geometry.columnWidth + firstIndent;
    p.y = y;
    p.height = static_cast<int>(text.lines.size()) * m_geometry.lineHeight;
    p.kind = kind;
    p.cut = text.cut;
    p.lines = text.lines;
    return p;
}

void ListPrintout::placeColumn(ListPage &page, int column, std::size_t start, std::size_t end)
{
    const int n = m_geometry.lineHeight;
    int y = m_geometry.page.top + m_geometry.innerMargin;
    for (std::size_t i = start; i < end; ++i) {
        const PrintSourceItem &item = m_items[i];
        const bool heading = isHeading(item.kind);
        if (i == start && !heading) {
            page.items.push_back(placed(column, y, PrintItemKind::Continued, m_continued));
            y += m_continuedHeight;
        }
        if (heading && i != start)
            y += n;
        PlacedItem p = placed(column, y, item.kind, measured(i).wrapped);
        p.line = item.line;
        p.done = item.done;
        p.date = item.date;
        y += p.height;
        page.items.push_back(std::move(p));
    }
}

void ListPrintout::layOutNextPage()
{
    ListPage page;
    page.number = static_cast<int>(m_pages.size()) + 1;
    for (int column = 0; column < m_geometry.columns && m_next < m_items.size(); ++column) {
        const std::size_t end = fitColumn(m_next, column == m_geometry.columns - 1);
        if (end == m_next) {
            m_end = PrintEnd::WontFit;
            break;
        }
        placeColumn(page, column, m_next, end);
        m_next = end;
    }
    // A page whose first column could take nothing is not printed.
    if (m_end == PrintEnd::WontFit && page.items.empty())
        return;
    m_pages.push_back(std::move(page));
    if (m_end == PrintEnd::WontFit)
        return;
    const bool allPlaced = m_next >= m_items.size();
    const bool last = static_cast<int>(m_pages.size()) >= pageLimit();
    // By pages exactly that many pages print; by end date the items decide.
    if (m_setup.byPages) {
        if (last)
            m_end = PrintEnd::Done;
    } else if (allPlaced) {
        m_end = PrintEnd::Done;
    } else if (last) {
        m_end = PrintEnd::Cut;
    }
}

const ListPage *ListPrintout::page(int p)
{
    if (p < 1)
        return nullptr;
    while (static_cast<int>(m_pages.size()) < p && m_end == PrintEnd::More)
        layOutNextPage();
    return p <= static_cast<int>(m_pages.size()) ? &m_pages[static_cast<std::size_t>(p - 1)]
                                                 : nullptr;
}

int ListPrintout::pageCount()
{
    while (m_end == PrintEnd::More)
        layOutNextPage();
    return static_cast<int>(m_pages.size());
}

} // namespace dvw
