#include "textmatch.h"

#include <algorithm>

namespace dvw {

namespace {

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at text[at], or 1 when none starts there.
std::size_t sequenceLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0xC2 ? 1
        : lead < 0xE0                      ? 2
        : lead < 0xF0                      ? 3
        : lead < 0xF5                      ? 4
                                           : 1;
    if (length == 1 || at + length > text.size())
        return 1;
    for (std::size_t i = 1; i < length; ++i)
        if (!isContinuation(static_cast<unsigned char>(text[at + i])))
            return 1;
    return length;
}

} // namespace

bool ContainsFolded(std::string_view text, std::string_view what)
{
    if (what.empty())
        return true;
    const auto hit = std::search(text.begin(), text.end(), what.begin(), what.end(),
                                 [](char x, char y) { return foldAscii(x) == foldAscii(y); });
    return hit != text.end();
}

std::string CutToCharacters(std::string_view text, std::size_t maxCharacters)
{
    std::size_t at = 0;
    for (std::size_t count = 0; count < maxCharacters && at < text.size(); ++count)
        at += sequenceLength(text, at);
    return std::string(text.substr(0, at));
}

} // namespace dvw
