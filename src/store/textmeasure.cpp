#include "textmeasure.h"

#include <algorithm>

namespace dvw {

namespace {

bool isLineBreak(char32_t c)
{
    return c == U'\r' || c == U'\n';
}

bool isSkipped(char32_t c)
{
    return c == U' ' || c == U'\t' || isLineBreak(c);
}

std::u32string withoutTrailingBlanks(std::u32string_view line)
{
    std::size_t n = line.size();
    while (n > 0 && (line[n - 1] == U' ' || line[n - 1] == U'\t'))
        --n;
    return std::u32string(line.substr(0, n));
}

// Where the line that starts at `from` ends (exclusive) in a room of `room` units.
std::size_t lineEnd(std::u32string_view text, std::size_t from, const TextMeasure &measure,
                    PrintFont font, double room)
{
    double x = 0;
    std::size_t lastBlank = std::u32string_view::npos;
    std::size_t i = from;
    for (; i < text.size() && !isLineBreak(text[i]); ++i) {
        x += measure.advance(font, text[i]);
        if (x >= room)
            break;
        if (text[i] == U' ' || text[i] == U'\t')
            lastBlank = i;
    }
    if (i >= text.size() || isLineBreak(text[i]))
        return i; // the rest of the line fits
    if (lastBlank != std::u32string_view::npos && lastBlank > from)
        return lastBlank + 1;
    return std::max(i, from + 1); // no blank: break where it stops fitting, one at least
}

} // namespace

double TextMeasure::width(PrintFont font, std::u32string_view text) const
{
    double w = 0;
    for (char32_t c : text)
        w += advance(font, c);
    return w;
}

WrappedText WrapText(std::u32string_view text, const TextMeasure &measure, PrintFont font,
                     double width, int firstIndent, int restIndent, int maxLines)
{
    WrappedText out;
    const int most = std::max(1, maxLines);
    std::size_t at = 0;
    do {
        const int indent = out.lines.empty() ? firstIndent : restIndent;
        const std::size_t end = lineEnd(text, at, measure, font, width - 4 - indent);
        if (static_cast<int>(out.lines.size()) == most) {
            out.cut = true;
            break;
        }
        out.lines.push_back(withoutTrailingBlanks(text.substr(at, end - at)));
        at = end;
        while (at < text.size() && isSkipped(text[at]))
            ++at;
    } while (at < text.size());
    return out;
}

} // namespace dvw
