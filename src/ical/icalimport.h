#pragma once

#include "core/datetextsettings.h"
#include "core/tdate.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dvw {

// A category of the file the lines go to: an event's category that matches its code or
// its description (ASCII letters in either case) gets the code.
struct ImportCategory
{
    std::uint32_t code = 0;
    std::string description;
};

class TApptDocument;

// The categories a document defines, for ImportRequest::categories.
std::vector<ImportCategory> ImportCategoriesOf(const TApptDocument &doc);

struct ImportRequest
{
    DateTextSettings dateText; // how the lines write their dates
    TDate today; // occurrences of rules the line language cannot say are taken from here
    std::vector<ImportCategory> categories;
};

// What an import made of a calendar.
struct ImportResult
{
    bool ok = false;
    std::string error; // when !ok: what is wrong, naming the calendar's line
    // The lines to append, in order: the carried lines by their line number, then the
    // other items in the calendar's order. Texts, not yet made safe for the file format.
    std::vector<std::string> lines;
    int imported = 0; // items that gave lines (or changed one: a cancelled occurrence)
    int expanded = 0; // of those, events imported as one line per occurrence
    int skipped = 0; // items that gave nothing (a note for each says why)
    std::vector<std::string> notes; // "line N: ..." for what was skipped or bent
};

// Occurrences of an event that the line language cannot say come from today through the
// day before the same date this many months later.
inline constexpr int expandMonths = 24;
// At most this many lines for one event's occurrences.
inline constexpr int maxLinesPerEvent = 1000;
// At most this many steps through one recurrence rule: it bounds the search for a
// counted rule's last date and for occurrences far before today.
inline constexpr int ruleStepLimit = 5000;

// Turns a calendar (RFC 5545 text) into appointment lines. An item carrying its line
// gives that line back; an event becomes one line whose schedule states its dates where
// the line language can, else one line per occurrence; a to-do becomes a note. Never
// fails for what it can read: a problem in the text is an error naming its line.
ImportResult ImportCalendar(std::string_view text, const ImportRequest &request);

} // namespace dvw
