#pragma once

#include "core/tdate.h"
#include "core/timestring.h"
#include "indexty.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dvw {

// How the day-by-day list words its lines. The list view, the agenda of the command-line
// tool and the printouts share these, so they never disagree.

// A heading carries month and day only: its year is the window start's, or the next one
// for a day that comes before the start within the year. Fits because a window never
// spans more than 365 days.
std::uint32_t HeadingYear(const TDate &windowStart, int month, int day);
TDate HeadingDate(const TDate &windowStart, const IndexTy &heading);
// "Monday June 5, 2000", or "Monday 5 June, 2000" with day-first dates.
std::string DateHeadingText(const TDate &windowStart, const IndexTy &heading, bool european);

// The free text of a line: from where its description begins.
std::string_view EntryText(const TimeString &line);
// Without MULTILINE only the first line of a continued entry shows (up to its first CR).
std::string_view ShownLines(std::string_view text, bool multiline);
// A birthday's first parenthesised run, from the first "(" to the next ")", holds the age.
// Without such a run the text is returned as it is.
std::string WithAge(std::string_view text, std::int32_t age);
// The text of an entry as the list shows it: the birthday age put in over the whole text,
// then cut to the first line unless MULTILINE is on.
std::string ListEntryText(const TimeString &line, const IndexTy &entry, bool multiline);

} // namespace dvw
