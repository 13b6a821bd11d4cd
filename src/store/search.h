#pragma once

#include "core/tdate.h"
#include "core/timestring.h"
#include "documentsettings.h"
#include "indexty.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace dvw {

class OccurrenceEngine;

// The longest search and screen texts kept, in characters (a UTF-8 sequence is one).
inline constexpr std::size_t searchTextLimit = 99;
inline constexpr std::size_t screenTextLimit = 79;

// Find: the typed text, cut to the search limit, becomes the search text.
void SetSearchText(ViewFilters &filters, std::string_view typed);
// Screen: the typed text, cut to the screen limit, becomes the screen text, and only the
// lines that contain it are shown from the next rebuild on. Restore shows every line again
// and keeps the text for the next Screen.
void StartScreening(ViewFilters &filters, std::string_view typed);
void Restore(ViewFilters &filters);

// Whether a line's whole stored text (codes included) contains `what`, ASCII case ignored.
bool LineMatches(const TimeString &line, std::string_view what);

// Next in a list over a display index: the first DatedEntry or NoteEntry after `cursor`
// and before the index's last position (always a blank) whose line matches `what`. -1
// when `what` is empty or no later entry matches: the search never wraps around.
int NextMatchInIndex(const std::vector<IndexTy> &index, const std::vector<TimeString> &lines,
                     int cursor, std::string_view what);

// Next in a month view: the first day after `selected` (from the first day of the start
// month when that is later) up to the window's end, both included, that has an instance
// whose line matches `what`. None when `what` is empty or no such day exists.
std::optional<TDate> NextMatchingDay(const OccurrenceEngine &engine,
                                     const std::vector<TimeString> &lines, const TDate &selected,
                                     std::string_view what);

} // namespace dvw
