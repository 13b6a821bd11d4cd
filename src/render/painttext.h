#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace dvw {

// Appointment text for drawing: decoded as the store decodes it (UTF-8 when valid, else
// Windows-1252). Always drawn as plain text.
QString PaintText(std::string_view bytes);
QString PaintText(std::u32string_view text);

} // namespace dvw
