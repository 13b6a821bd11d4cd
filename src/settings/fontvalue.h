#pragma once

#include <string>
#include <string_view>

namespace dvw {

// One of the six font slots: what the font chooser sets and the settings file keeps.
struct FontSlot
{
    std::string face;
    int size = 10; // points
    bool bold = false;
    bool italic = false;

    bool operator==(const FontSlot &) const = default;
};

// Face names are kept to this many characters.
inline constexpr std::size_t kFontFaceLength = 31;
// Stored sizes outside this range (points, inclusive) are ignored.
inline constexpr int kFontSizeMin = 5;
inline constexpr int kFontSizeMax = 36;

// Reads a stored font value such as "Arial, 12BI" over the slot's current values:
// the face is the text up to the first comma; a size from 5 to 36 after the comma
// replaces the size; the one or two letters right after the number set bold ("B") and
// italic ("I"), and when nothing follows the number both flags keep their current
// values (so a bold heading stored without "B" stays bold). An empty face keeps the
// current face.
FontSlot parseFontValue(std::string_view text, const FontSlot &current);

// Written after the size of a font that is neither bold nor italic. Any letter there makes
// both flags off when read; without one a slot whose default is bold would read back bold.
inline constexpr char kPlainMark = 'R';

// The stored form: "face, size" then "B" when bold and "I" when italic, or "R" for neither,
// so that it reads back as written over any slot.
std::string formatFontValue(const FontSlot &font);

} // namespace dvw
