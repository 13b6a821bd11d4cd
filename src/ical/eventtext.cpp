#include "eventtext.h"

#include "core/datetext.h"
#include "core/textcursor.h"

#include <array>

namespace dvw {

namespace {

// Windows-1252 at 0x80..0x9F; the five unassigned places keep their own code point.
constexpr std::array<char16_t, 32> cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const std::string_view zeroWidthSpace = "\xE2\x80\x8B";

// Length of the valid UTF-8 sequence at text[i] (overlong forms, surrogates and code
// points past U+10FFFF refused), or 0 when the bytes there are not one.
std::size_t utf8Length(std::string_view text, std::size_t i)
{
    const auto at = [&](std::size_t k) {
        return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0u;
    };
    const unsigned b = at(0);
    const auto continuation = [&](std::size_t k) { return (at(k) & 0xC0u) == 0x80u; };
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return continuation(1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        const unsigned lo = b == 0xE0 ? 0xA0 : 0x80, hi = b == 0xED ? 0x9F : 0xBF;
        return at(1) >= lo && at(1) <= hi && continuation(2) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        const unsigned lo = b == 0xF0 ? 0x90 : 0x80, hi = b == 0xF4 ? 0x8F : 0xBF;
        return at(1) >= lo && at(1) <= hi && continuation(2) && continuation(3) ? 4 : 0;
    }
    return 0;
}

bool isUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8Length(text, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

void appendCodePoint(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Where the time text at the start of a free text ends, with the blanks behind it: the
// hour, a ":" and minutes, an "a"/"p" with its "m" and dots, as the time reader takes them.
std::size_t timeTextEnd(std::string_view text, const DateTextSettings &settings)
{
    TextCursor cursor {text, 0};
    const std::uint32_t value = ReadNumber(cursor);
    if (settings.military && value >= 100 && value <= 2400)
        return cursor.pos;
    cursor.skipBlanks();
    if (cursor.peek() == ':') {
        cursor.advance();
        ReadNumber(cursor);
    }
    cursor.skipBlanks();
    const char letter = toUpperAscii(cursor.peek());
    if (letter == 'A' || letter == 'P') {
        cursor.advance();
        if (cursor.peek() == '.')
            cursor.advance();
        if (toUpperAscii(cursor.peek()) == 'M') {
            cursor.advance();
            if (cursor.peek() == '.')
                cursor.advance();
        }
    }
    cursor.skipBlanks();
    return cursor.pos;
}

// Cuts UTF-8 text to at most `limit` bytes, never inside a character.
std::string_view cutUtf8(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u)
        --end;
    return text.substr(0, end);
}

} // namespace

std::string Utf8Of(std::string_view bytes)
{
    if (isUtf8(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        appendCodePoint(out, b >= 0x80 && b < 0xA0 ? cp1252High[b - 0x80u] : char32_t(b));
    }
    return out;
}

EventText EventTextOf(const TimeString &line, const DateTextSettings &settings)
{
    std::string_view text(line.text);
    text.remove_prefix(
        std::min(text.size(), static_cast<std::size_t>(std::max(0, line.textStart))));
    if (line.time >= 0)
        text.remove_prefix(timeTextEnd(text, settings));
    const std::size_t br = text.find("\r\n");
    EventText result;
    result.summary = Utf8Of(text.substr(0, br));
    if (br != std::string_view::npos) {
        std::string details = Utf8Of(text.substr(br + 2));
        for (std::size_t at = details.find("\r\n"); at != std::string::npos;
             at = details.find("\r\n", at))
            details.erase(at, 1); // LF alone: the calendar's own line break
        result.details = std::move(details);
    }
    return result;
}

std::string ImportedFreeText(int minutes, std::string_view summary, bool dated,
                             const DateTextSettings &settings)
{
    std::string text;
    for (const char c : cutUtf8(summary, maxSummaryBytes)) {
        if (c == '\r')
            continue;
        text += (static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F ? ' ' : c;
    }
    const std::size_t begin = text.find_first_not_of(' ');
    text.erase(0, begin == std::string::npos ? text.size() : begin);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    if (minutes >= 0)
        return text.empty() ? FormatTime(minutes) : FormatTime(minutes) + " " + text;
    TextCursor cursor {text, 0};
    int ignored = 0;
    if (dated && ReadTime(cursor, ignored, settings))
        text.insert(0, zeroWidthSpace);
    return text;
}

} // namespace dvw
