#pragma once

#include "scrollrows.h"
#include "store/indexty.h"

#include <cstdint>
#include <vector>

namespace dvw {

class OccurrenceEngine;
class TDate;

// The row and cursor rules of the appointment list over one display index: which rows
// take the cursor, where each key moves it and how the list scrolls with it. Only
// DatedEntry and NoteEntry rows are selectable. Every rule looks at a few rows around the
// cursor, never at the whole index, so a long index costs nothing per key.
class ApptRows
{
public:
    enum class Key { PageUp, PageDown, End, Home, Up, Down };

    // The index is not owned and must outlive this object (or be replaced by setIndex).
    explicit ApptRows(const std::vector<IndexTy> &index);

    // Takes a rebuilt index: the last line follows it; cursor and scroller are kept.
    void setIndex(const std::vector<IndexTy> &index);
    const std::vector<IndexTy> &index() const { return *m_index; }
    ScrollRows &rows() { return m_rows; }
    const ScrollRows &rows() const { return m_rows; }
    int cursor() const { return m_rows.cursor; }
    int lastLine() const { return m_rows.lastLine; }

    // The kind of row n; rows outside the index read as blank.
    std::uint8_t kindAt(int n) const;
    bool isSelectable(int n) const;
    // At or before n; 1 for n < 2, and may be 1 even when row 1 is not selectable.
    int prevSelectable(int n) const;
    // At or after n; 1 for n < 2; never past the row before the last (always a blank).
    int nextSelectable(int n) const;
    // The date or notes heading at or above n; 0 when there is none.
    int headingAbove(int n) const;

    // -1 keeps the cursor inside the visible rows, on a selectable row in the direction
    // it moved; any other value is taken as it is. True when the cursor changed from the
    // row last painted as selected (both rows then need painting).
    bool setCursor(int value);
    // A cursor key: moves the cursor and scrolls. False when the key was ignored (an empty
    // list takes no paging or arrow key).
    bool key(Key k);
    // Puts the cursor on the first entry of the date, or of the next day in the window
    // that has entries, with that day's heading as the top row. False when the date lies
    // outside the window or no day from it to the window's end has entries.
    bool goToDate(const TDate &date, const OccurrenceEngine &engine);
    // Selects a position another view chose, with its heading as the top row.
    void selectPosition(int position);
    // The row under a click at y pixels in the window, or -1 below the last line.
    int rowAt(int y, int rowHeight) const;

private:
    const std::vector<IndexTy> *m_index;
    ScrollRows m_rows;
};

} // namespace dvw
