#include "textmatch.h"

#include <algorithm>
#include <cstring>

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
    if (what.size() > text.size())
        return false;
    // Candidates are found with memchr for the first byte in either case (the screen runs
    // over every line at each rebuild); the rest is compared folded.
    const char lower = foldAscii(what.front());
    const char upper
        = (lower >= 'a' && lower <= 'z') ? static_cast<char>(lower - 'a' + 'A') : lower;
    const auto restMatches = [&](std::size_t at) {
        for (std::size_t k = 1; k < what.size(); ++k)
            if (foldAscii(text[at + k]) != foldAscii(what[k]))
                return false;
        return true;
    };
    const std::size_t starts = text.size() - what.size() + 1; // candidate positions
    const auto find = [&](char c, std::size_t from) {
        const void *hit
            = from < starts ? std::memchr(text.data() + from, c, starts - from) : nullptr;
        return hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - text.data())
                   : starts;
    };
    std::size_t nextLower = find(lower, 0);
    std::size_t nextUpper = upper == lower ? starts : find(upper, 0);
    while (true) {
        const std::size_t at = std::min(nextLower, nextUpper);
        if (at >= starts)
            return false;
        if (restMatches(at))
            return true;
        if (at == nextLower)
            nextLower = find(lower, at + 1);
        else
            nextUpper = find(upper, at + 1);
    }
}

std::string CutToCharacters(std::string_view text, std::size_t maxCharacters)
{
    std::size_t at = 0;
    for (std::size_t count = 0; count < maxCharacters && at < text.size(); ++count)
        at += sequenceLength(text, at);
    return std::string(text.substr(0, at));
}

} // namespace dvw
