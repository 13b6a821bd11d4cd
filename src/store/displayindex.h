#pragma once

#include "appt.h"
#include "core/timestring.h"
#include "datewindow.h"
#include "daycells.h"
#include "enginesource.h"
#include "indexty.h"

#include <array>
#include <cstdint>
#include <vector>

namespace dvw {

// The flat list that the list view, the printouts and the alarm clock walk: the notes
// section, then each window day that has instances under its heading, with the position
// of each day's heading.
class DisplayIndex
{
public:
    DisplayIndex();

    // Lays out the notes list and the window's day cells (none when the window cannot be
    // computed). Returns the last position (entry count - 1, or 0 when empty) and records
    // where line `locate` first shows.
    std::int32_t build(const std::vector<Appt> &notes, const DayCells &cells,
                       const DateWindow &window, bool windowUsable,
                       const std::vector<TimeString> &lines, const EngineSource &source,
                       std::int32_t locate);

    // The nearest day at or before (after) the given one that has instances, never
    // leaving the window; the given date itself when the index holds no instance or the
    // window cannot be computed.
    TDate prevDayWithInstances(const TDate &date, const DateWindow &window,
                               bool windowUsable) const;
    TDate nextDayWithInstances(const TDate &date, const DateWindow &window,
                               bool windowUsable) const;

    const std::vector<IndexTy> &entries() const { return m_index; }
    // The index position of the window day's heading, or -1 when the day has no instance.
    std::int32_t dayPosition(int month, int day) const
    {
        return m_dayPositions[daySlot(static_cast<std::uint32_t>(month),
                                      static_cast<std::uint32_t>(day))];
    }
    std::int32_t firstDayHeading() const { return m_firstDayHeading; }
    std::int32_t lastPosition() const { return m_lastPosition; }
    std::int32_t locatedPosition() const { return m_located; }
    std::int32_t datedCount() const { return m_datedCount; }

private:
    // What the index needs of each line, read once per build, so that laying out an
    // instance never reaches into the large line table.
    struct LineLook
    {
        std::uint8_t colour = 0;
        bool hasAge = false; // a birthday line with its birth date
        bool printed = false; // the line has no no-print mark
        std::uint32_t birthYear = 0;
    };

    void lookUpLines(const std::vector<TimeString> &lines);
    void addNotes(const std::vector<Appt> &notes, const std::vector<TimeString> &lines,
                  const EngineSource &source, std::int32_t locate);
    bool addDayEntries(const std::vector<Appt> &cell, std::int32_t heading, std::int32_t locate);
    static IndexTy entryOf(std::uint8_t kind, const Appt &appt, const LineLook &look);
    std::int32_t positionOfDay(std::int64_t day) const { return m_dayPositions[daySlotOf(day)]; }

    std::vector<IndexTy> m_index;
    std::array<std::int32_t, dayCellCount> m_dayPositions;
    std::vector<LineLook> m_lineLook;
    std::int32_t m_firstDayHeading = -1;
    std::int32_t m_lastPosition = 0;
    std::int32_t m_located = -1;
    std::int32_t m_datedCount = 0;
};

} // namespace dvw
