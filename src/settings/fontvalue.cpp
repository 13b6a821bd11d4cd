#include "fontvalue.h"

#include "settingvalue.h"

#include <cstdint>

namespace dvw {

namespace {

// Letters after the size that are looked at; more are ignored.
constexpr std::size_t kTailLength = 9;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

void skipBlanks(std::string_view &text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A decimal number with an optional sign. The value saturates instead of overflowing;
// any number past the size range is ignored anyway.
bool readNumber(std::string_view &text, std::int64_t &value)
{
    std::string_view rest = text;
    bool negative = false;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty() || !isDigit(rest.front()))
        return false;
    value = 0;
    while (!rest.empty() && isDigit(rest.front())) {
        if (value < 1000000)
            value = value * 10 + (rest.front() - '0');
        rest.remove_prefix(1);
    }
    if (negative)
        value = -value;
    text = rest;
    return true;
}

// The letters right after the size, up to the next blank.
std::string_view tailOf(std::string_view text)
{
    skipBlanks(text);
    std::size_t length = 0;
    while (length < text.size() && length < kTailLength && !isBlank(text[length]))
        ++length;
    return text.substr(0, length);
}

} // namespace

FontSlot parseFontValue(std::string_view text, const FontSlot &current)
{
    FontSlot font = current;
    const std::size_t comma = text.find(',');
    const std::string face = cutToCharacters(std::string(text.substr(0, comma)), kFontFaceLength);
    if (!face.empty())
        font.face = face;
    if (comma == std::string_view::npos)
        return font;

    std::string_view rest = text.substr(comma + 1);
    skipBlanks(rest);
    std::int64_t size = 0;
    if (!readNumber(rest, size))
        return font;
    if (size >= kFontSizeMin && size <= kFontSizeMax)
        font.size = static_cast<int>(size);

    const std::string_view tail = tailOf(rest);
    if (tail.empty())
        return font;
    const std::string_view firstTwo = tail.substr(0, 2);
    font.bold = firstTwo.find('B') != std::string_view::npos;
    font.italic = firstTwo.find('I') != std::string_view::npos;
    return font;
}

std::string formatFontValue(const FontSlot &font)
{
    std::string text = font.face + ", " + std::to_string(font.size);
    if (font.bold)
        text += 'B';
    if (font.italic)
        text += 'I';
    if (!font.bold && !font.italic)
        text += kPlainMark;
    return text;
}

} // namespace dvw
