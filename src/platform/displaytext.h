#pragma once

#include <QString>

#include <string_view>

namespace dvw {

// Appointment text as the screen shows it: the bytes as UTF-8 when they are valid UTF-8,
// otherwise as Windows-1252 (the files' old encoding). The bytes themselves never change.
QString DisplayText(std::string_view bytes);

} // namespace dvw
