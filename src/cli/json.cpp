#include "json.h"

namespace dvw {

namespace {

const char hexDigits[] = "0123456789abcdef";

void appendEscape(std::string &out, unsigned value)
{
    out += "\\u00";
    out += hexDigits[(value >> 4) & 0xF];
    out += hexDigits[value & 0xF];
}

// Length of the valid UTF-8 sequence at text[i], or 0 when the bytes there are not one.
std::size_t utf8Length(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t n = 0;
    unsigned minimum = 0;
    unsigned cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2, minimum = 0x80, cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3, minimum = 0x800, cp = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4, minimum = 0x10000, cp = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + n > text.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3Fu);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

} // namespace

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            appendEscape(out, c);
        } else if (c >= 0x80) {
            const std::size_t n = utf8Length(text, i);
            if (n == 0) {
                appendEscape(out, c);
            } else {
                out.append(text.substr(i, n));
                i += n;
                continue;
            }
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "\"";
}

std::string jsonDate(const TDate &date)
{
    return "{\"jd\":" + std::to_string(date.dayNumber) + ",\"flags\":" + std::to_string(date.flags)
        + "}";
}

void JsonObject::key(std::string_view name)
{
    if (m_body.size() > 1)
        m_body += ',';
    m_body += jsonString(name);
    m_body += ':';
}

JsonObject &JsonObject::addInt(std::string_view name, std::int64_t value)
{
    key(name);
    m_body += std::to_string(value);
    return *this;
}

JsonObject &JsonObject::addBool(std::string_view name, bool value)
{
    key(name);
    m_body += value ? "true" : "false";
    return *this;
}

JsonObject &JsonObject::addString(std::string_view name, std::string_view value)
{
    key(name);
    m_body += jsonString(value);
    return *this;
}

JsonObject &JsonObject::addDate(std::string_view name, const TDate &date)
{
    return addRaw(name, jsonDate(date));
}

JsonObject &JsonObject::addRaw(std::string_view name, std::string_view json)
{
    key(name);
    m_body += json;
    return *this;
}

} // namespace dvw
