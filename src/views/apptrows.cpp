#include "apptrows.h"

#include "store/occurrenceengine.h"

namespace dvw {

namespace {

int lastLineOf(const std::vector<IndexTy> &index)
{
    return index.empty() ? 0 : static_cast<int>(index.size()) - 1;
}

} // namespace

ApptRows::ApptRows(const std::vector<IndexTy> &index)
    : m_index(&index)
{
    m_rows.lastLine = lastLineOf(index);
}

void ApptRows::setIndex(const std::vector<IndexTy> &index)
{
    m_index = &index;
    m_rows.lastLine = lastLineOf(index);
    m_rows.scrollTo(m_rows.topRow);
}

std::uint8_t ApptRows::kindAt(int n) const
{
    if (n < 0 || n >= static_cast<int>(m_index->size()))
        return BlankLine;
    return (*m_index)[static_cast<std::size_t>(n)].kind;
}

bool ApptRows::isSelectable(int n) const
{
    const std::uint8_t kind = kindAt(n);
    return kind == DatedEntry || kind == NoteEntry;
}

int ApptRows::prevSelectable(int n) const
{
    if (n < 2)
        return 1;
    while (n > 1 && !isSelectable(n))
        --n;
    return n;
}

int ApptRows::nextSelectable(int n) const
{
    if (n < 2)
        return 1;
    const int last = m_rows.lastLine;
    while (n < last && !isSelectable(n))
        ++n;
    return n < last ? n : last - 1;
}

int ApptRows::headingAbove(int n) const
{
    if (n < 2)
        return 0;
    n = std::min(n, m_rows.lastLine);
    while (n > 0 && kindAt(n) != DateHeading && kindAt(n) != NotesHeading)
        --n;
    return n;
}

bool ApptRows::setCursor(int value)
{
    ScrollRows &r = m_rows;
    if (value == -1) {
        int cursor = r.cursor;
        if (cursor < r.topRow)
            cursor = r.topRow;
        else if (cursor > r.lastVisibleRow())
            cursor = r.lastVisibleRow();
        cursor = std::min(cursor, r.lastLine);
        cursor = cursor < r.prevCursor ? prevSelectable(cursor) : nextSelectable(cursor);
        r.cursor = cursor;
    } else {
        r.cursor = value;
    }
    if (r.cursor == r.prevCursor)
        return false;
    r.prevCursor = r.cursor;
    return true;
}

bool ApptRows::key(Key k)
{
    ScrollRows &r = m_rows;
    const bool paging = k != Key::End && k != Key::Home;
    if (paging && r.lastLine == 0)
        return false;
    switch (k) {
    case Key::PageUp:
        r.cursor = nextSelectable(r.topRow - r.pageRows);
        r.scrollTo(r.cursor - 1);
        break;
    case Key::PageDown:
        r.cursor = nextSelectable(r.topRow + r.pageRows);
        r.scrollTo(r.cursor - 1);
        break;
    case Key::End:
        r.cursor = std::max(0, r.lastLine - 1);
        r.scrollTo(r.cursor);
        break;
    case Key::Home:
        r.cursor = 1;
        r.scrollTo(0);
        break;
    case Key::Up:
        r.cursor = prevSelectable(r.cursor - 1);
        if (r.cursor - 1 < r.topRow)
            r.scrollTo(r.cursor - 1);
        break;
    case Key::Down:
        r.cursor = nextSelectable(r.cursor + 1);
        // The row just below the window scrolls in by one; a cursor further down brings
        // its row to the bottom.
        if (const int below = r.topRow + r.pageRows; r.cursor >= below)
            r.scrollTo(r.topRow + r.cursor - below + 1);
        break;
    }
    setCursor(-1);
    return true;
}

bool ApptRows::goToDate(const TDate &date, const OccurrenceEngine &engine)
{
    const DateWindow &w = engine.window();
    if (date.dayNumber < w.start.dayNumber || date.dayNumber > w.end.dayNumber)
        return false;
    // Bounded by the window: at most 365 days.
    for (std::uint32_t jd = date.dayNumber; jd <= w.end.dayNumber; ++jd) {
        const TDate day = TDate::fromDayNumber(jd);
        const int heading
            = engine.dayPosition(static_cast<int>(day.Month()), static_cast<int>(day.DayOfMonth()));
        if (heading < 0 || heading + 1 > m_rows.lastLine)
            continue;
        m_rows.scrollTo(heading);
        setCursor(heading + 1);
        return true;
    }
    return false;
}

void ApptRows::selectPosition(int position)
{
    if (position < 0) {
        setCursor(-1);
        return;
    }
    position = std::min(position, m_rows.lastLine);
    m_rows.scrollTo(headingAbove(position));
    setCursor(position);
}

int ApptRows::rowAt(int y, int rowHeight) const
{
    if (y < 0)
        return -1;
    const int row = y / std::max(1, rowHeight) + m_rows.topRow;
    return row > m_rows.lastLine || row >= static_cast<int>(m_index->size()) ? -1 : row;
}

} // namespace dvw
