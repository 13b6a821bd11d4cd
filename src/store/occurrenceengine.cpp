#include "occurrenceengine.h"

#include "core/linereader.h"
#include "textmatch.h"

#include <algorithm>
#include <cassert>
#include <string_view>

namespace dvw {

namespace {

// Day numbers are widened to signed 64 bits inside the engine, so that adding counts,
// offsets and intervals read from a line can never wrap or overflow.
using Day = std::int64_t;

// 0 = Sunday ... 6 = Saturday. Precondition: day >= 0.
int weekdayOf(Day day)
{
    return static_cast<int>((day + 1) % 7);
}

bool isWeekend(Day day)
{
    const int w = weekdayOf(day);
    return w == 0 || w == 6;
}

std::uint32_t asDayNumber(Day day)
{
    return static_cast<std::uint32_t>(day);
}

std::int64_t yearOf(Day day)
{
    return TDate::fromDayNumber(asDayNumber(day)).Year();
}

bool startsWith(const std::string &text, std::string_view prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Lines that never produce instances and must not be decoded again: deleted lines, and
// category definitions (their keys hold the category code for the file sort).
bool skipsExpansion(const TimeString &line)
{
    return startsWith(line.text, "~") || startsWith(line.text, "\\C");
}

} // namespace

// The full rebuild: lines come in instance order, so each cell fills by appending; the
// notes entries are collected and put in order afterwards, and the first-seen marks are
// worked out from the first lines by number.
class OccurrenceEngine::RebuildFill
{
public:
    explicit RebuildFill(OccurrenceEngine &engine)
        : m_engine(engine)
    { }
    void cell(std::vector<Appt> &cell, const Appt &appt) { cell.push_back(appt); }
    void note(const Appt &appt) { m_engine.m_pendingNotes.push_back(appt); }
    void singleSeen(std::int32_t line, const TDate &date)
    {
        if (m_engine.m_firstSingleLine < 0 || line < m_engine.m_firstSingleLine) {
            m_engine.m_firstSingleLine = line;
            m_engine.m_firstSingleDate = date;
        }
    }
    void noteSeen(std::int32_t line, const TDate &date)
    {
        if (m_engine.m_firstNoteLine < 0 || line < m_engine.m_firstNoteLine) {
            m_engine.m_firstNoteLine = line;
            m_engine.m_firstNoteDate = date;
        }
    }

private:
    OccurrenceEngine &m_engine;
};

// One line into cells that are already sorted: each entry goes to its place, and the
// first single or note expanded sets its mark.
class OccurrenceEngine::InsertFill
{
public:
    explicit InsertFill(OccurrenceEngine &engine)
        : m_engine(engine)
    { }
    void cell(std::vector<Appt> &cell, const Appt &appt) { m_engine.insertSorted(cell, appt); }
    void note(const Appt &appt) { m_engine.insertNote(appt); }
    void singleSeen(std::int32_t, const TDate &date) { seen(m_engine.m_singleSeen, date); }
    void noteSeen(std::int32_t, const TDate &date) { seen(m_engine.m_noteSeen, date); }

private:
    void seen(bool &mark, const TDate &date)
    {
        if (!mark) {
            mark = true;
            m_engine.m_firstSeen = date;
        }
    }

