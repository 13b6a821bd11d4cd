#include "filerows.h"

#include "shell/commands.h"

#include <algorithm>
#include <cctype>

namespace dvw {

std::string FileRowText(std::string_view text)
{
    std::string row(text);
    std::replace_if(
        row.begin(), row.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return row;
}

std::optional<int> FileViewCharacterCommand(char character, bool ctrl)
{
    const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
    if (ctrl) {
        switch (key) {
        case 'X':
            return Cm::EditCut;
        case 'C':
            return Cm::EditCopy;
        case 'V':
            return Cm::EditPaste;
        case 'F':
            return Cm::Find;
        default:
            return std::nullopt;
        }
    }
    switch (key) {
    case 'I':
        return Cm::InsertAppt;
    case 'E':
        return Cm::EditAppt;
    case 'D':
    case '.':
        return Cm::EditCut;
    case ' ':
        return Cm::FileToggleMark;
    case 'F':
        return Cm::Find;
    case 'N':
        return Cm::FindNext;
    case 'V':
        return Cm::ViewAppointment;
    default:
        return std::nullopt;
    }
}

int FileViewEnterCommand()
{
    return Cm::EditAppt;
}

void FileRows::setCount(int count)
{
    m_count = std::max(count, 0);
    m_rows.lastLine = std::max(m_count - 1, 0);
    m_rows.cursor = std::clamp(m_rows.cursor, 0, m_rows.lastLine);
    m_rows.prevCursor = std::clamp(m_rows.prevCursor, 0, m_rows.lastLine);
    m_rows.scrollTo(m_rows.topRow);
}

void FileRows::setCurrent(int row)
{
    m_rows.cursor = std::clamp(row, 0, m_rows.lastLine);
    scrollToCursor();
}

void FileRows::move(FileMove move)
{
    const int page = std::max(m_rows.pageRows - 1, 1);
    switch (move) {
    case FileMove::Up:
        setCurrent(m_rows.cursor - 1);
        break;
    case FileMove::Down:
        setCurrent(m_rows.cursor + 1);
        break;
    case FileMove::PageUp:
        setCurrent(m_rows.cursor - page);
        break;
    case FileMove::PageDown:
        setCurrent(m_rows.cursor + page);
        break;
    case FileMove::Home:
        setCurrent(0);
        break;
    case FileMove::End:
        setCurrent(m_rows.lastLine);
        break;
    }
}

int FileRows::rowAt(int y, int rowHeight) const
{
    if (y < 0 || rowHeight <= 0)
        return -1;
    const int row = m_rows.topRow + y / rowHeight;
    return row < m_count ? row : -1;
}

void FileRows::scrollToCursor()
{
    if (m_rows.cursor < m_rows.topRow)
        m_rows.scrollTo(m_rows.cursor);
    else if (m_rows.cursor > m_rows.lastVisibleRow())
        m_rows.scrollTo(m_rows.cursor - m_rows.pageRows + 1);
}

} // namespace dvw
