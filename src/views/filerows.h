#pragma once

#include "scrollrows.h"

#include <optional>
#include <string>
#include <string_view>

namespace dvw {

// The rules of the file view without a widget: one row per line of the document's line
// table, in file order.

// What a row shows of its line: the whole text on one row, every CR and LF a blank.
std::string FileRowText(std::string_view text);

// The command a typed character (letters in any case) runs in the file view, with or
// without Ctrl; nothing for characters the view does not take.
std::optional<int> FileViewCharacterCommand(char character, bool ctrl);
// Enter edits the current row.
int FileViewEnterCommand();
// F1's help topic.
inline constexpr int FileViewHelpTopic = 130;

// The cursor keys of the file view.
enum class FileMove { Up, Down, PageUp, PageDown, Home, End };

// Rows and cursor kept in step with the line table: after any change of the rows the
// cursor stays on a row (0 when there is none) and the scroller in range.
class FileRows
{
public:
    int count() const { return m_count; }
    int current() const { return m_rows.cursor; }
    ScrollRows &rows() { return m_rows; }
    const ScrollRows &rows() const { return m_rows; }

    // The line table now holds `count` lines; the cursor stays where it was, moved up onto
    // the last row when that is gone.
    void setCount(int count);
    // Makes the row current (held to the rows) and scrolls so that it shows.
    void setCurrent(int row);
    void move(FileMove move);
    // The row under a window point `y` pixels from the top, or -1 below the last row.
    int rowAt(int y, int rowHeight) const;

private:
    void scrollToCursor();

    int m_count = 0;
    ScrollRows m_rows {0, 0, 0, 0, 1, 0};
};

} // namespace dvw
