#include "painttext.h"

#include "store/decodedtext.h"

namespace dvw {

QString PaintText(std::string_view bytes)
{
    return PaintText(DecodeText(bytes));
}

QString PaintText(std::u32string_view text)
{
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace dvw
