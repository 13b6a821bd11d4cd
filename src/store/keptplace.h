#pragma once

#include "core/tdate.h"

#include <cstdint>
#include <optional>
#include <string>

namespace dvw {

class TApptDocument;

// Where a list's cursor stood, by line and date rather than by display position, so that
// the cursor can find its entry again after the lines were replaced (a reload, an undo).
struct KeptPlace
{
    std::int32_t line = -1;
    std::string text; // the line's text
    bool inNotes = false;
    TDate date; // the day block the entry was in, when not in the notes
};

// The place of the entry at this display position; none for a heading or a blank line.
std::optional<KeptPlace> PlaceAt(const TApptDocument &doc, std::int32_t position);
// The display position of the kept entry in the document as it is now: the line with the
// kept text nearest the kept line number, its entry in the same block (the same day, or
// the notes), else its first entry. -1 when no line has that text or it shows nowhere.
std::int32_t PositionOf(const TApptDocument &doc, const KeptPlace &place);

} // namespace dvw
