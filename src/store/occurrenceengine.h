#pragma once

#include "appt.h"
#include "core/apptinfo.h"
#include "core/datelist.h"
#include "core/recurrence.h"
#include "daycells.h"
#include "displayindex.h"
#include "enginesettings.h"
#include "enginesource.h"
#include "indexty.h"
#include "instanceorder.h"

#include <array>
#include <cstdint>
#include <vector>

namespace dvw {

// Turns the lines of one document into dated instances over the viewed window and lays
// them out as the display index that the list view, the printouts and the alarm clock
// walk. Everything here is derived: it is rebuilt from the lines, never stored.
//
// Which dates a line gives comes from its rule (forEachRuleDate); this class adds what the
// window makes of them: filters, reminders, following days, the weekend shift, done and
// excluded dates, and the cells they land in. Instances of one day are ordered by time
// (untimed last), then by free text; equal ones keep the order in which they were placed
// (InstanceOrder). The notes list is ordered by the same rule, except that a note and any
// other entry of another category order by category code.
//
// It fills its cells in two ways: a full rebuild (BuildInstances) expands every line in
// instance order, appending to the cells; the one-line paths (appendLine, insertLine,
// ExpandLine, PlaceInstance) insert into cells that are already sorted.
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
    // Expands one decoded line with its done and excluded dates into the sorted cells.
    void ExpandLine(const ApptInfo &info, const LineDates &dates);
    // Places one candidate date of a line into the sorted cells: its nag or warning
    // entry, then the date and its following days.
    void PlaceInstance(std::int64_t day, std::uint32_t flags, const ApptInfo &info,
                       const LineDates &dates);
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
    // The engine side of taking line `line` out of the table, which no longer holds it:
    // its instances go and every later line's number moves down by one, leaving the cells
    // and the notes list as a full rebuild of the shorter table fills them. The category
    // tables must be unchanged (the line defined no category). The index is left alone.
    void removeLine(std::int32_t line);
    // The engine side of putting a line into the table at `line`, which holds it now: the
    // lines from there on move up by one and the new line is expanded among the others as
    // a full rebuild would place it. The line defines no category. The index is left alone.
    void insertLine(std::int32_t line);

    void clearSeenMarks();
    bool singleSeen() const { return m_singleSeen; }
    bool noteSeen() const { return m_noteSeen; }
    TDate firstSeenDate() const { return m_firstSeen; }

    // month 1..12, day 1..31.
    const std::vector<Appt> &dayCell(int month, int day) const;
    // day 1..31: instances from the first of the start month up to the day before the start.
    const std::vector<Appt> &leadInCell(int day) const;
    const std::vector<Appt> &notes() const { return m_notes; }
    const std::vector<IndexTy> &index() const { return m_display.entries(); }
    // The index position of the window day's heading, or -1 when the day has no instance.
    std::int32_t dayPosition(int month, int day) const { return m_display.dayPosition(month, day); }
    std::int32_t firstDayHeading() const { return m_display.firstDayHeading(); }
    std::int32_t lastPosition() const { return m_display.lastPosition(); }
    std::int32_t locatedPosition() const { return m_display.locatedPosition(); }
    std::int32_t datedCount() const { return m_display.datedCount(); }

    // Ceilings on how far around the window a rule's dates are looked for through its
    // warning days or the nag interval; larger counts act as these there. They bound the
    // rule loops only: a date that a rule gives is warned of as far ahead as it asks.
    // The nag ceiling is the longest nag interval the settings accept.
    static constexpr std::int64_t maxWarnDays = 3653;
    static constexpr std::int64_t maxNagDays = 3660;

private:
    struct Range
    {
        std::int64_t lo; // inclusive day numbers
        std::int64_t hi;
    };

    // A decoded line as the engine reads it: its rule and the fields of ApptInfo that
    // placing uses. A full rebuild keeps one per line until every line is expanded, in
    // half the space of an ApptInfo.
    struct Rule
    {
        RecurrenceRule rule;
        std::int32_t index = -1;
        std::int32_t showFollowing = 0;
        std::int32_t warnDays = 0;
        std::uint32_t category = 0;
        std::uint8_t priority = 0;
        bool completed = false;
        bool nag = false;
        bool unimportant = false;
        bool observed = false;
        bool weekdaysOnly = false;
        // The screen's verdict, when the full rebuild took it while the line's text was at
        // hand: expansion runs in instance order, where reading each text again would miss
        // the cache once per line.
        bool screenChecked = false;
        bool screenPasses = true;
    };
    static Rule ruleOf(const ApptInfo &info);

    // The two ways of filling, as the expansion's last step.
    class RebuildFill;
    class InsertFill;
    class InsertAtFill;

    void clearCells();
    bool windowUsable() const;
    void prepareWindow();
    std::vector<std::int32_t> dayOrder() const;
    template<typename Precedes, typename CategoryOf>
    void replayNotes(Precedes precedes, CategoryOf categoryOf);
    void applyFirstSeen();
    bool passesFilters(const Rule &info, const TimeString &line) const;
    Range usefulRange(const Rule &info) const;
    DayRange ruleRange(const Rule &info) const;
    template<typename Fill>
    void expand(const Rule &info, const LineDates &dates, Fill &fill);
    template<typename Fill>
    void placeRuleDates(const Rule &info, const LineDates &dates, Fill &fill);
    template<typename Fill>
    void placePlainDates(const Rule &info, Fill &fill);
    template<typename Fill>
    void expandNote(const Rule &info, Fill &fill);
    template<typename Fill>
    void placeDate(std::int64_t day, std::uint32_t flags, const Rule &info, const LineDates &dates,
                   Fill &fill);
    std::vector<Appt> *cellOf(std::int64_t day) const;
    bool linePrecedes(std::int32_t a, std::int32_t b) const;
    void insertSorted(std::vector<Appt> &cell, const Appt &appt) const;
    void insertInFileOrder(std::vector<Appt> &cell, const Appt &appt) const;
    void replayNotesAsTheyAre();
    void insertNote(const Appt &appt);

    EngineSource &m_source;
    EngineSettings m_settings;
    // Scratch of BuildInstances: the decoded lines in file order, and for each its slot
    // in m_dateLists, or -1 when it has no done or excluded date.
    std::vector<Rule> m_decoded;
    std::vector<std::int32_t> m_datesOf;
    std::vector<LineDates> m_dateLists;
    std::vector<TDate> m_ruleDates; // the dates of the line being expanded
    InstanceOrder m_order;
    std::vector<Appt> m_pendingNotes;
    std::int32_t m_firstSingleLine = -1; // the first single and note by line number
    std::int32_t m_firstNoteLine = -1;
    TDate m_firstSingleDate;
    TDate m_firstNoteDate;
    // For each day from the lead-in start to the window's end: its cell.
    std::vector<std::vector<Appt> *> m_cellOfDay;
    std::int64_t m_endMonthLastDay = 0; // the last day of the window end's month

    DayCells m_dayCells;
    std::array<std::vector<Appt>, 31> m_leadInCells;
    std::vector<Appt> m_notes;
    DisplayIndex m_display;

    bool m_singleSeen = false;
    bool m_noteSeen = false;
    TDate m_firstSeen;
};

} // namespace dvw
