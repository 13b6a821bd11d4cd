#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace dvw {

// The fonts a printout writes with.
enum class PrintFont { Heading, Entry, Caption };
inline constexpr std::size_t printFontCount = 3;

// How wide and tall printed text is, in page units. The page layout asks only this, so
// it runs with real fonts (the drawing library's measurer) and without any (the
// command-line tool's fixed character width).
class TextMeasure
{
public:
    virtual ~TextMeasure() = default;
    // The advance of one character of the decoded text.
    virtual double advance(PrintFont font, char32_t c) const = 0;
    // The height of a line of text in the font.
    virtual int height(PrintFont font) const = 0;

    double width(PrintFont font, std::u32string_view text) const;
};

// Every character `charWidth` units wide; each font as tall as given.
class FixedWidthMeasure : public TextMeasure
{
public:
    FixedWidthMeasure(int charWidth, const std::array<int, printFontCount> &heights)
        : m_charWidth(charWidth)
        , m_heights(heights)
    { }
    double advance(PrintFont, char32_t) const override { return m_charWidth; }
    int height(PrintFont font) const override { return m_heights[static_cast<std::size_t>(font)]; }

private:
    int m_charWidth;
    std::array<int, printFontCount> m_heights;
};

// One text broken into lines for a column.
struct WrappedText
{
    std::vector<std::u32string> lines; // without trailing blanks; at least one
    bool cut = false; // lines were left out because maxLines was reached
};

// Breaks a text for a column `width` units wide (text width): the first line starts
// firstIndent units in, the others restIndent, and a line holds characters while its
// right end stays below width - 4. A line ends before a line break; a line too long
// breaks after its last blank, or, without one, before the first character that does
// not fit, keeping at least one character. Blanks, tabs and line breaks after a break
// are skipped. At most maxLines lines (at least one) are kept.
WrappedText WrapText(std::u32string_view text, const TextMeasure &measure, PrintFont font,
                     double width, int firstIndent, int restIndent, int maxLines);

} // namespace dvw
