#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dvw {

// Whether `text` contains `what`, comparing bytes with ASCII letters folded to lower case
// (the engine's screen, Find/Next and the file view's marks all compare this way). Bytes
// above 127 compare exactly. An empty `what` is contained in every text.
bool ContainsFolded(std::string_view text, std::string_view what);

// The first `maxCharacters` characters of `text`, counting a whole UTF-8 sequence as one
// character, so a cut never splits one; a byte that starts no valid sequence counts alone.
std::string CutToCharacters(std::string_view text, std::size_t maxCharacters);

} // namespace dvw
