#include "category.h"

namespace dvw {

std::uint32_t PackCategory(TextCursor &cursor)
{
    std::uint32_t code = 0;
    int taken = 0;
    for (; taken < 4; ++taken) {
        const char c = cursor.peek();
        if (c == '\0' || c == '=' || c == ',' || c == ' ')
            break;
        code = (code << 8) | static_cast<unsigned char>(toUpperAscii(c));
        cursor.advance();
    }
    for (; taken < 4; ++taken)
        code = (code << 8) | static_cast<unsigned char>(' ');
    return code;
}

std::string UnpackCategory(std::uint32_t code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<char>((code >> shift) & 0xFFu);
        if (c == ' ' || c == '\0')
            break;
        text += c;
    }
    return text;
}

} // namespace dvw
