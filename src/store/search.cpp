#include "search.h"

#include "occurrenceengine.h"
#include "textmatch.h"

#include <algorithm>

namespace dvw {

void SetSearchText(ViewFilters &filters, std::string_view typed)
{
    filters.searchText = CutToCharacters(typed, searchTextLimit);
}

void StartScreening(ViewFilters &filters, std::string_view typed)
{
    filters.screenText = CutToCharacters(typed, screenTextLimit);
    filters.screening = true;
}

void Restore(ViewFilters &filters)
{
    filters.screening = false;
}

bool LineMatches(const TimeString &line, std::string_view what)
{
    return ContainsFolded(line.text, what);
}

namespace {

bool entryMatches(const IndexTy &entry, const std::vector<TimeString> &lines, std::string_view what)
{
    if (entry.kind != DatedEntry && entry.kind != NoteEntry)
        return false;
    // An index older than the lines may name a line that is gone.
    if (entry.value < 0 || static_cast<std::size_t>(entry.value) >= lines.size())
        return false;
    return LineMatches(lines[static_cast<std::size_t>(entry.value)], what);
}

} // namespace

int NextMatchInIndex(const std::vector<IndexTy> &index, const std::vector<TimeString> &lines,
                     int cursor, std::string_view what)
{
    if (what.empty() || index.empty())
        return -1;
    const auto last = static_cast<std::ptrdiff_t>(index.size()) - 1; // excluded
    for (std::ptrdiff_t n = std::max<std::ptrdiff_t>(cursor, -1) + 1; n < last; ++n) {
        if (entryMatches(index[static_cast<std::size_t>(n)], lines, what))
            return static_cast<int>(n);
    }
    return -1;
}

std::optional<TDate> NextMatchingDay(const OccurrenceEngine &engine,
                                     const std::vector<TimeString> &lines, const TDate &selected,
                                     std::string_view what)
{
    const DateWindow &w = engine.window();
    if (what.empty() || !w.start.isValid() || !w.leadInStart.isValid() || !w.end.isValid())
        return std::nullopt;
    const std::uint64_t first
        = std::max<std::uint64_t>(std::uint64_t {selected.dayNumber} + 1, w.leadInStart.dayNumber);
    // At most the lead-in (30 days) plus the window's 365 days.
    for (std::uint64_t day = first; day <= w.end.dayNumber; ++day) {
        const TDate date = TDate::fromDayNumber(static_cast<std::uint32_t>(day));
        const auto dayOfMonth = static_cast<int>(date.DayOfMonth());
        const std::vector<Appt> &cell = date < w.start
            ? engine.leadInCell(dayOfMonth)
            : engine.dayCell(static_cast<int>(date.Month()), dayOfMonth);
        for (const Appt &a : cell) {
            if (a.line >= 0 && static_cast<std::size_t>(a.line) < lines.size()
                && LineMatches(lines[static_cast<std::size_t>(a.line)], what))
                return date;
        }
    }
    return std::nullopt;
}

} // namespace dvw
