#pragma once

#include <cstdint>

namespace dvw {

// Kinds of display-index entries. The numbers are part of the command-line tool's output.
enum IndexKind : std::uint8_t {
    DateHeading = 1, // a window day that has instances
    BlankLine = 2, // end of a block
    NotesHeading = 3, // start of the notes section
    CategoryHeading = 4,
    DatedEntry = 5, // one instance on a day
    NoteEntry = 6, // one entry of the notes section
};

// One line of the day-by-day list. Line numbers and ages are full width: a narrow line
// field would alias lines of a large file, and an edit would then change the wrong line.
struct IndexTy
{
    std::uint8_t kind = BlankLine;
    // DatedEntry, NoteEntry: the line number; CategoryHeading: the category's position in
    // the category table; 0 otherwise.
    std::int32_t value = 0;
    std::uint8_t month = 0; // DateHeading: 1..12
    std::uint8_t day = 0; // DateHeading: 1..31
    // Entries: the done mark. DateHeading: the day has a line that is printed.
    std::uint8_t mark = 0;
    std::uint8_t colour = 0; // the line's shade without its top bit
    std::int32_t age = 0; // birthday lines: the instance year minus the birth year
};

} // namespace dvw
