#pragma once

#include <cstddef>
#include <string_view>

namespace dvw {

// A read position in a text. Anything at or past the end reads as NUL, so readers can
// look ahead freely without ever touching memory beyond the text.
struct TextCursor
{
    std::string_view text;
    std::size_t pos = 0;

    char peek(std::size_t ahead = 0) const
    {
        const std::size_t at = pos + ahead;
        return at < text.size() ? text[at] : '\0';
    }
    bool atEnd() const { return pos >= text.size(); }
    // Steps over one character; never moves past the end.
    void advance()
    {
        if (pos < text.size())
            ++pos;
    }
    // Blanks are spaces only; a tab is not a blank.
    void skipBlanks()
    {
        while (peek() == ' ')
            ++pos;
    }
};

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline char toUpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace dvw
