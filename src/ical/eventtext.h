#pragma once

#include "core/datetextsettings.h"
#include "core/timestring.h"

#include <string>
#include <string_view>

namespace dvw {

// A line's bytes as UTF-8: unchanged when they are valid UTF-8, else read as Windows-1252
// (its five unassigned bytes as the code points of the same number), as the views show it.
std::string Utf8Of(std::string_view bytes);

// What a calendar shows of a line, in UTF-8: the first line of its free text without the
// time text at its start, and the further lines of a continued text.
struct EventText
{
    std::string summary;
    std::string details;
};

// The line must have been read (its free text start and time are used).
EventText EventTextOf(const TimeString &line, const DateTextSettings &settings);

// The longest summary an import keeps, in bytes (cut on a whole character).
inline constexpr std::size_t maxSummaryBytes = 4000;

// The free text of an imported line: the time text of `minutes` (none when -1), then the
// summary with its line breaks as LF, other control characters as blanks, cut to
// maxSummaryBytes. On a dated line (`dated`) an untimed summary that the reader would take
// for a time (it begins with "3 ...") starts with a zero-width space, so it stays text.
std::string ImportedFreeText(int minutes, std::string_view summary, bool dated,
                             const DateTextSettings &settings);

} // namespace dvw
