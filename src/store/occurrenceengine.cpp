#include "occurrenceengine.h"

#include "core/linereader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

namespace dvw {

namespace {

// Day numbers are widened to signed 64 bits inside the engine, so that adding counts,
// offsets and intervals read from a line can never wrap or overflow.
using Day = std::int64_t;

// The engine computes dates of years 1 to 99999 only; what lies outside can never touch
// a window, and the day-number arithmetic of TDate stays exact inside this span.
constexpr std::int64_t firstYear = 1;
constexpr std::int64_t lastYear = 99999;

Day dayOf(std::uint32_t month, std::uint32_t day, std::int64_t year)
{
    if (year < firstYear || year > lastYear)
        return 0;
    return DayNumber(month, day, static_cast<std::uint32_t>(year));
}

// Days in a month of a real year (1..99999), without day-number arithmetic.
std::uint32_t monthLength(std::uint32_t month, std::int64_t year)
{
    static constexpr std::uint32_t lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : lengths[month - 1];
}

const Day firstDay = dayOf(1, 1, firstYear);
const Day lastDay = dayOf(12, 31, lastYear);

struct Civil
{
    std::int64_t year;
    std::uint32_t month; // [1, 12]
    std::uint32_t day; // [1, 31]
};

// Day numbers whose calendar date TDate can split exactly; main dates of anniversaries
// (year 0) lie a little below firstDay, dates with wrapped years anywhere.
constexpr Day splittableLo = 1721120;
constexpr Day splittableHi = 1000000000;

bool splittable(Day day)
{
    return day >= splittableLo && day <= splittableHi;
}

Civil civilOf(Day day)
{
    assert(splittable(day));
    std::uint32_t m, d, y;
    TDate::fromDayNumber(static_cast<std::uint32_t>(day)).SplitDate(m, d, y);
    return {y, m, d};
}

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

// Months counted from January of year 0: [0, 12 * 100000).
std::int64_t monthIndex(std::int64_t year, std::uint32_t month)
{
    return year * 12 + month - 1;
}

std::int64_t monthIndexOf(Day day)
{
    const Civil c = civilOf(day);
    return monthIndex(c.year, c.month);
}

std::int64_t yearOfIndex(std::int64_t mi)
{
    return mi >= 0 ? mi / 12 : -((-mi + 11) / 12);
}

std::uint32_t monthOfIndex(std::int64_t mi)
{
    return static_cast<std::uint32_t>(mi - yearOfIndex(mi) * 12 + 1);
}

// The smallest value >= from that lies a whole number of steps after origin (step > 0).
std::int64_t alignUp(std::int64_t origin, std::int64_t from, std::int64_t step)
{
    if (origin >= from)
        return origin;
    return origin + (from - origin + step - 1) / step * step;
}

std::uint32_t asDayNumber(Day day)
{
    return static_cast<std::uint32_t>(day);
}

// Byte order as signed 8-bit values up to the first difference, the end of a text
// counting as a NUL; an embedded NUL ends the comparison as it would end a C string.
int compareText(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (; i < n && a[i] == b[i]; ++i) {
        if (a[i] == '\0')
            return 0;
    }
    const auto ca = static_cast<signed char>(i < a.size() ? a[i] : '\0');
    const auto cb = static_cast<signed char>(i < b.size() ? b[i] : '\0');
    return ca < cb ? -1 : (ca > cb ? 1 : 0);
}

// Eight bytes as one number whose unsigned order is the order of the bytes compared as
// signed values: read first byte most significant, with each top bit flipped.
std::uint64_t packSigned(const unsigned char *bytes)
{
    std::uint64_t packed;
    std::memcpy(&packed, bytes, sizeof packed);
    if constexpr (std::endian::native == std::endian::little)
        packed = __builtin_bswap64(packed);
    return packed ^ 0x8080808080808080u;
}

std::string_view freeText(const TimeString &line)
{
    const auto start
        = std::min(static_cast<std::size_t>(std::max(line.textStart, 0)), line.text.size());
    return std::string_view(line.text).substr(start);
}

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool containsIgnoringCase(std::string_view text, std::string_view what)
{
    if (what.empty())
        return true;
    const auto hit = std::search(text.begin(), text.end(), what.begin(), what.end(),
                                 [](char x, char y) { return foldAscii(x) == foldAscii(y); });
    return hit != text.end();
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

OccurrenceEngine::OccurrenceEngine(EngineSource &source)
    : m_source(source)
{
    m_notes.reserve(6);
    m_index.reserve(2001);
    m_dayPositions.fill(-1);
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
    return Day(w.leadInStart.dayNumber) >= firstDay && Day(w.end.dayNumber) + 1 <= lastDay
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
    assert(month >= 1 && month <= 12 && day >= 1 && day <= 31);
    return m_dayCells[static_cast<std::size_t>((month - 1) * 31 + day - 1)];
}

const std::vector<Appt> &OccurrenceEngine::leadInCell(int day) const
{
    assert(day >= 1 && day <= 31);
    return m_leadInCells[static_cast<std::size_t>(day - 1)];
}

std::int32_t OccurrenceEngine::dayPosition(int month, int day) const
{
    assert(month >= 1 && month <= 12 && day >= 1 && day <= 31);
    return m_dayPositions[static_cast<std::size_t>((month - 1) * 31 + day - 1)];
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
    ApptInfo info;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (skipsExpansion(lines[i]))
            continue;
        info.index = static_cast<std::int32_t>(i);
        ReadAppt(info, context, lines[i]);
        m_decoded.push_back(ruleOf(info));
        const bool dated = !context.doneDates().empty() || !context.excludedDates().empty();
        m_datesOf.push_back(dated ? static_cast<std::int32_t>(m_dateLists.size()) : -1);
        if (dated)
            m_dateLists.emplace_back(context.doneDates(), context.excludedDates());
    }
    makeOrderKeys();

    // Expanding the lines in day order fills every cell in order; lines that order equal
    // keep their file order, as one-by-one insertion would keep them.
    const std::vector<std::int32_t> order = dayOrder();
    m_batch = true;
    m_pendingNotes.clear();
    m_firstSingleLine = -1;
    m_firstNoteLine = -1;
    const DateList none;
    for (const std::int32_t at : order) {
        const auto i = static_cast<std::size_t>(at);
        const std::int32_t slot = m_datesOf[i];
        const auto *dates = slot < 0 ? nullptr : &m_dateLists[static_cast<std::size_t>(slot)];
        expandDecoded(m_decoded[i], dates ? dates->first : none, dates ? dates->second : none);
    }
    m_batch = false;
    replayNotes();
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

namespace {

// What the day order sorts: a line's packed key and its place in file order. Kept to 24
// bytes: sorting moves these around many times.
struct OrderItem
{
    std::uint64_t prefix;
    std::uint64_t prefix2;
    std::uint32_t time;
    std::int32_t decoded; // position in the decoded lines, in file order
};

// Byte b of an item's key (time, prefix, prefix2), counting from the least significant.
std::size_t keyByte(const OrderItem &item, int b)
{
    const std::uint64_t word = b < 8 ? item.prefix2 : (b < 16 ? item.prefix : item.time);
    return static_cast<std::size_t>((word >> (8 * (b % 8))) & 0xFFu);
}

// Sorts by time, then the packed bytes, keeping equal keys in the order they came in: a
// radix sort, one key byte at a time from the least significant. It makes no comparison
// (whose outcome a processor cannot guess), so tens of thousands of lines sort several
// times faster than by comparing; bytes that every item shares cost one look each.
void sortByPackedKey(std::vector<OrderItem> &items)
{
    constexpr int keyBytes = 20;
    if (items.size() < 2)
        return;
    std::vector<std::array<std::size_t, 256>> counts(keyBytes);
    for (const OrderItem &item : items) {
        for (int b = 0; b < keyBytes; ++b)
            ++counts[static_cast<std::size_t>(b)][keyByte(item, b)];
    }
    std::vector<OrderItem> sorted(items.size());
    for (int b = 0; b < keyBytes; ++b) {
        std::array<std::size_t, 256> &next = counts[static_cast<std::size_t>(b)];
        if (next[keyByte(items.front(), b)] == items.size())
            continue;
        std::size_t start = 0;
        for (std::size_t &count : next) // counts become each byte value's first place
            start += std::exchange(count, start);
        for (const OrderItem &item : items)
            sorted[next[keyByte(item, b)]++] = item;
        items.swap(sorted);
    }
}

} // namespace

// The decoded lines in the order their instances take within a day: time, then free
// text; equal lines in file order. Notes never reach a cell, and with them the order would
// not be transitive: they go last, in file order, as their entries are collected anyway.
// Lines that produce nothing are left out.
std::vector<std::int32_t> OccurrenceEngine::dayOrder() const
{
    using Item = OrderItem;
    std::vector<Item> items;
    std::vector<std::int32_t> notes;
    items.reserve(m_decoded.size());
    for (std::size_t i = 0; i < m_decoded.size(); ++i) {
        const Rule &info = m_decoded[i];
        if (info.kind == CategoryLine || info.kind == Unscheduled)
            continue;
        if (info.kind == Note) {
            notes.push_back(static_cast<std::int32_t>(i));
            continue;
        }
        const OrderKey &k = m_keys[static_cast<std::size_t>(info.index)];
        items.push_back({k.prefix, k.prefix2, k.time, static_cast<std::int32_t>(i)});
    }
    const auto packedLess = [](const Item &a, const Item &b) {
        if (a.time != b.time)
            return a.time < b.time;
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        return a.prefix2 < b.prefix2;
    };
    sortByPackedKey(items);
    // Runs that agree on the packed bytes and go on beyond them are ordered by the rest.
    const auto keyOf = [this](const Item &item) -> const OrderKey & {
        const Rule &info = m_decoded[static_cast<std::size_t>(item.decoded)];
        return m_keys[static_cast<std::size_t>(info.index)];
    };
    std::vector<std::pair<std::string_view, std::int32_t>> run;
    for (std::size_t begin = 0; begin < items.size();) {
        std::size_t end = begin + 1;
        while (end < items.size() && !packedLess(items[begin], items[end]))
            ++end;
        if (end - begin > 1 && !keyOf(items[begin]).shortText) {
            run.clear();
            for (std::size_t i = begin; i < end; ++i)
                run.emplace_back(keyOf(items[i]).rest, items[i].decoded);
            std::sort(run.begin(), run.end(), [](const auto &a, const auto &b) {
                const int c = compareText(a.first, b.first);
                return c < 0 || (c == 0 && a.second < b.second);
            });
            for (std::size_t i = begin; i < end; ++i)
                items[i].decoded = run[i - begin].second;
        }
        begin = end;
    }
    std::vector<std::int32_t> order;
    order.reserve(items.size() + notes.size());
    for (const Item &item : items)
        order.push_back(item.decoded);
    order.insert(order.end(), notes.begin(), notes.end());
    return order;
}

// The notes entries in the order they were placed: by line, and within a line as made.
void OccurrenceEngine::replayNotes()
{
    std::stable_sort(m_pendingNotes.begin(), m_pendingNotes.end(),
                     [](const Appt &a, const Appt &b) { return a.line < b.line; });
    // While every entry shares one category the order is consistent, and the place the
    // walk from the end would reach is found by halving instead.
    bool oneCategory = true;
    const std::uint32_t firstCategory = m_pendingNotes.empty()
        ? 0
        : m_keys[static_cast<std::size_t>(m_pendingNotes[0].line)].category;
    for (const Appt &appt : m_pendingNotes) {
        oneCategory
            = oneCategory && m_keys[static_cast<std::size_t>(appt.line)].category == firstCategory;
        if (oneCategory) {
            const auto at = std::upper_bound(
                m_notes.begin(), m_notes.end(), appt,
                [this](const Appt &x, const Appt &y) { return keyPrecedes(x.line, y.line); });
            m_notes.insert(at, appt);
            continue;
        }
        auto at = m_notes.size();
        while (at > 0 && keyPrecedes(appt.line, m_notes[at - 1].line))
            --at;
        m_notes.insert(m_notes.begin() + static_cast<std::ptrdiff_t>(at), appt);
    }
    m_pendingNotes.clear();
}

void OccurrenceEngine::makeOrderKeys()
{
    const auto &lines = m_source.lineTable();
    m_keys.assign(lines.size(), OrderKey());
    for (const Rule &info : m_decoded) {
        const TimeString &line = lines[static_cast<std::size_t>(info.index)];
        OrderKey &key = m_keys[static_cast<std::size_t>(info.index)];
        key.note = line.kind == Note;
        key.category = line.category;
        key.time = static_cast<std::uint32_t>(line.time);
        const std::string_view text = freeText(line);
        // The first sixteen bytes, a NUL standing for the end and for everything after it.
        unsigned char bytes[16] = {};
        const std::size_t taken = std::min<std::size_t>(text.size(), 16);
        std::memcpy(bytes, text.data(), taken);
        const void *nul = std::memchr(bytes, 0, taken);
        const std::size_t length = nul
            ? static_cast<std::size_t>(static_cast<const unsigned char *>(nul) - bytes)
            : taken;
        std::fill(bytes + length, bytes + 16, 0);
        key.prefix = packSigned(bytes);
        key.prefix2 = packSigned(bytes + 8);
        key.shortText = length < 16;
        key.rest = key.shortText ? std::string_view() : text.substr(16);
    }
}

bool OccurrenceEngine::keyPrecedes(std::int32_t a, std::int32_t b) const
{
    const OrderKey &ka = m_keys[static_cast<std::size_t>(a)];
    const OrderKey &kb = m_keys[static_cast<std::size_t>(b)];
    if ((ka.note || kb.note) && ka.category != kb.category)
        return ka.category < kb.category;
    if (ka.time != kb.time)
        return ka.time < kb.time;
    if (ka.prefix != kb.prefix)
        return ka.prefix < kb.prefix;
    if (ka.prefix2 != kb.prefix2)
        return ka.prefix2 < kb.prefix2;
    if (ka.shortText)
        return false; // both texts ended at the same place within the packed bytes
    return compareText(ka.rest, kb.rest) < 0;
}

std::int32_t OccurrenceEngine::expandOne(std::int32_t line)
{
    auto &lines = m_source.lineTable();
    assert(line >= 0 && static_cast<std::size_t>(line) < lines.size());
    TimeString &text = lines[static_cast<std::size_t>(line)];
    ApptInfo info(line);
    ReadAppt(info, m_source.readContext(), text);
    if (!startsWith(text.text, "~"))
        ExpandLine(info);
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
    outcome.position = m_located;
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
    if (m_settings.screening && !containsIgnoringCase(line.text, m_settings.screenText))
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
    if (info.hasStart)
        r.lo = std::max<Day>(r.lo, info.startDate.dayNumber);
    if (info.hasEnd)
        r.hi = std::min<Day>(r.hi, info.endDate.dayNumber);
    r.lo = std::max(r.lo, firstDay);
    r.hi = std::min(r.hi, lastDay);
    return r;
}

void OccurrenceEngine::ExpandLine(const ApptInfo &info)
{
    ReadContext &context = m_source.readContext();
    expandDecoded(ruleOf(info), context.doneDates(), context.excludedDates());
}

OccurrenceEngine::Rule OccurrenceEngine::ruleOf(const ApptInfo &info)
{
    Rule rule;
    rule.mainDate = info.mainDate;
    rule.startDate = info.startDate;
    rule.endDate = info.endDate;
    rule.index = info.index;
    rule.kind = info.kind;
    rule.n = info.n;
    rule.month = info.month;
    rule.weekday = info.weekday;
    rule.offset = info.offset;
    rule.showFollowing = info.showFollowing;
    rule.warnDays = info.warnDays;
    rule.category = info.category;
    rule.weekdays = info.weekdays;
    rule.priority = info.priority;
    rule.completed = info.completed;
    rule.hasStart = info.hasStart;
    rule.hasEnd = info.hasEnd;
    rule.nag = info.nag;
    rule.unimportant = info.unimportant;
    rule.observed = info.observed;
    rule.weekdaysOnly = info.weekdaysOnly;
    return rule;
}

void OccurrenceEngine::expandDecoded(const Rule &info, const DateList &done,
                                     const DateList &excluded)
{
    auto &lines = m_source.lineTable();
    assert(info.index >= 0 && static_cast<std::size_t>(info.index) < lines.size());
    m_line = &lines[static_cast<std::size_t>(info.index)];
    m_doneDates = &done;
    m_excludedDates = &excluded;
    if (!windowUsable() || !passesFilters(info, *m_line))
        return;
    m_plainLine = !info.nag && info.warnDays <= 0 && info.showFollowing == 0 && !info.observed
        && !info.weekdaysOnly && done.empty() && excluded.empty();

    const DateWindow &w = window();
    const Range series {info.hasStart ? info.startDate.dayNumber : w.leadInStart.dayNumber,
                        info.hasEnd ? info.endDate.dayNumber : w.end.dayNumber};
    if ((info.hasStart && info.startDate > w.end) || (info.hasEnd && info.endDate < w.start)
        || series.hi < series.lo)
        return;
    const Range useful = usefulRange(info);
    const TDate &main = info.mainDate;
    // A main date the calendar does not have (2/30, ?/0) has day number 0: nothing; nor
    // has one whose year lies beyond what the engine computes.
    if (info.kind != Note && main.dayNumber != 0 && !splittable(main.dayNumber))
        return;
    switch (info.kind) {
    case Note:
        expandNote(info);
        break;
    case Single:
    case SingleShowFollowing:
        if (main.dayNumber == 0)
            break;
        candidate(main.dayNumber, main.flags, info);
        if (m_batch) {
            if (m_firstSingleLine < 0 || info.index < m_firstSingleLine) {
                m_firstSingleLine = info.index;
                m_firstSingleDate = main;
            }
        } else if (!m_singleSeen) {
            m_singleSeen = true;
            m_firstSeen = main;
        }
        break;
    case Anniversary:
    case Birthday:
        if (main.dayNumber != 0)
            expandYearly(info, series, useful);
        break;
    case EveryNDays:
        // Days are counted from the start date; one the calendar does not have (2/30)
        // gives no phase, as for weeks and months.
        if (info.n > 0 && (!info.hasStart || info.startDate.dayNumber != 0))
            expandEveryN(info, info.n, series, useful);
        break;
    case EveryNWeeks:
        // Weeks are counted from the start date; without one there is no phase.
        if (info.n > 0 && info.hasStart && info.startDate.dayNumber != 0)
            expandEveryN(info, Day(info.n) * 7, series, useful);
        break;
    case MonthlyInYear: {
        // The given day of the months of its own year only.
        if (main.dayNumber == 0 || useful.lo > useful.hi)
            break;
        const std::int64_t year = civilOf(main.dayNumber).year;
        const Civil from = civilOf(std::max<Day>(series.lo, firstDay));
        if (from.year > year)
            break;
        const std::int64_t first
            = from.year < year ? monthIndex(year, 1) : monthIndex(year, from.month);
        expandMonthSeries(info, first, monthIndex(year, 12), 1, civilOf(main.dayNumber).day,
                          main.hasFlag(TDate::LastDay), std::min(series.hi, useful.hi));
        break;
    }
    case Monthly: {
        if (main.dayNumber == 0 || useful.lo > useful.hi)
            break;
        const Civil from = civilOf(std::max<Day>(series.lo, firstDay));
        std::int64_t first = monthIndex(from.year, from.month);
        first = std::max(first, monthIndexOf(useful.lo));
        expandMonthSeries(info, first, std::numeric_limits<std::int64_t>::max() / 2, 1,
                          civilOf(main.dayNumber).day, main.hasFlag(TDate::LastDay),
                          std::min(series.hi, useful.hi));
        break;
    }
    case EveryNMonths: {
        if (info.n <= 0 || !info.hasStart || info.startDate.dayNumber < firstDay
            || info.startDate.dayNumber > lastDay || useful.lo > useful.hi)
            break;
        const Civil start = civilOf(info.startDate.dayNumber);
        const std::int64_t first
            = alignUp(monthIndex(start.year, start.month), monthIndexOf(useful.lo), info.n);
        expandMonthSeries(info, first, std::numeric_limits<std::int64_t>::max() / 2, info.n,
                          start.day, main.hasFlag(TDate::LastDay), std::min(series.hi, useful.hi));
        break;
    }
    case WeeklyOnDays:
        expandWeekly(info, series, useful);
        break;
    case NthWeekdayOfMonth:
        expandNthWeekday(info, series, useful);
        break;
    default:
        break; // category definitions and unscheduled lines produce nothing
    }
}

void OccurrenceEngine::expandNote(const Rule &info)
{
    if (info.unimportant) {
        const int day = ((m_settings.unimportantDay % 7) + 7) % 7;
        if (weekdayOf(window().today.dayNumber) != day)
            return;
    }
    addNote({TDate(), static_cast<std::uint8_t>(info.completed), info.index});
    if (m_batch) {
        if (m_firstNoteLine < 0 || info.index < m_firstNoteLine) {
            m_firstNoteLine = info.index;
            m_firstNoteDate = info.mainDate;
        }
    } else if (!m_noteSeen) {
        m_noteSeen = true;
        m_firstSeen = info.mainDate;
    }
}

// Anniversaries and birthdays: the month and day in every year from the year of the
// series' start on. A 29 February exists in leap years only; a last-day date takes each
// year's last day of its month.
void OccurrenceEngine::expandYearly(const Rule &info, Range series, Range useful)
{
    if (useful.lo > useful.hi)
        return;
    const Civil main = civilOf(info.mainDate.dayNumber);
    const bool lastDayOfMonth = info.mainDate.hasFlag(TDate::LastDay);
    const std::int64_t fromYear
        = std::max(civilOf(std::max<Day>(series.lo, firstDay)).year, civilOf(useful.lo).year);
    const std::int64_t toYear = civilOf(useful.hi).year; // at most a few years on
    for (std::int64_t year = fromYear; year <= toYear; ++year) {
        const std::uint32_t day = lastDayOfMonth ? monthLength(main.month, year) : main.day;
        const Day date = dayOf(main.month, day, year);
        if (date != 0)
            candidate(date, 0, info);
    }
}

// Every `step` days from the series start, moved forward by whole steps to the lead-in.
void OccurrenceEngine::expandEveryN(const Rule &info, std::int64_t step, Range series, Range useful)
{
    const Day leadIn = window().leadInStart.dayNumber;
    Day date = alignUp(series.lo, leadIn, step);
    date = alignUp(date, useful.lo, step);
    const Day stop = std::min(series.hi, useful.hi);
    for (; date <= stop; date += step) // at most (useful range) / step rounds
        candidate(date, 0, info);
}

void OccurrenceEngine::expandWeekly(const Rule &info, Range series, Range useful)
{
    const Day from = std::max(series.lo, useful.lo);
    const Day stop = std::min(series.hi, useful.hi);
    for (int weekday = 0; weekday < 7; ++weekday) {
        if (!info.weekdays[static_cast<std::size_t>(weekday)])
            continue;
        Day date = from + (weekday - weekdayOf(from) + 7) % 7;
        for (; date <= stop; date += 7) // at most (useful range) / 7 rounds
            candidate(date, 0, info);
    }
}

// The given day (or the last day) of every step-th month from firstMonth to lastMonth
// (month indexes), up to the day `stop`; months without that day are passed over.
void OccurrenceEngine::expandMonthSeries(const Rule &info, std::int64_t firstMonth,
                                         std::int64_t lastMonth, std::int64_t step,
                                         std::uint32_t day, bool lastDayOfMonth, std::int64_t stop)
{
    const Day windowEnd = window().end.dayNumber;
    for (std::int64_t mi = firstMonth; mi <= lastMonth; mi += step) {
        const std::int64_t year = yearOfIndex(mi);
        const std::uint32_t month = monthOfIndex(mi);
        const Day first = dayOf(month, 1, year);
        // Named bound: once a month starts after the window, nothing later can show.
        if (first == 0 || first > windowEnd)
            break;
        const std::uint32_t length = monthLength(month, year);
        const std::uint32_t d = lastDayOfMonth ? length : day;
        if (d < 1 || d > length)
            continue;
        const Day date = first + d - 1;
        if (date > stop)
            break;
        candidate(date, lastDayOfMonth ? static_cast<std::uint32_t>(TDate::LastDay) : 0u, info);
    }
}

void OccurrenceEngine::expandNthWeekday(const Rule &info, Range series, Range useful)
{
    // An ordinal below 1 names no weekday of a month.
    if (info.n < 1 || info.weekday < 0 || info.weekday > 6)
        return;
    const Day target = std::max(series.lo, useful.lo);
    const Day stop = std::min(series.hi, useful.hi);
    if (target > stop)
        return;
    const bool fixedMonth = info.month >= 1 && info.month <= 12;
    const std::int64_t step = fixedMonth ? 12 : 1;
    const Civil from = civilOf(std::max<Day>(series.lo, firstDay));
    std::int64_t mi
        = monthIndex(from.year, fixedMonth ? static_cast<std::uint32_t>(info.month) : from.month);
    // A positive offset can carry a date from an earlier month into the window.
    if (!fixedMonth && info.offset > 0)
        mi -= info.offset / 28 + 1;
    // Skip months whose date cannot reach the target: a date is at most 30 days after the
    // first of its month, plus the offset. Months before year 1 are not computed.
    const Day needFirst = target - info.offset - 30;
    std::int64_t need = monthIndex(firstYear, 1);
    if (needFirst > lastDay)
        return;
    if (needFirst >= firstDay)
        need = std::max(need, monthIndexOf(needFirst));
    mi = alignUp(mi, need, step);
    for (;; mi += step) { // dates grow by at least 22 days a round, so this ends near stop
        const std::int64_t year = yearOfIndex(mi);
        const std::uint32_t month = monthOfIndex(mi);
        const Day first = dayOf(month, 1, year);
        if (first == 0)
            break;
        const auto length = static_cast<std::int64_t>(monthLength(month, year));
        std::int64_t k = (info.weekday - weekdayOf(first) + 7) % 7 + 7 * (Day(info.n) - 1);
        if (k >= length) // the fifth and later ordinals mean the last such weekday
            k -= 7 * ((k - length) / 7 + 1);
        const Day date = first + k + info.offset;
        if (date > stop)
            break;
        if (date >= series.lo)
            candidate(date, 0, info);
    }
}

std::uint8_t OccurrenceEngine::doneMarkOf(std::int64_t day, const Rule &info) const
{
    if (!m_doneDates->empty())
        return m_doneDates->contains(TDate::fromDayNumber(asDayNumber(day))) ? 1 : 0;
    return info.completed ? 1 : 0;
}

// One date of a rule. A plain line (no reminder, following day, shift, exclusion, done
// date or weekday rule) places the date alone, without the general steps.
inline void OccurrenceEngine::candidate(std::int64_t day, std::uint32_t flags, const Rule &info)
{
    if (!m_plainLine) {
        placeDate(day, flags, info);
        return;
    }
    if ((!info.hasStart || Day(info.startDate.dayNumber) <= day)
        && (!info.hasEnd || Day(info.endDate.dayNumber) >= day))
        place(day, flags, info.completed ? 1 : 0, info.index);
}

// The line's done and excluded dates are the reading context's, as for ExpandLine: the
// lists kept from the last rebuild may be gone.
void OccurrenceEngine::PlaceInstance(std::int64_t day, std::uint32_t flags, const ApptInfo &info)
{
    ReadContext &context = m_source.readContext();
    m_doneDates = &context.doneDates();
    m_excludedDates = &context.excludedDates();
    placeDate(day, flags, ruleOf(info));
}

void OccurrenceEngine::placeDate(std::int64_t day, std::uint32_t flags, const Rule &info)
{
    const DateWindow &w = window();
    const Day leadIn = w.leadInStart.dayNumber;
    const Day today = w.today.dayNumber;
    if ((info.hasStart && Day(info.startDate.dayNumber) > day)
        || (info.hasEnd && Day(info.endDate.dayNumber) < day) || (day < leadIn && !info.nag))
        return;

    // Nag and warning entries carry the done mark of their own date.
    if (info.nag) {
        const Day nag = std::clamp<Day>(m_settings.nagInterval, 0, maxNagDays);
        if (day < today && (info.kind == Single || day + nag >= today))
            addNote(
                {TDate::fromDayNumber(asDayNumber(day), flags), doneMarkOf(day, info), info.index});
    } else if (info.warnDays > 0 && day > today
               && day <= today + std::min<Day>(info.warnDays, maxWarnDays)) {
        addNote({TDate::fromDayNumber(asDayNumber(day), flags), doneMarkOf(day, info), info.index});
    }
    // A nag date before the lead-in keeps only its notes entry: a lead-in cell would show
    // it on a wrong day of the calendar.
    if (day < leadIn || info.showFollowing < 0)
        return;

    // The date and its following days; none of them can reach past the window's end (a
    // Saturday just behind it moves onto it).
    const Day last = std::min<Day>(day + info.showFollowing, Day(w.end.dayNumber) + 1);
    if (!info.observed && m_excludedDates->empty() && m_doneDates->empty() && !info.weekdaysOnly) {
        // Most lines: every day placed as it is, with the line's own done mark.
        for (Day d = day; d <= last; ++d)
            place(d, d == day ? flags : 0, info.completed ? 1 : 0, info.index);
        return;
    }
    for (Day d = day; d <= last; ++d) {
        Day at = d;
        if (info.observed) {
            const int weekday = weekdayOf(d);
            at = weekday == 6 ? d - 1 : (weekday == 0 ? d + 1 : d);
        }
        if (!m_excludedDates->empty()
            && m_excludedDates->contains(TDate::fromDayNumber(asDayNumber(at))))
            continue;
        const std::uint8_t done = doneMarkOf(at, info);
        if (info.weekdaysOnly && isWeekend(at))
            continue;
        place(at, (d == day && at == d) ? flags : 0, done, info.index);
    }
}

inline void OccurrenceEngine::place(std::int64_t day, std::uint32_t flags, std::uint8_t done,
                                    std::int32_t line)
{
    const Day from = window().leadInStart.dayNumber;
    if (day < from || day - from >= static_cast<Day>(m_cellOfDay.size()))
        return;
    std::vector<Appt> &cell = *m_cellOfDay[static_cast<std::size_t>(day - from)];
    const Appt appt {TDate::fromDayNumber(asDayNumber(day), flags), done, line};
    if (m_batch)
        cell.push_back(appt);
    else
        insertSorted(cell, appt);
}

void OccurrenceEngine::prepareWindow()
{
    m_cellOfDay.clear();
    if (!windowUsable())
        return;
    const DateWindow &w = window();
    for (Day day = w.leadInStart.dayNumber; day <= Day(w.end.dayNumber); ++day) {
        const Civil c = civilOf(day);
        m_cellOfDay.push_back(day < Day(w.start.dayNumber)
                                  ? &m_leadInCells[c.day - 1]
                                  : &m_dayCells[(c.month - 1) * 31 + c.day - 1]);
    }
}

// The notes list mixes notes and reminders of dated lines; its order is not transitive
// then, so each entry walks in from the end exactly as placed.
void OccurrenceEngine::addNote(const Appt &appt)
{
    if (m_batch) {
        m_pendingNotes.push_back(appt);
        return;
    }
    auto at = m_notes.size();
    while (at > 0 && precedes(appt.line, m_notes[at - 1].line))
        --at;
    m_notes.insert(m_notes.begin() + static_cast<std::ptrdiff_t>(at), appt);
}

bool OccurrenceEngine::precedes(std::int32_t a, std::int32_t b) const
{
    const auto &lines = m_source.lineTable();
    const TimeString &la = lines[static_cast<std::size_t>(a)];
    const TimeString &lb = lines[static_cast<std::size_t>(b)];
    if ((la.kind == Note || lb.kind == Note) && la.category != lb.category)
        return la.category < lb.category;
    if (la.time != lb.time)
        return static_cast<std::uint32_t>(la.time) < static_cast<std::uint32_t>(lb.time);
    return compareText(freeText(la), freeText(lb)) < 0;
}

// Day cells hold no notes, so their order (time, then free text) is consistent: the place
// behind every entry that the new one does not precede is found by halving.
void OccurrenceEngine::insertSorted(std::vector<Appt> &cell, const Appt &appt) const
{
    const auto at
        = std::upper_bound(cell.begin(), cell.end(), appt, [this](const Appt &x, const Appt &y) {
              return precedes(x.line, y.line);
          });
    cell.insert(at, appt);
}

namespace {

std::int32_t ageOf(const Appt &appt, std::uint32_t birthYear)
{
    const auto age
        = static_cast<std::int64_t>(appt.date.Year()) - static_cast<std::int64_t>(birthYear);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        age, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

void OccurrenceEngine::lookUpLines(const std::vector<TimeString> &lines)
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

inline IndexTy OccurrenceEngine::entryOf(std::uint8_t kind, const Appt &appt, const LineLook &look)
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

// One day's instances behind its heading; true when one of their lines is printed.
bool OccurrenceEngine::addDayEntries(const std::vector<Appt> &cell, std::int32_t heading,
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

std::int32_t OccurrenceEngine::BuildIndex(std::int32_t locate)
{
    m_index.clear();
    std::size_t entries = m_notes.size() * 2 + 2;
    for (const auto &cell : m_dayCells)
        entries += cell.empty() ? 0 : cell.size() + 2;
    m_index.reserve(entries);
    m_located = -1;
    m_datedCount = 0;
    m_firstDayHeading = -1;
    const auto &lines = m_source.lineTable();
    lookUpLines(lines);
    auto position = [this] { return static_cast<std::int32_t>(m_index.size()); };

    if (!m_notes.empty()) {
        m_index.push_back({NotesHeading, 0, 0, 0, 0, 0, 0});
        std::uint32_t previous = 0;
        for (const Appt &a : m_notes) {
            const std::uint32_t category = lines[static_cast<std::size_t>(a.line)].category;
            if (category != previous) {
                previous = category;
                const int at = m_source.FindCategory(category);
                if (at >= 0)
                    m_index.push_back({CategoryHeading, at, 0, 0, 0, 0, 0});
            }
            if (m_located == -1 && a.line == locate)
                m_located = position();
            m_index.push_back(entryOf(NoteEntry, a, m_lineLook[static_cast<std::size_t>(a.line)]));
        }
        m_index.push_back({BlankLine, 0, 0, 0, 0, 0, 0});
    }

    m_dayPositions.fill(-1);
    const DateWindow &w = window();
    const Day start = w.start.dayNumber;
    const Day end = windowUsable() ? start + w.days : start;
    for (Day day = start; day < end; ++day) {
        const Civil c = civilOf(day);
        const std::size_t slot = (c.month - 1) * 31 + c.day - 1;
        const std::vector<Appt> &cell = m_dayCells[slot];
        if (cell.empty())
            continue;
        const std::int32_t heading = position();
        if (m_firstDayHeading == -1)
            m_firstDayHeading = heading;
        m_index.push_back({DateHeading, 0, static_cast<std::uint8_t>(c.month),
                           static_cast<std::uint8_t>(c.day), 0, 0, 0});
        const bool printed = addDayEntries(cell, heading, locate);
        m_index[static_cast<std::size_t>(heading)].mark = printed ? 1 : 0;
        m_index.push_back({BlankLine, 0, 0, 0, 0, 0, 0});
        m_dayPositions[slot] = heading;
    }
    m_lastPosition = m_index.empty() ? 0 : position() - 1;
    return m_lastPosition;
}

std::int32_t OccurrenceEngine::positionOfDay(std::int64_t day) const
{
    const Civil c = civilOf(day);
    return m_dayPositions[(c.month - 1) * 31 + c.day - 1];
}

TDate OccurrenceEngine::PrevDayWithInstances(const TDate &date) const
{
    const DateWindow &w = window();
    if (m_datedCount == 0 || !windowUsable())
        return date;
    if (date < w.start)
        return w.start;
    Day day = std::min<Day>(date.dayNumber, w.end.dayNumber);
    while (day > Day(w.start.dayNumber) && positionOfDay(day) < 0) // at most the window's days
        --day;
    return TDate::fromDayNumber(asDayNumber(day));
}

TDate OccurrenceEngine::NextDayWithInstances(const TDate &date) const
{
    const DateWindow &w = window();
    if (m_datedCount == 0 || !windowUsable())
        return date;
    if (date > w.end)
        return w.end;
    Day day = std::max<Day>(date.dayNumber, w.start.dayNumber);
    while (day < Day(w.end.dayNumber) && positionOfDay(day) < 0) // at most the window's days
        ++day;
    return TDate::fromDayNumber(asDayNumber(day));
}

} // namespace dvw