    OccurrenceEngine &m_engine;
};

// One line put in among the others: a cell entry goes behind the entries that order
// before it or equal it from an earlier line, as a full rebuild places it; notes entries
// are collected and the notes list is placed again with them.
class OccurrenceEngine::InsertAtFill
{
public:
    explicit InsertAtFill(OccurrenceEngine &engine)
        : m_engine(engine)
    { }
    void cell(std::vector<Appt> &cell, const Appt &appt) { m_engine.insertInFileOrder(cell, appt); }
    void note(const Appt &appt) { m_engine.m_pendingNotes.push_back(appt); }
    void singleSeen(std::int32_t, const TDate &) { }
    void noteSeen(std::int32_t, const TDate &) { }

private:
    OccurrenceEngine &m_engine;
};

OccurrenceEngine::OccurrenceEngine(EngineSource &source)
    : m_source(source)
{
    m_notes.reserve(6);
    m_settings.window = DateWindow::make(TDate(1, 1, 2000), TDate(1, 1, 2000), 1);
    prepareWindow();
}

void OccurrenceEngine::setSettings(const EngineSettings &settings)
{
    m_settings = settings;
    prepareWindow();
}

// A window that reaches outside the years the engine computes shows nothing.
bool OccurrenceEngine::windowUsable() const
{
    const DateWindow &w = window();
    return Day(w.leadInStart.dayNumber) >= firstRuleDay && Day(w.end.dayNumber) + 1 <= lastRuleDay
        && w.start <= w.end;
}

void OccurrenceEngine::clearCells()
{
    for (auto &cell : m_dayCells)
        cell.clear();
    for (auto &cell : m_leadInCells)
        cell.clear();
    m_notes.clear();
}

void OccurrenceEngine::clearSeenMarks()
{
    m_singleSeen = false;
    m_noteSeen = false;
    m_firstSeen = TDate();
}

const std::vector<Appt> &OccurrenceEngine::dayCell(int month, int day) const
{
    return m_dayCells[daySlot(static_cast<std::uint32_t>(month), static_cast<std::uint32_t>(day))];
}

const std::vector<Appt> &OccurrenceEngine::leadInCell(int day) const
{
    assert(day >= 1 && day <= 31);
    return m_leadInCells[static_cast<std::size_t>(day - 1)];
}

void OccurrenceEngine::BuildInstances()
{
    clearCells();
    auto &lines = m_source.lineTable();
    ReadContext &context = m_source.readContext();

    // Decode every line first: the instance order needs every line's keys.
    m_decoded.clear();
    m_datesOf.clear();
    m_dateLists.clear();
    m_decoded.reserve(lines.size());
    std::vector<std::int32_t> decodedLines;
    decodedLines.reserve(lines.size());
    ApptInfo info;
    LineDates dates;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (skipsExpansion(lines[i]))
            continue;
        info.index = static_cast<std::int32_t>(i);
        ReadAppt(info, context, lines[i], dates);
        m_decoded.push_back(ruleOf(info));
        if (m_settings.screening) {
            m_decoded.back().screenChecked = true;
            m_decoded.back().screenPasses = ContainsFolded(lines[i].text, m_settings.screenText);
        }
        decodedLines.push_back(info.index);
        const bool dated = !dates.empty();
        m_datesOf.push_back(dated ? static_cast<std::int32_t>(m_dateLists.size()) : -1);
        if (dated)
            m_dateLists.push_back(dates);
    }
    m_order.makeKeys(lines, decodedLines);

