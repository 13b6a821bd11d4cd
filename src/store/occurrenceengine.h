#pragma once

#include "appt.h"
#include "core/apptinfo.h"
#include "enginesettings.h"
#include "enginesource.h"
#include "indexty.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace dvw {

// Turns the lines of one document into dated instances over the viewed window and lays
// them out as the display index that the list view, the printouts and the alarm clock
// walk. Everything here is derived: it is rebuilt from the lines, never stored.
//
// Instances of one day are ordered by time (untimed last), then by free text; equal ones
// keep the order in which they were placed. The notes list is ordered by the same rule,
// except that a note and any other entry of another category order by category code.
class OccurrenceEngine
{
public:
    // What the document needs after appending one line (the views are told to go to
    // goToDate, when set, and to select position).
    struct AppendOutcome
    {
        bool categoryLine = false; // a definition: the document rescans its categories
        bool hasGoToDate = false;
        TDate goToDate;
        std::int32_t position = -1;
    };

    explicit OccurrenceEngine(EngineSource &source);

    void setSettings(const EngineSettings &settings);
    const EngineSettings &settings() const { return m_settings; }
    const DateWindow &window() const { return m_settings.window; }

    // Empties the cells and the notes list and expands every line again. The display
    // index is left alone.
    void BuildInstances();
    // Expands one decoded line; the reading context's done and excluded lists must hold
    // that line's dates.
    void ExpandLine(const ApptInfo &info);
    // Places one candidate date of a line: its nag or warning entry, then the date and its
    // following days.
    void PlaceInstance(std::int64_t day, std::uint32_t flags, const ApptInfo &info);
    // Rebuilds the display index and the day position table. Returns the last position
    // (entry count - 1, or 0 when empty) and records where line `locate` first shows.
    std::int32_t BuildIndex(std::int32_t locate);

    // The nearest day at or before (after) the given one that has instances, never
    // leaving the window; the given date itself when the index holds no instance.
    TDate PrevDayWithInstances(const TDate &date) const;
    TDate NextDayWithInstances(const TDate &date) const;

    // Decodes and expands one line into cells that are already sorted, keeping them so.
    // Returns the line's kind.
    std::int32_t expandOne(std::int32_t line);
    // The engine side of appending a line at the end of the table: expand only it,
    // rebuild the index and say where the views should go.
    AppendOutcome appendLine(std::int32_t line);

    void clearSeenMarks();
    bool singleSeen() const { return m_singleSeen; }
    bool noteSeen() const { return m_noteSeen; }
    TDate firstSeenDate() const { return m_firstSeen; }

    // month 1..12, day 1..31.
    const std::vector<Appt> &dayCell(int month, int day) const;
    // day 1..31: instances from the first of the start month up to the day before the start.
    const std::vector<Appt> &leadInCell(int day) const;
    const std::vector<Appt> &notes() const { return m_notes; }
    const std::vector<IndexTy> &index() const { return m_index; }
    // The index position of the window day's heading, or -1 when the day has no instance.
    std::int32_t dayPosition(int month, int day) const;
    std::int32_t firstDayHeading() const { return m_firstDayHeading; }
    std::int32_t lastPosition() const { return m_lastPosition; }
    std::int32_t locatedPosition() const { return m_located; }
    std::int32_t datedCount() const { return m_datedCount; }

    // Ceilings on how far around the window a line can reach through its warning days or
    // the nag interval; larger counts act as these.
    static constexpr std::int64_t maxWarnDays = 3653;
    static constexpr std::int64_t maxNagDays = 3653;

private:
    static constexpr int cellCount = 12 * 31;

    struct Range
    {
        std::int64_t lo; // inclusive day numbers
        std::int64_t hi;
    };

    // What the instance order needs of a line, gathered once per full rebuild: the first
    // eight bytes of its free text are packed so that most comparisons never reach the text.
    struct OrderKey
    {
        std::uint64_t prefix = 0; // bytes 0..7 of the free text
        std::uint64_t prefix2 = 0; // bytes 8..15
        std::uint32_t category = 0;
        std::uint32_t time = 0; // unsigned: no time (-1) comes after every time
        bool note = false;
        bool shortText = false; // the free text ends within the sixteen packed bytes
        std::string_view rest; // the free text behind the packed bytes
    };

