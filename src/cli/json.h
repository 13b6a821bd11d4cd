#pragma once

#include "core/tdate.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dvw {

// Builds one JSON object on a line. Keys are written in the order they are added.
class JsonObject
{
public:
    JsonObject &addInt(std::string_view key, std::int64_t value);
    JsonObject &addBool(std::string_view key, bool value);
    JsonObject &addString(std::string_view key, std::string_view value);
    JsonObject &addDate(std::string_view key, const TDate &date);
    // A value that is already JSON (an object or an array).
    JsonObject &addRaw(std::string_view key, std::string_view json);
    std::string str() const { return m_body + "}"; }

private:
    void key(std::string_view name);
    std::string m_body = "{";
};

std::string jsonDate(const TDate &date);
// Bytes that are not valid UTF-8 are written as \u00XX of the byte, so any line prints.
std::string jsonString(std::string_view text);

} // namespace dvw