    // Expanding the lines in instance order fills every cell in order; lines that order
    // equal keep their file order, as one-by-one insertion would keep them.
    RebuildFill fill(*this);
    m_pendingNotes.clear();
    m_firstSingleLine = -1;
    m_firstNoteLine = -1;
    const LineDates none;
    for (const std::int32_t at : dayOrder()) {
        const auto i = static_cast<std::size_t>(at);
        const std::int32_t slot = m_datesOf[i];
        expand(m_decoded[i], slot < 0 ? none : m_dateLists[static_cast<std::size_t>(slot)], fill);
    }
    replayNotes([this](std::int32_t a, std::int32_t b) { return m_order.precedes(a, b); },
                [this](std::int32_t line) { return m_order.key(line).category; });
    applyFirstSeen();
}

// The marks as expanding the lines in file order sets them: each clear mark is set by
// the first line of its kind, and the later of the two sets the first-seen date last.
void OccurrenceEngine::applyFirstSeen()
{
    const bool single = !m_singleSeen && m_firstSingleLine >= 0;
    const bool note = !m_noteSeen && m_firstNoteLine >= 0;
    const auto setSingle = [this] {
        m_singleSeen = true;
        m_firstSeen = m_firstSingleDate;
    };
    const auto setNote = [this] {
        m_noteSeen = true;
        m_firstSeen = m_firstNoteDate;
    };
    if (single && note && m_firstNoteLine < m_firstSingleLine) {
        setNote();
        setSingle();
    } else {
        if (single)
            setSingle();
        if (note)
            setNote();
    }
}

// The decoded lines in the order their instances take within a day. Notes never reach a
// cell, and with them the order would not be transitive: they go last, in file order, as
// their entries are collected anyway. Lines that produce nothing are left out.
std::vector<std::int32_t> OccurrenceEngine::dayOrder() const
{
    std::vector<InstanceOrder::Item> items;
    std::vector<std::int32_t> notes;
    items.reserve(m_decoded.size());
    for (std::size_t i = 0; i < m_decoded.size(); ++i) {
        const Rule &info = m_decoded[i];
        const std::int32_t kind = info.rule.kind;
        if (kind == CategoryLine || kind == Unscheduled)
            continue;
        if (kind == Note)
            notes.push_back(static_cast<std::int32_t>(i));
        else
            items.push_back({info.index, static_cast<std::int32_t>(i)});
    }
    std::vector<std::int32_t> order = m_order.sortedTags(items);
    order.insert(order.end(), notes.begin(), notes.end());
    return order;
}

// The notes entries of m_pendingNotes in the order they were placed: by line, and within
// a line as made.
template<typename Precedes, typename CategoryOf>
void OccurrenceEngine::replayNotes(Precedes precedes, CategoryOf categoryOf)
{
    std::stable_sort(m_pendingNotes.begin(), m_pendingNotes.end(),
                     [](const Appt &a, const Appt &b) { return a.line < b.line; });
    // While every entry shares one category the order is consistent, and the place the
    // walk from the end would reach is found by halving instead.
    bool oneCategory = true;
    const std::uint32_t firstCategory
        = m_pendingNotes.empty() ? 0 : categoryOf(m_pendingNotes[0].line);
    for (const Appt &appt : m_pendingNotes) {
        oneCategory = oneCategory && categoryOf(appt.line) == firstCategory;
        if (oneCategory) {
            const auto at = std::upper_bound(
                m_notes.begin(), m_notes.end(), appt,
                [&precedes](const Appt &x, const Appt &y) { return precedes(x.line, y.line); });
            m_notes.insert(at, appt);
            continue;
        }
        auto at = m_notes.size();
        while (at > 0 && precedes(appt.line, m_notes[at - 1].line))
            --at;
        m_notes.insert(m_notes.begin() + static_cast<std::ptrdiff_t>(at), appt);
    }
    m_pendingNotes.clear();
}

namespace {

// Drops the entries of a removed line and moves those of later lines down by one; the
// others keep their order. True when an entry went.
bool dropLine(std::vector<Appt> &cell, std::int32_t line)
{
    auto out = cell.begin();
    for (Appt appt : cell) {
        if (appt.line == line)
            continue;
        if (appt.line > line)
            --appt.line;
        *out++ = appt;
    }
    const bool dropped = out != cell.end();
    cell.erase(out, cell.end());
    return dropped;
}

} // namespace

// Every line expands on its own, and a cell orders by key, then by line: removing a line
// keeps the others' order. Only the notes list, whose walk from the end is not transitive,
// can order differently without the line's entries, so it is placed again.
void OccurrenceEngine::removeLine(std::int32_t line)
{
    assert(line >= 0 && static_cast<std::size_t>(line) <= m_source.lineTable().size());
    for (auto &cell : m_dayCells)
        dropLine(cell, line);
    for (auto &cell : m_leadInCells)
        dropLine(cell, line);
    if (!dropLine(m_notes, line))
        return;
    m_pendingNotes.clear();
    replayNotesAsTheyAre();
}

void OccurrenceEngine::insertLine(std::int32_t line)
{
    auto &lines = m_source.lineTable();
    assert(line >= 0 && static_cast<std::size_t>(line) < lines.size());
    const auto makeRoom = [line](std::vector<Appt> &cell) {
        for (Appt &appt : cell)
            appt.line += appt.line >= line ? 1 : 0;
    };
    for (auto &cell : m_dayCells)
        makeRoom(cell);
    for (auto &cell : m_leadInCells)
        makeRoom(cell);
    makeRoom(m_notes);

    TimeString &text = lines[static_cast<std::size_t>(line)];
    if (skipsExpansion(text))
        return;
    ApptInfo info(line);
    LineDates dates;
    ReadAppt(info, m_source.readContext(), text, dates);
    if (info.kind == CategoryLine || info.kind == Unscheduled)
        return;
    m_pendingNotes.clear();
    InsertAtFill fill(*this);
    expand(ruleOf(info), dates, fill);
    if (!m_pendingNotes.empty())
        replayNotesAsTheyAre();
}

// The notes list placed again with the entries of m_pendingNotes, in the order the lines
// give now.
void OccurrenceEngine::replayNotesAsTheyAre()
{
    m_pendingNotes.insert(m_pendingNotes.end(), m_notes.begin(), m_notes.end());
    m_notes.clear();
    const auto &lines = m_source.lineTable();
    replayNotes([this](std::int32_t a, std::int32_t b) { return linePrecedes(a, b); },
                [&lines](std::int32_t at) {
                    return orderKeyOf(lines[static_cast<std::size_t>(at)]).category;
                });
}

std::int32_t OccurrenceEngine::expandOne(std::int32_t line)
{
    auto &lines = m_source.lineTable();
    assert(line >= 0 && static_cast<std::size_t>(line) < lines.size());
    TimeString &text = lines[static_cast<std::size_t>(line)];
    ApptInfo info(line);
    LineDates dates;
    ReadAppt(info, m_source.readContext(), text, dates);
    if (!startsWith(text.text, "~"))
        ExpandLine(info, dates);
    return info.kind;
}

OccurrenceEngine::AppendOutcome OccurrenceEngine::appendLine(std::int32_t line)
{
    AppendOutcome outcome;
    clearSeenMarks();
    if (expandOne(line) == CategoryLine) {
        outcome.categoryLine = true;
        return outcome;
    }
    BuildIndex(line);
    outcome.position = locatedPosition();
    if (m_singleSeen) {
        outcome.hasGoToDate = true;
        outcome.goToDate = m_firstSeen;
    } else if (m_noteSeen) {
        outcome.hasGoToDate = true;
        outcome.goToDate = window().start;
    }
    return outcome;
}

bool OccurrenceEngine::passesFilters(const Rule &info, const TimeString &line) const
{
    if (!m_source.IsShown(info.category))
        return false;
    if (m_settings.screening
        && !(info.screenChecked ? info.screenPasses
                                : ContainsFolded(line.text, m_settings.screenText)))
        return false;
    if (info.priority >= 1 && info.priority <= 4)
        return info.priority <= m_settings.priorityLevel;
    return !m_settings.hideUnprioritized;
}

// The dates at which a line can show anything: from the lead-in start (earlier for a nag
// line, whose past dates stay in the notes for the nag interval) up to the day after the
// window (a Saturday there moves onto the window's last day), later when warnings reach
// further; inside the line's own start and end dates.
OccurrenceEngine::Range OccurrenceEngine::usefulRange(const Rule &info) const
{
    const DateWindow &w = window();
    const Day today = w.today.dayNumber;
    const Day nag = std::clamp<Day>(m_settings.nagInterval, 0, maxNagDays);
    Range r {w.leadInStart.dayNumber, Day(w.end.dayNumber) + 1};
    if (info.nag) {
        r.lo = std::min(r.lo, today - nag);
        r.hi = std::max(r.hi, today - 1);
    } else if (info.warnDays > 0) {
        r.hi = std::max(r.hi, today + std::min<Day>(info.warnDays, maxWarnDays));
    }
    const RecurrenceRule &rule = info.rule;
    if (rule.hasStart)
        r.lo = std::max<Day>(r.lo, rule.startDate.dayNumber);
    if (rule.hasEnd)
        r.hi = std::min<Day>(r.hi, rule.endDate.dayNumber);
    r.lo = std::max(r.lo, firstRuleDay);
    r.hi = std::min(r.hi, lastRuleDay);
    return r;
}

// The days whose rule dates the window asks for. The series runs from the start date (or
// the lead-in start) to the end date (or the window's end), cut to what can show.
DayRange OccurrenceEngine::ruleRange(const Rule &info) const
{
    const DateWindow &w = window();
    const RecurrenceRule &rule = info.rule;
    // One date places itself whatever the window (a nag date of any age).
    if (rule.kind == Single || rule.kind == SingleShowFollowing)
        return {firstRuleDay, lastRuleDay};
    const Day leadIn = w.leadInStart.dayNumber;
    const Range series {rule.hasStart ? rule.startDate.dayNumber : w.leadInStart.dayNumber,
                        rule.hasEnd ? rule.endDate.dayNumber : w.end.dayNumber};
    const Range useful = usefulRange(info);
    if (useful.lo > useful.hi)
        return {1, 0};
    DayRange r {std::max(series.lo, useful.lo), std::min(series.hi, useful.hi)};
    switch (rule.kind) {
    case Anniversary:
    case Birthday: {
        // The year of the series' start, or the first year that can show when that is
        // later, and the year after it.
        const std::int64_t first
            = std::max(yearOf(std::max(series.lo, firstRuleDay)), yearOf(useful.lo));
        const std::int64_t last = std::min<std::int64_t>(first + 1, yearOf(lastRuleDay));
        return {DayNumber(1, 1, static_cast<std::uint32_t>(first)),
                DayNumber(12, 31, static_cast<std::uint32_t>(last))};
    }
    case EveryNDays:
    case EveryNWeeks:
        // A day count is moved forward by whole steps to the lead-in.
        r.lo = std::max(r.lo, leadIn);
        break;
    case Monthly:
    case MonthlyInYear:
    case EveryNMonths:
        // A month series stops with the month of the window's end.
        r.hi = std::min(r.hi, m_endMonthLastDay);
        break;
    default:
        break;
    }
    return r;
}

void OccurrenceEngine::ExpandLine(const ApptInfo &info, const LineDates &dates)
{
    InsertFill fill(*this);
    expand(ruleOf(info), dates, fill);
}

OccurrenceEngine::Rule OccurrenceEngine::ruleOf(const ApptInfo &info)
{
    Rule rule;
    rule.rule = RecurrenceRule::of(info);
    rule.index = info.index;
    rule.showFollowing = info.showFollowing;
    rule.warnDays = info.warnDays;
    rule.category = info.category;
    rule.priority = info.priority;
    rule.completed = info.completed;
    rule.nag = info.nag;
    rule.unimportant = info.unimportant;
    rule.observed = info.observed;
    rule.weekdaysOnly = info.weekdaysOnly;
    return rule;
}

template<typename Fill>
void OccurrenceEngine::expand(const Rule &info, const LineDates &dates, Fill &fill)
{
    auto &lines = m_source.lineTable();
    assert(info.index >= 0 && static_cast<std::size_t>(info.index) < lines.size());
    if (!windowUsable() || !passesFilters(info, lines[static_cast<std::size_t>(info.index)]))
        return;
    // A line whose series (from its start date or the lead-in, to its end date or the
    // window's end) misses the window shows nothing, not even as a note.
    const DateWindow &w = window();
    const RecurrenceRule &rule = info.rule;
    const TDate seriesStart = rule.hasStart ? rule.startDate : w.leadInStart;
    if ((rule.hasStart && rule.startDate > w.end)
        || (rule.hasEnd && (rule.endDate < w.start || rule.endDate < seriesStart)))
        return;
    if (rule.kind == Note) {
        expandNote(info, fill);
        return;
    }
    // A main date whose year lies beyond what TDate splits gives nothing; one the
    // calendar does not have (2/30, ?/0) has day number 0, and gives nothing either.
    const TDate &main = rule.mainDate;
    if (main.dayNumber != 0 && !isSplittableDay(main.dayNumber))
        return;

    const Day countFrom = w.leadInStart.dayNumber;
    const DayRange range = ruleRange(info);
    m_ruleDates.clear();
    if (rule.kind == WeeklyOnDays) {
        // Weekday by weekday, Sunday first: the order in which a line's reminders of
        // several weekdays join the notes list.
        RecurrenceRule oneDay = rule;
        for (std::size_t day = 0; day < 7; ++day) {
            if (!rule.weekdays[day])
                continue;
            oneDay.weekdays = {};
            oneDay.weekdays[day] = true;
            appendRuleDates(oneDay, range, countFrom, m_ruleDates);
        }
    } else {
        appendRuleDates(rule, range, countFrom, m_ruleDates);
    }
    placeRuleDates(info, dates, fill);
    if ((rule.kind == Single || rule.kind == SingleShowFollowing) && main.dayNumber != 0)
        fill.singleSeen(info.index, main);
}

// The dates the line's rule gave. A plain line (no reminder, following day, shift,
// exclusion, done date or weekday rule) places each alone, without the general steps.
template<typename Fill>
void OccurrenceEngine::placeRuleDates(const Rule &info, const LineDates &dates, Fill &fill)
{
    const bool plain = !info.nag && info.warnDays <= 0 && info.showFollowing == 0 && !info.observed
        && !info.weekdaysOnly && dates.empty();
    if (!plain) {
        for (const TDate date : m_ruleDates)
            placeDate(date.dayNumber, date.flags, info, dates, fill);
        return;
    }
    placePlainDates(info, fill);
}

// Most instances of a full rebuild pass here: everything it calls is inlined, so that an
// instance costs a bounds check and an append.
template<typename Fill>
[[gnu::flatten]] void OccurrenceEngine::placePlainDates(const Rule &info, Fill &fill)
{
    const auto done = static_cast<std::uint8_t>(info.completed ? 1 : 0);
    const Day from = window().leadInStart.dayNumber;
    const auto cells = static_cast<Day>(m_cellOfDay.size());
    std::vector<Appt> *const *cellOfDay = m_cellOfDay.data();
    for (const TDate date : m_ruleDates) {
        const Day at = Day(date.dayNumber) - from;
        if (at >= 0 && at < cells)
            fill.cell(*cellOfDay[at], {date, done, info.index});
    }
}

template<typename Fill>
void OccurrenceEngine::expandNote(const Rule &info, Fill &fill)
{
    if (info.unimportant) {
        const int day = ((m_settings.unimportantDay % 7) + 7) % 7;
        if (weekdayOf(window().today.dayNumber) != day)
            return;
    }
    fill.note({TDate(), static_cast<std::uint8_t>(info.completed), info.index});
    fill.noteSeen(info.index, info.rule.mainDate);
}

namespace {

std::uint8_t doneMarkOf(Day day, bool completed, const LineDates &dates)
{
    if (!dates.done.empty())
        return dates.done.contains(TDate::fromDayNumber(asDayNumber(day))) ? 1 : 0;
    return completed ? 1 : 0;
}

} // namespace

void OccurrenceEngine::PlaceInstance(std::int64_t day, std::uint32_t flags, const ApptInfo &info,
                                     const LineDates &dates)
{
    InsertFill fill(*this);
    placeDate(day, flags, ruleOf(info), dates, fill);
}

template<typename Fill>
void OccurrenceEngine::placeDate(std::int64_t day, std::uint32_t flags, const Rule &info,
                                 const LineDates &dates, Fill &fill)
{
    const DateWindow &w = window();
    const RecurrenceRule &rule = info.rule;
    const Day leadIn = w.leadInStart.dayNumber;
    const Day today = w.today.dayNumber;
    if ((rule.hasStart && Day(rule.startDate.dayNumber) > day)
        || (rule.hasEnd && Day(rule.endDate.dayNumber) < day) || (day < leadIn && !info.nag))
        return;

    // Nag and warning entries carry the done mark of their own date. A warning needs no
    // ceiling here: each date is warned of once, however far ahead.
    const TDate date = TDate::fromDayNumber(asDayNumber(day), flags);
    if (info.nag) {
        const Day nag = std::clamp<Day>(m_settings.nagInterval, 0, maxNagDays);
        if (day < today && (rule.kind == Single || day + nag >= today))
            fill.note({date, doneMarkOf(day, info.completed, dates), info.index});
    } else if (info.warnDays > 0 && day > today && day <= today + info.warnDays) {
        fill.note({date, doneMarkOf(day, info.completed, dates), info.index});
    }
    if (info.showFollowing < 0)
        return;

    // The date and its following days; none of them can reach past the window's end (a
    // Saturday just behind it moves onto it). A nag date before the lead-in is not placed
    // itself (a lead-in cell would show it on a wrong day of the calendar), but its
    // following days from the lead-in on are; a Sunday just before it moves onto it.
    const Day last = std::min<Day>(day + info.showFollowing, Day(w.end.dayNumber) + 1);
    if (!info.observed && dates.empty() && !info.weekdaysOnly) {
        // Most lines: every day placed as it is, with the line's own done mark.
        const std::uint8_t done = info.completed ? 1 : 0;
        for (Day d = std::max(day, leadIn); d <= last; ++d) {
            if (std::vector<Appt> *cell = cellOf(d))
                fill.cell(
                    *cell,
                    {TDate::fromDayNumber(asDayNumber(d), d == day ? flags : 0), done, info.index});
        }
        return;
    }
    for (Day d = std::max(day, leadIn - 1); d <= last; ++d) {
        if (d < leadIn && d == day)
            continue;
        Day at = d;
        if (info.observed) {
            const int weekday = weekdayOf(d);
            at = weekday == 6 ? d - 1 : (weekday == 0 ? d + 1 : d);
        }
        if (!dates.excluded.empty()
            && dates.excluded.contains(TDate::fromDayNumber(asDayNumber(at))))
            continue;
        if (info.weekdaysOnly && isWeekend(at))
            continue;
        if (std::vector<Appt> *cell = cellOf(at))
            fill.cell(*cell,
                      {TDate::fromDayNumber(asDayNumber(at), (d == day && at == d) ? flags : 0),
                       doneMarkOf(at, info.completed, dates), info.index});
    }
}

// The cell of a day from the lead-in start to the window's end; null for any other day.
inline std::vector<Appt> *OccurrenceEngine::cellOf(std::int64_t day) const
{
    const Day from = window().leadInStart.dayNumber;
    if (day < from || day - from >= static_cast<Day>(m_cellOfDay.size()))
        return nullptr;
    return m_cellOfDay[static_cast<std::size_t>(day - from)];
}

void OccurrenceEngine::prepareWindow()
{
    m_cellOfDay.clear();
    if (!windowUsable())
        return;
    const DateWindow &w = window();
    const std::uint32_t endMonth = w.end.Month(), endYear = w.end.Year();
    m_endMonthLastDay = DayNumber(endMonth, DaysInMonth(endMonth, endYear), endYear);
    for (Day day = w.leadInStart.dayNumber; day <= Day(w.end.dayNumber); ++day) {
        m_cellOfDay.push_back(
            day < Day(w.start.dayNumber)
                ? &m_leadInCells[static_cast<std::size_t>(day - w.leadInStart.dayNumber)]
                : &m_dayCells[daySlotOf(day)]);
    }
}

// The order of two lines as they are now, for the one-line paths, whose lines may have
// changed since the last rebuild made its keys.
bool OccurrenceEngine::linePrecedes(std::int32_t a, std::int32_t b) const
{
    const auto &lines = m_source.lineTable();
    return keyPrecedes(orderKeyOf(lines[static_cast<std::size_t>(a)]),
                       orderKeyOf(lines[static_cast<std::size_t>(b)]));
}

// The notes list mixes notes and reminders of dated lines; its order is not transitive
// then, so each entry walks in from the end exactly as placed.
void OccurrenceEngine::insertNote(const Appt &appt)
{
    auto at = m_notes.size();
    while (at > 0 && linePrecedes(appt.line, m_notes[at - 1].line))
        --at;
    m_notes.insert(m_notes.begin() + static_cast<std::ptrdiff_t>(at), appt);
}

// Day cells hold no notes, so their order (time, then free text) is consistent: the place
// behind every entry that the new one does not precede is found by halving.
void OccurrenceEngine::insertSorted(std::vector<Appt> &cell, const Appt &appt) const
{
    const auto at
        = std::upper_bound(cell.begin(), cell.end(), appt, [this](const Appt &x, const Appt &y) {
              return linePrecedes(x.line, y.line);
          });
    cell.insert(at, appt);
}

// Equal entries of a full rebuild keep the order of their lines; entries of one line,
// the order in which they were made.
void OccurrenceEngine::insertInFileOrder(std::vector<Appt> &cell, const Appt &appt) const
{
    const auto &lines = m_source.lineTable();
    const OrderKey key = orderKeyOf(lines[static_cast<std::size_t>(appt.line)]);
    const auto at = std::upper_bound(
        cell.begin(), cell.end(), appt, [&key, &lines](const Appt &x, const Appt &y) {
            const OrderKey other = orderKeyOf(lines[static_cast<std::size_t>(y.line)]);
            return keyPrecedes(key, other) || (!keyPrecedes(other, key) && x.line < y.line);
        });
    cell.insert(at, appt);
}

std::int32_t OccurrenceEngine::BuildIndex(std::int32_t locate)
{
    return m_display.build(m_notes, m_dayCells, window(), windowUsable(), m_source.lineTable(),
                           m_source, locate);
}

TDate OccurrenceEngine::PrevDayWithInstances(const TDate &date) const
{
    return m_display.prevDayWithInstances(date, window(), windowUsable());
}

TDate OccurrenceEngine::NextDayWithInstances(const TDate &date) const
{
    return m_display.nextDayWithInstances(date, window(), windowUsable());
}

} // namespace dvw
