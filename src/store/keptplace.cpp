#include "keptplace.h"

#include "entryops.h"
#include "tapptdocument.h"

#include <cstdlib>

namespace dvw {

namespace {

// The line holding the text, nearest the old line number (lines above and below it are
// tried in turn); -1 when none does.
std::int32_t lineWithText(const TApptDocument &doc, const KeptPlace &place)
{
    const auto count = static_cast<std::int64_t>(doc.lines().size());
    const std::int64_t from = place.line;
    const auto holds = [&](std::int64_t line) {
        return line >= 0 && line < count
            && doc.lines()[static_cast<std::size_t>(line)].text == place.text;
    };
    const std::int64_t reach = std::max(from + 1, count - from);
    for (std::int64_t step = 0; step <= reach; ++step) {
        if (holds(from - step))
            return static_cast<std::int32_t>(from - step);
        if (holds(from + step))
            return static_cast<std::int32_t>(from + step);
    }
    return -1;
}

} // namespace

std::optional<KeptPlace> PlaceAt(const TApptDocument &doc, std::int32_t position)
{
    const std::optional<EntryTarget> target = targetAtPosition(doc, position);
    if (!target)
        return std::nullopt;
    return KeptPlace {target->line, target->text, target->inNotes, target->date};
}

std::int32_t PositionOf(const TApptDocument &doc, const KeptPlace &place)
{
    const std::int32_t line = lineWithText(doc, place);
    if (line < 0)
        return -1;
    const std::vector<IndexTy> &index = doc.engine().index();
    std::int32_t first = -1;
    bool inKeptBlock = false;
    for (std::size_t i = 0; i < index.size(); ++i) {
        const IndexTy &entry = index[i];
        if (entry.kind == NotesHeading)
            inKeptBlock = place.inNotes;
        else if (entry.kind == DateHeading)
            inKeptBlock = !place.inNotes && entry.month == place.date.Month()
                && entry.day == place.date.DayOfMonth();
        if ((entry.kind != DatedEntry && entry.kind != NoteEntry) || entry.value != line)
            continue;
        if (inKeptBlock)
            return static_cast<std::int32_t>(i);
        if (first < 0)
            first = static_cast<std::int32_t>(i);
    }
    return first;
}

} // namespace dvw
