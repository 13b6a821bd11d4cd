#pragma once

#include "core/tdate.h"
#include "tapptdocument.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dvw {

// The entry an operation acts on, captured before any question is asked: a modal step
// runs the event loop, and a rebuild inside it (midnight) may move or drop the entry.
struct EntryTarget
{
    std::int32_t line = -1; // position in the line table
    std::string text; // the line's text when captured
    bool inNotes = false; // an entry of the notes section (a note or a reminder)
    TDate date; // the instance's date; for a notes entry the date it was placed with
    std::int32_t position = -1; // display-index position, -1 when not taken from the list
};

// The target shown at this display-index position; none for a heading or blank line.
std::optional<EntryTarget> targetAtPosition(const TApptDocument &doc, std::int32_t position);
// The line's entry in the day cell (or lead-in cell) of `date`, or, without a date, its
// first entry in the notes list; none when the line has no such entry.
std::optional<EntryTarget> targetOfLine(const TApptDocument &doc, std::int32_t line,
                                        std::optional<TDate> date);
// True while the line still holds the captured text and the entry is still placed.
bool targetHolds(const TApptDocument &doc, const EntryTarget &target);
// The kind of the target's line as the reader last decoded it.
std::int32_t targetKind(const TApptDocument &doc, const EntryTarget &target);

enum class EntryStatus {
    Changed, // the line changed, the document is marked changed and rebuilt
    Unchanged, // the text cannot change: nothing changed (the caller beeps)
    Stale, // the target no longer matches the document: nothing changed
    NagOfCycle, // a repeating line's nag reminder cannot be marked done
};

struct EntryOutcome
{
    EntryStatus status = EntryStatus::Unchanged;
    std::int32_t position = -1; // where the cursor goes, -1 when it stays
    TDate goToDate; // the date the views are told to show
    bool done = false; // the toggled entry's mark after the change
};

// Marks the target done or undone. A note or a single appointment toggles its leading ">";
// a repeating line adds or removes the done-date code of the instance's date; a single
// appointment's reminder in the notes section loses its nag code instead.
EntryOutcome ToggleDone(TApptDocument &doc, const EntryTarget &target);

// What deleting the target has to ask before it goes ahead.
enum class DeleteQuestion {
    ParentOfReminder, // a reminder of a line shown elsewhere: delete that line?
    Confirm, // a note or a single appointment (asked only when the user wants prompts)
    InstanceOrCycle, // a repeating line: this instance only, or the whole cycle?
};
DeleteQuestion deleteQuestion(const TApptDocument &doc, const EntryTarget &target);

// Deletes the target: the line gets a leading "~", or, for one instance of a repeating
// line (wholeCycle false), the excluded-date code of the instance's date.
EntryOutcome DeleteEntry(TApptDocument &doc, const EntryTarget &target, bool wholeCycle);

// The text an entry puts on the clipboard: the whole stored line, codes and all.
std::string ClipboardText(const TApptDocument &doc, const EntryTarget &target);

// The line a pasted clipboard text becomes: cut at its first NUL, without the line breaks
// that end it; text with no schedule is given the date (inDayBlock) or made a note, its
// whole text kept as free text.
std::string PastedLineText(TApptDocument &doc, std::string_view clipboard, bool inDayBlock,
                           const TDate &date);

// Where a text is pasted onto a day.
enum class DayPaste {
    Calendar, // a note or text with no schedule goes on the day, a single date moves to it
    MonthPane, // a single date (shown following days or not) moves to the day; every other
               // appointment except a category definition becomes a single one on the day
};
// The line a clipboard text pasted onto `date` becomes (cut as PastedLineText cuts it);
// what moves to the day keeps its description as free text byte for byte.
std::string PastedOnDayText(TApptDocument &doc, std::string_view clipboard, const TDate &date,
                            DayPaste where);
// Replaces the line's text with text made safe for the file format; an empty text deletes
// the line. Stale for a line the table does not hold, Unchanged when the text is the same.
EntryStatus ReplaceEntryText(TApptDocument &doc, std::int32_t line, std::string_view text);
// Adds a line (made safe for the file format) and reports where it shows.
EntryOutcome AddEntryLine(TApptDocument &doc, const std::string &text);

} // namespace dvw
