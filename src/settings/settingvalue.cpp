#include "settingvalue.h"

#include <charconv>
#include <cmath>

namespace dvw {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Length of the UTF-8 sequence that starts with `lead`, 0 when it cannot start one.
std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = sequenceLength(lead);
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        const auto second = length > 1 ? static_cast<unsigned char>(text[i + 1]) : 0;
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F)
            || (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
            return false;
        i += length;
    }
    return true;
}

namespace {

bool hasBalancedQuotes(std::string_view value)
{
    bool open = false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\')
            ++i; // an escaped character, perhaps a quote
        else if (value[i] == '"')
            open = !open;
    }
    return !open;
}

bool lineSurvivesRewrite(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    line = trimBlanks(line);
    if (line.empty())
        return true;
    if (line.front() == '[')
        return line.back() == ']' && line.find(']') == line.size() - 1;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || trimBlanks(line.substr(0, equals)).empty())
        return false;
    const std::string_view value = trimBlanks(line.substr(equals + 1));
    if (value.size() >= 1 && value.front() == '@' && value.substr(0, 2) != "@@")
        return false;
    return hasBalancedQuotes(value);
}

} // namespace

bool settingsTextSurvivesRewrite(std::string_view text)
{
    if (!isValidUtf8(text))
        return false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (!lineSurvivesRewrite(text.substr(0, end)))
            return false;
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return true;
}

bool RealRange::contains(double value) const
{
    if (!std::isfinite(value))
        return false;
    const bool aboveLow = lowIncluded ? value >= low : value > low;
    return aboveLow && value < high;
}

std::optional<int> parseIntValue(std::string_view text)
{
    text = trimBlanks(text);
    bool signSeen = false;
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        signSeen = true;
    }
    if (text.empty() || text.front() == '+' || (signSeen && text.front() == '-'))
        return std::nullopt;
    int value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::optional<double> parseRealValue(std::string_view text)
{
    while (!text.empty() && (isBlank(text.front()) || text.front() == '\n' || text.front() == '\r'))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars takes no sign of its own after ours, so "+-1" stays missing.
    if (text.empty() || text.front() == '+' || text.front() == '-')
        return std::nullopt;
    double value = 0;
    const std::from_chars_result read
        = std::from_chars(text.data(), text.data() + text.size(), value);
    if (read.ec != std::errc())
        return std::nullopt; // not a number, or beyond the range of a double
    return negative ? -value : value;
}

std::string formatRealValue(double value)
{
    // Two decimals of a double need at most 309 digits before the point.
    char buffer[400];
    const auto [ptr, ec]
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    if (ec != std::errc())
        return "0.00";
    return std::string(buffer, ptr);
}

std::string cutToCharacters(std::string text, std::size_t count)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool continuation = (byte & 0xC0) == 0x80;
        if (continuation)
            continue;
        if (characters == count) {
            text.resize(i);
            break;
        }
        ++characters;
    }
    return text;
}

} // namespace dvw