    // A decoded line as the rules read it: the fields of ApptInfo that expanding uses. A full
    // rebuild keeps one per line until every line is expanded, in half the space.
    struct Rule
    {
        TDate mainDate;
        TDate startDate;
        TDate endDate;
        std::int32_t index = -1;
        std::int32_t kind = Unscheduled;
        std::int32_t n = 0;
        std::int32_t month = 0;
        std::int32_t weekday = 0;
        std::int32_t offset = 0;
        std::int32_t showFollowing = 0;
        std::int32_t warnDays = 0;
        std::uint32_t category = 0;
        std::array<bool, 7> weekdays {};
        std::uint8_t priority = 0;
        bool completed = false;
        bool hasStart = false;
        bool hasEnd = false;
        bool nag = false;
        bool unimportant = false;
        bool observed = false;
        bool weekdaysOnly = false;
    };
    static Rule ruleOf(const ApptInfo &info);

    // What the index needs of each line, read once per BuildIndex, so that laying out an
    // instance never reaches into the large line table.
    struct LineLook
    {
        std::uint8_t colour = 0;
        bool hasAge = false; // a birthday line with its birth date
        bool printed = false; // the line has no no-print mark
        std::uint32_t birthYear = 0;
    };

    void clearCells();
    bool windowUsable() const;
    void prepareWindow();
    void expandDecoded(const Rule &info, const DateList &done, const DateList &excluded);
    std::vector<std::int32_t> dayOrder() const;
    void replayNotes();
    void applyFirstSeen();
    void makeOrderKeys();
    bool keyPrecedes(std::int32_t a, std::int32_t b) const;
    bool passesFilters(const Rule &info, const TimeString &line) const;
    void expandNote(const Rule &info);
    void expandYearly(const Rule &info, Range series, Range useful);
    void expandEveryN(const Rule &info, std::int64_t step, Range series, Range useful);
    void expandWeekly(const Rule &info, Range series, Range useful);
    void expandMonthSeries(const Rule &info, std::int64_t firstMonth, std::int64_t lastMonth,
                           std::int64_t step, std::uint32_t day, bool lastDay, std::int64_t stop);
    void expandNthWeekday(const Rule &info, Range series, Range useful);
    Range usefulRange(const Rule &info) const;
    void candidate(std::int64_t day, std::uint32_t flags, const Rule &info);
    void placeDate(std::int64_t day, std::uint32_t flags, const Rule &info);
    std::uint8_t doneMarkOf(std::int64_t day, const Rule &info) const;
    void addNote(const Appt &appt);
    void place(std::int64_t day, std::uint32_t flags, std::uint8_t done, std::int32_t line);
    void insertSorted(std::vector<Appt> &cell, const Appt &appt) const;
    bool precedes(std::int32_t a, std::int32_t b) const;
    bool addDayEntries(const std::vector<Appt> &cell, std::int32_t heading, std::int32_t locate);
    static IndexTy entryOf(std::uint8_t kind, const Appt &appt, const LineLook &look);
    void lookUpLines(const std::vector<TimeString> &lines);
    std::int32_t positionOfDay(std::int64_t day) const;

    EngineSource &m_source;
    EngineSettings m_settings;
    // A full rebuild expands the lines in day order, so that every cell fills in order,
    // and collects the notes entries to insert them afterwards in placement order.
    bool m_batch = false;
    const TimeString *m_line = nullptr; // the line being expanded
    bool m_plainLine = false; // its dates place themselves only: no reminder, shift or rule
    const DateList *m_doneDates = nullptr; // and its done and excluded dates
    const DateList *m_excludedDates = nullptr;
    std::vector<Rule> m_decoded; // scratch of BuildInstances
    std::vector<std::int32_t> m_datesOf; // per decoded line: its slot in m_dateLists, or -1
    std::vector<std::pair<DateList, DateList>> m_dateLists;
    std::vector<OrderKey> m_keys;
    std::vector<Appt> m_pendingNotes;
    std::int32_t m_firstSingleLine = -1; // the first single and note by line number
    std::int32_t m_firstNoteLine = -1;
    TDate m_firstSingleDate;
    TDate m_firstNoteDate;
    // For each day from the lead-in start to the window's end: its cell.
    std::vector<std::vector<Appt> *> m_cellOfDay;
    std::vector<LineLook> m_lineLook;

    std::array<std::vector<Appt>, cellCount> m_dayCells;
    std::array<std::vector<Appt>, 31> m_leadInCells;
    std::vector<Appt> m_notes;
    std::vector<IndexTy> m_index;
    std::array<std::int32_t, cellCount> m_dayPositions;

    std::int32_t m_firstDayHeading = -1;
    std::int32_t m_lastPosition = 0;
    std::int32_t m_located = -1;
    std::int32_t m_datedCount = 0;
    bool m_singleSeen = false;
    bool m_noteSeen = false;
    TDate m_firstSeen;
};

} // namespace dvw
