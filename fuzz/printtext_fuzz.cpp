// Arbitrary bytes as printed text: the first two bytes choose the character width and
// the column width, the rest is the text. Decoding gives back valid UTF-8 byte for byte,
// and wrapping keeps every character that is no blank or line break, in order, at least
// one a line, unless the line limit cut the text.
#include "store/decodedtext.h"
#include "store/textmeasure.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool isGap(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n';
}

std::u32string withoutGaps(std::u32string_view text)
{
    std::u32string out;
    for (char32_t c : text)
        if (!isGap(c))
            out.push_back(c);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int charWidth = data[0] % 16 + 1;
    const double width = data[1] * 2.0;
    const std::string_view bytes(reinterpret_cast<const char *>(data + 2), size - 2);
    const std::u32string text = dvw::DecodeText(bytes);
    if (text.size() > bytes.size())
        std::abort();
    const std::string utf8 = dvw::EncodeUtf8(text);
    if (dvw::DecodeText(utf8) != text)
        std::abort();
    if (text.size() < bytes.size() && utf8 != bytes)
        std::abort(); // a text shorter than its bytes was read as UTF-8
    const dvw::FixedWidthMeasure measure(charWidth, {10, 10, 10});
    const int maxLines = data[0] / 16 + 1;
    const dvw::WrappedText w
        = dvw::WrapText(text, measure, dvw::PrintFont::Entry, width, 10, 20, maxLines);
    if (w.lines.empty() || static_cast<int>(w.lines.size()) > maxLines)
        std::abort();
    std::u32string joined;
    for (const std::u32string &line : w.lines) {
        if (!line.empty() && isGap(line.back()) && line.back() != U'\r' && line.back() != U'\n')
            std::abort(); // trailing blanks are dropped
        joined += line;
    }
    const std::u32string kept = withoutGaps(joined);
    const std::u32string all = withoutGaps(text);
    if (w.cut ? all.compare(0, kept.size(), kept) != 0 : kept != all)
        std::abort();
    return 0;
}
