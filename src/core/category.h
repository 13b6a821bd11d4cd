#pragma once

#include "textcursor.h"

#include <cstdint>
#include <string>

namespace dvw {

// Up to four characters from the cursor, stopping before NUL, "=", "," or a blank,
// upper-cased and blank-padded, packed with the first character most significant. The
// cursor moves over the characters taken only. Codes order as their padded texts do.
std::uint32_t PackCategory(TextCursor &cursor);
// The code's characters with the padding blanks (and anything after a blank) dropped.
std::string UnpackCategory(std::uint32_t code);

} // namespace dvw
