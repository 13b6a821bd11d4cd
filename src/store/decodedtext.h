#pragma once

#include <string>
#include <string_view>

namespace dvw {

// Appointment text as it is shown and printed, one code point per character: the bytes as
// UTF-8 when the whole text is valid UTF-8, otherwise as Windows-1252 (the files' old
// encoding; its five unassigned bytes stand for the code points of the same number).
std::u32string DecodeText(std::string_view bytes);
// The code points as UTF-8.
std::string EncodeUtf8(std::u32string_view text);

} // namespace dvw
