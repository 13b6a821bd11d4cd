#include "displayindex.h"

#include "core/apptkind.h"

#include <algorithm>
#include <limits>

namespace dvw {

namespace {

using Day = std::int64_t;

std::int32_t ageOf(const Appt &appt, std::uint32_t birthYear)
{
    const auto age
        = static_cast<std::int64_t>(appt.date.Year()) - static_cast<std::int64_t>(birthYear);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        age, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

DisplayIndex::DisplayIndex()
{
    m_index.reserve(2001);
    m_dayPositions.fill(-1);
}

void DisplayIndex::lookUpLines(const std::vector<TimeString> &lines)
{
    m_lineLook.resize(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TimeString &line = lines[i];
        LineLook &look = m_lineLook[i];
        look.colour = static_cast<std::uint8_t>(line.shade & 0x7F);
        look.hasAge = line.kind == Birthday && line.birthDate.dayNumber != 0;
        look.printed = !line.noPrint;
        look.birthYear = look.hasAge ? line.birthDate.Year() : 0;
    }
}

inline IndexTy DisplayIndex::entryOf(std::uint8_t kind, const Appt &appt, const LineLook &look)
{
    IndexTy entry;
    entry.kind = kind;
    entry.value = appt.line;
    entry.mark = appt.done;
    entry.colour = look.colour;
    if (look.hasAge && appt.date.dayNumber != 0) [[unlikely]]
        entry.age = ageOf(appt, look.birthYear);
    return entry;
}

// The notes section: a category heading before each run of one defined category.
void DisplayIndex::addNotes(const std::vector<Appt> &notes, const std::vector<TimeString> &lines,
                            const EngineSource &source, std::int32_t locate)
{
    if (notes.empty())
        return;
    m_index.push_back({NotesHeading, 0, 0, 0, 0, 0, 0});
    std::uint32_t previous = 0;
    for (const Appt &a : notes) {
        const std::uint32_t category = lines[static_cast<std::size_t>(a.line)].category;
        if (category != previous) {
            previous = category;
            const int at = source.FindCategory(category);
            if (at >= 0)
                m_index.push_back({CategoryHeading, at, 0, 0, 0, 0, 0});
        }
        if (m_located == -1 && a.line == locate)
            m_located = static_cast<std::int32_t>(m_index.size());
        m_index.push_back(entryOf(NoteEntry, a, m_lineLook[static_cast<std::size_t>(a.line)]));
    }
    m_index.push_back({BlankLine, 0, 0, 0, 0, 0, 0});
}

// One day's instances behind its heading; true when one of their lines is printed.
bool DisplayIndex::addDayEntries(const std::vector<Appt> &cell, std::int32_t heading,
                                 std::int32_t locate)
{
    // Kept in locals: with members, each entry written would make the compiler read them
    // back, and a day can hold thousands of entries.
    const LineLook *looks = m_lineLook.data();
    std::int32_t located = m_located;
    std::int32_t position = heading;
    bool printed = false;
    for (const Appt &a : cell) {
        ++position;
        if (located == -1 && a.line == locate)
            located = position;
        const LineLook &look = looks[static_cast<std::size_t>(a.line)];
        m_index.push_back(entryOf(DatedEntry, a, look));
        printed = printed || look.printed;
    }
    m_located = located;
    m_datedCount += static_cast<std::int32_t>(cell.size());
    return printed;
}

std::int32_t DisplayIndex::build(const std::vector<Appt> &notes, const DayCells &cells,
                                 const DateWindow &window, bool windowUsable,
                                 const std::vector<TimeString> &lines, const EngineSource &source,
                                 std::int32_t locate)
{
    m_index.clear();
    std::size_t entries = notes.size() * 2 + 2;
    for (const auto &cell : cells)
        entries += cell.empty() ? 0 : cell.size() + 2;
    m_index.reserve(entries);
    m_located = -1;
    m_datedCount = 0;
    m_firstDayHeading = -1;
    lookUpLines(lines);
    addNotes(notes, lines, source, locate);

    m_dayPositions.fill(-1);
    const Day start = window.start.dayNumber;
    const Day end = windowUsable ? start + window.days : start;
    for (Day day = start; day < end; ++day) {
        const std::size_t slot = daySlotOf(day);
        const std::vector<Appt> &cell = cells[slot];
        if (cell.empty())
            continue;
        const auto heading = static_cast<std::int32_t>(m_index.size());
        if (m_firstDayHeading == -1)
            m_firstDayHeading = heading;
        const std::size_t month = slot / 31 + 1;
        const std::size_t dayOfMonth = slot % 31 + 1;
        m_index.push_back({DateHeading, 0, static_cast<std::uint8_t>(month),
                           static_cast<std::uint8_t>(dayOfMonth), 0, 0, 0});
        const bool printed = addDayEntries(cell, heading, locate);
        m_index[static_cast<std::size_t>(heading)].mark = printed ? 1 : 0;
        m_index.push_back({BlankLine, 0, 0, 0, 0, 0, 0});
        m_dayPositions[slot] = heading;
    }
    m_lastPosition = m_index.empty() ? 0 : static_cast<std::int32_t>(m_index.size()) - 1;
    return m_lastPosition;
}

TDate DisplayIndex::prevDayWithInstances(const TDate &date, const DateWindow &w,
                                         bool windowUsable) const
{
    if (m_datedCount == 0 || !windowUsable)
        return date;
    if (date < w.start)
        return w.start;
    Day day = std::min<Day>(date.dayNumber, w.end.dayNumber);
    while (day > Day(w.start.dayNumber) && positionOfDay(day) < 0) // at most the window's days
        --day;
    return TDate::fromDayNumber(static_cast<std::uint32_t>(day));
}

TDate DisplayIndex::nextDayWithInstances(const TDate &date, const DateWindow &w,
                                         bool windowUsable) const
{
    if (m_datedCount == 0 || !windowUsable)
        return date;
    if (date > w.end)
        return w.end;
    Day day = std::max<Day>(date.dayNumber, w.start.dayNumber);
    while (day < Day(w.end.dayNumber) && positionOfDay(day) < 0) // at most the window's days
        ++day;
    return TDate::fromDayNumber(static_cast<std::uint32_t>(day));
}

} // namespace dvw
