#include "linewriter.h"

#include "category.h"
#include "datetext.h"
#include "linereader.h"

#include <algorithm>
#include <cassert>
#include <string_view>
#include <vector>

namespace dvw {

namespace {

constexpr std::uint32_t halfRange = 0x80000000u;

// Numbers are read in 32-bit unsigned arithmetic that wraps, so a count is written as
// its unsigned pattern: whatever was read is written back to read as the same number.
std::string countText(std::int32_t value)
{
    return std::to_string(static_cast<std::uint32_t>(value));
}

// ">n" for a shift forwards, "<n" for one backwards (shift is modular), empty for none.
std::string offsetText(std::uint32_t shift)
{
    if (shift == 0)
        return {};
    if (shift < halfRange)
        return ">" + std::to_string(shift);
    return "<" + std::to_string(0u - shift);
}

bool startsWithAny(std::string_view text, std::string_view chars)
{
    return !text.empty() && chars.find(text.front()) != std::string_view::npos;
}

bool sameDate(const TDate &a, const TDate &b)
{
    return a.dayNumber == b.dayNumber && a.flags == b.flags;
}

// True when all of text reads as exactly this date, flags included.
bool readsBackAs(std::string_view text, const TDate &date, const DateTextSettings &settings)
{
    TextCursor cursor {text, 0};
    TDate read;
    return ReadDate(cursor, read, settings) && cursor.atEnd() && sameDate(read, date);
}

// True when the date reader, started on dateText (which ends in a blank), would go on
// into what follows it: a "/" or "," year mark, or digits it takes for a year.
bool dateAbsorbs(std::string_view dateText, std::string_view following,
                 const DateTextSettings &settings)
{
    const std::string text = std::string(dateText) + std::string(following);
    TextCursor cursor {text, 0};
    TDate read;
    return !ReadDate(cursor, read, settings) || cursor.pos != dateText.size();
}

// A day the calendar lacks (30 February, day 0) has lost its month, day and year: any
// text that reads as an impossible day with the same flags stands for it.
std::string impossibleDayText(const TDate &date, const DateTextSettings &settings)
{
    const bool anyMonth = date.hasFlag(TDate::AnyMonth);
    const std::string month = anyMonth ? "?" : "2";
    const std::string day = anyMonth ? "0" : "30";
    std::string text = settings.european ? day + "/" + month : month + "/" + day;
    if (!date.hasFlag(TDate::NoYear))
        text += "/99";
    return text;
}

std::string withBlank(std::string text)
{
    if (text.empty() || text.back() != ' ')
        text += ' ';
    return text;
}

// "*" and "\*" with no code character behind them read as a code of four blanks. Such a
// code survives only directly in front of text that ends a code at once.
bool isBlankCategory(std::uint32_t code)
{
    return code != 0 && UnpackCategory(code).empty();
}

bool keepsBlankCategory(std::string_view freeText)
{
    return freeText.empty() || startsWithAny(freeText, std::string_view("=,\0", 3));
}

// Composes the line of one appointment in front of its free text.
class LineComposer
{
public:
    LineComposer(const ApptInfo &info, const DateList &done, const DateList &excluded,
                 std::string_view oldCodes, std::string_view freeText,
                 const DateTextSettings &settings)
        : m_info(info)
        , m_done(done)
        , m_excluded(excluded)
        , m_oldCodes(oldCodes)
        , m_freeText(freeText)
        , m_settings(settings)
    { }

    std::string compose() const;

private:
    std::string rest() const;
    std::string prefix(const std::string &rest) const;
    std::string writable(std::string text, const TDate &date) const;
    std::string oldDateText(const TDate &date) const;
    std::string dateText(const TDate &date) const;
    std::vector<std::string> flagCodes() const;
    std::vector<std::string> dateCodes() const;
    void appendDateCodes(std::vector<std::string> &codes, char letter, const DateList &list) const;
    std::vector<std::string> markCodes() const;
    std::string scheduleToken() const;
    std::string singleDateToken() const;
    std::string partsDateToken(bool anyMonth, bool withYear) const;
    std::string weekdayListToken() const;
    std::string nthWeekdayToken() const;
    std::string noteToken() const;
    std::string counts(const std::string &token) const;
    bool freeTextExtends(const std::string &token) const;
    bool readsCounts() const
    {
        return m_info.kind >= MonthlyInYear && m_info.kind <= NthWeekdayOfMonth;
    }

    const ApptInfo &m_info;
    const DateList &m_done;
    const DateList &m_excluded;
    std::string_view m_oldCodes; // the old line in front of its free text
    std::string_view m_freeText;
    const DateTextSettings &m_settings;
};

// The first text that reads back as exactly the date: ours; for a day the calendar lacks
// any impossible day with its flags; for a year past what the day numbers hold (the
// reader wraps it), the old line's own text of that date. Ours when none does.
std::string LineComposer::writable(std::string text, const TDate &date) const
{
    if (readsBackAs(text, date, m_settings))
        return text;
    if (date.dayNumber == 0) {
        std::string impossible = impossibleDayText(date, m_settings);
        if (readsBackAs(impossible, date, m_settings))
            return impossible;
    }
    std::string old = oldDateText(date);
    return old.empty() ? text : old;
}

// The text of the old line that reads as exactly this date, without the blanks behind
// it, from where the reader takes dates: behind a date code and at the schedule. Empty
// when there is none.
std::string LineComposer::oldDateText(const TDate &date) const
{
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < m_oldCodes.size(); ++at) {
        if (m_oldCodes[at] != '\\')
            continue;
        TextCursor cursor {m_oldCodes, at + 1};
        cursor.skipBlanks();
        if (std::string_view("BDESX").find(toUpperAscii(cursor.peek())) != std::string_view::npos)
            starts.push_back(cursor.pos + 1);
    }
    starts.push_back(static_cast<std::size_t>(std::max(m_info.scheduleStart, 0)));
    for (const std::size_t start : starts) {
        TextCursor cursor {m_oldCodes, start};
        cursor.skipBlanks();
        const std::size_t begin = cursor.pos;
        TDate read;
        if (!ReadDate(cursor, read, m_settings) || !sameDate(read, date))
            continue;
        std::size_t end = cursor.pos;
        while (end > begin && m_oldCodes[end - 1] == ' ')
            --end;
        const std::string_view text = m_oldCodes.substr(begin, end - begin);
        if (readsBackAs(text, date, m_settings))
            return std::string(text);
    }
    return {};
}

// A date of a code or a birthday, ending in one blank so that nothing runs into it.
std::string LineComposer::dateText(const TDate &date) const
{
    return withBlank(writable(FormatDate(date, m_settings), date));
}

std::vector<std::string> LineComposer::flagCodes() const
{
    assert(m_info.priority <= 4);
    std::vector<std::string> codes;
    if (m_info.observed)
        codes.emplace_back("\\~");
    if (m_info.priority != 0)
        codes.push_back("\\" + std::to_string(m_info.priority));
    if (m_info.alarmAdvance != -1)
        codes.push_back("\\(" + countText(m_info.alarmAdvance) + ")");
    if (m_info.weekdaysOnly)
        codes.emplace_back("\\W");
    if (m_info.unimportant)
        codes.emplace_back("\\U");
    if (m_info.markL)
        codes.emplace_back("\\L");
    if (m_info.nag)
        codes.emplace_back("\\N");
    return codes;
}

// Newest first. Dates of one day keep their list order: reading files an equal date
// behind the others, so the line reads back to the same list.
void LineComposer::appendDateCodes(std::vector<std::string> &codes, char letter,
                                   const DateList &list) const
{
    std::size_t end = list.size();
    while (end > 0) {
        std::size_t begin = end - 1;
        while (begin > 0 && list[begin - 1].dayNumber == list[end - 1].dayNumber)
            --begin;
        for (std::size_t i = begin; i < end; ++i)
            codes.push_back(std::string("\\") + letter + dateText(list[i]));
        end = begin;
    }
}

std::vector<std::string> LineComposer::dateCodes() const
{
    std::vector<std::string> codes;
    if (m_info.hasStart)
        codes.push_back("\\S" + dateText(m_info.startDate));
    if (m_info.hasEnd)
        codes.push_back("\\E" + dateText(m_info.endDate));
    if (m_info.done)
        appendDateCodes(codes, 'D', m_done);
    if (m_info.hasExcluded)
        appendDateCodes(codes, 'X', m_excluded);
    return codes;
}

std::vector<std::string> LineComposer::markCodes() const
{
    std::vector<std::string> codes;
    if (m_info.noPrint)
        codes.emplace_back("\\P");
    if (m_info.holiday)
        codes.emplace_back("\\H");
    if (m_info.category != 0 && m_info.kind != Note) {
        if (!isBlankCategory(m_info.category))
            codes.push_back("\\*" + UnpackCategory(m_info.category) + " ");
        else if (m_info.kind == Unscheduled && keepsBlankCategory(m_freeText))
            codes.emplace_back("\\* ");
        // Anywhere else a blank code would swallow the schedule: it is left out.
    }
    return codes;
}

// A single date whose own text does not read back (a year before 100, a day beyond the
// years the text can name) is written as the date the line was typed with and its
// offset, else as 1 January 2000 and the distance from it.
std::string LineComposer::singleDateToken() const
{
    const TDate &date = m_info.mainDate;
    const std::string folded = dateText(date);
    if (date.dayNumber == 0 || readsBackAs(folded, date, m_settings))
        return folded;
    const auto offset = static_cast<std::uint32_t>(m_info.offset);
    const TDate typed = TDate::fromDayNumber(date.dayNumber - offset);
    if (offset != 0 && typed.dayNumber != 0) {
        const std::string text = dateText(typed);
        if (readsBackAs(text, typed, m_settings))
            return text + offsetText(offset) + " ";
    }
    const TDate anchor(1, 1, 2000);
    return dateText(anchor) + offsetText(date.dayNumber - anchor.dayNumber) + " ";
}

// The dates of kinds 2, 5 and 6: "?" for the month of a monthly date, 32 for the last day
// of a month, and the year in full where the kind has one.
std::string LineComposer::partsDateToken(bool anyMonth, bool withYear) const
{
    const TDate &date = m_info.mainDate;
    std::uint32_t month, day, year;
    date.SplitDate(month, day, year);
    const std::string monthPart = anyMonth ? "?" : std::to_string(month);
    const std::string dayPart = std::to_string(date.hasFlag(TDate::LastDay) ? 32u : day);
    std::string text = m_settings.european ? dayPart + "/" + monthPart : monthPart + "/" + dayPart;
    if (withYear)
        text += "/" + std::to_string(year);
    return withBlank(writable(std::move(text), date));
}

std::string LineComposer::weekdayListToken() const
{
    std::string names;
    for (int d = 0; d < 7; ++d) {
        if (!m_info.weekdays[static_cast<std::size_t>(d)])
            continue;
        if (!names.empty())
            names += ',';
        names += UpperDayName(d == 0 ? 7 : d).substr(0, 3);
    }
    assert(!names.empty());
    return "!" + names + " ";
}

std::string LineComposer::nthWeekdayToken() const
{
    assert(m_info.month >= 0 && m_info.month <= 12);
    assert(m_info.weekday >= 0 && m_info.weekday <= 6);
    const std::string month
        = m_info.month == 0 ? "?" : std::string(UpperMonthName(m_info.month).substr(0, 3));
    const std::string day(UpperDayName(m_info.weekday == 0 ? 7 : m_info.weekday).substr(0, 3));
    return "!" + month + countText(m_info.n) + day
        + offsetText(static_cast<std::uint32_t>(m_info.offset)) + " ";
}

std::string LineComposer::noteToken() const
{
    // A note read behind a birth code keeps that code and the birth date it carries.
    const TDate &birth = m_info.mainDate;
    std::string token;
    if (birth.dayNumber != 0 || birth.flags != 0)
        token = "\\B" + dateText(birth);
    if (isBlankCategory(m_info.category) && keepsBlankCategory(m_freeText))
        return token + "*";
    return token + "*" + UnpackCategory(m_info.category) + " ";
}

std::string LineComposer::scheduleToken() const
{
    switch (m_info.kind) {
    case Note:
        return noteToken();
    case MonthlyInYear:
        return partsDateToken(true, true);
    case Single:
    case SingleShowFollowing:
        return singleDateToken();
    case Monthly:
        return partsDateToken(true, false);
    case Anniversary:
        return partsDateToken(false, false);
    case Birthday:
        return "\\B" + dateText(m_info.mainDate);
    case EveryNDays:
        return "!" + countText(m_info.n) + "D ";
    case EveryNWeeks:
        return "!" + countText(m_info.n) + "W ";
    case EveryNMonths:
        return "!" + countText(m_info.n) + "M ";
    case WeeklyOnDays:
        return weekdayListToken();
    case NthWeekdayOfMonth:
        return nthWeekdayToken();
    default:
        return {};
    }
}

// True when, with no count group behind the token, the reader would take the start of
// the free text for more of the schedule: an offset, another weekday, a year for a date
// written without one, or, behind a birth date, a further code or a note mark.
bool LineComposer::freeTextExtends(const std::string &token) const
{
    const bool offsetOpen = token.find_first_of("<>") == std::string::npos;
    switch (m_info.kind) {
    case Single:
    case SingleShowFollowing:
    case NthWeekdayOfMonth:
        return offsetOpen && startsWithAny(m_freeText, "<>");
    case WeeklyOnDays:
        return startsWithAny(m_freeText, ",");
    case Monthly:
    case Anniversary:
        return dateAbsorbs(token, m_freeText, m_settings);
    case Birthday:
        return startsWithAny(m_freeText, "\\*")
            || dateAbsorbs(std::string_view(token).substr(2), m_freeText, m_settings);
    default:
        return false;
    }
}

// The "-n" and "+n" groups. Both are written, zeros included, when the free text would
// otherwise be read as a further group or as more of the schedule: the reader takes at
// most two groups, so nothing behind them is ever taken.
std::string LineComposer::counts(const std::string &token) const
{
    std::string groups;
    if (m_info.warnDays != 0)
        groups += "-" + countText(m_info.warnDays) + " ";
    if (m_info.showFollowing != 0)
        groups += "+" + countText(m_info.showFollowing) + " ";
    const bool protect
        = startsWithAny(m_freeText, "+-") || (groups.empty() && freeTextExtends(token));
    if (!protect)
        return groups;
    return "-" + countText(m_info.warnDays) + " +" + countText(m_info.showFollowing) + " ";
}

// The schedule token, the count groups and the free text.
std::string LineComposer::rest() const
{
    std::string token = scheduleToken();
    std::string tail;
    if (m_info.kind == Birthday && isBlankCategory(m_info.category) && m_info.warnDays == 0
        && m_info.showFollowing == 0 && keepsBlankCategory(m_freeText))
        token += "\\* "; // behind the birth date: the only place where it keeps
    else if (readsCounts())
        tail = counts(token);
    return token + tail + std::string(m_freeText);
}

// The completed mark and the codes in front of the rest of the line.
std::string LineComposer::prefix(const std::string &rest) const
{
    std::vector<std::string> flags = flagCodes();
    std::vector<std::string> dates = dateCodes();
    std::vector<std::string> marks = markCodes();
    // A year-less date code must not read what follows it as its year: another code goes
    // between them, one of the line's own when it has one, else one that means nothing.
    if (marks.empty() && !dates.empty()
        && dateAbsorbs(std::string_view(dates.back()).substr(2), rest, m_settings)) {
        if (flags.empty()) {
            marks.emplace_back("\\()");
        } else {
            marks.push_back(flags.back());
            flags.pop_back();
        }
    }
    std::string text = m_info.completed ? ">" : "";
    for (const auto *group : {&flags, &dates, &marks}) {
        for (const std::string &code : *group)
            text += code;
    }
    return text;
}

std::string LineComposer::compose() const
{
    const std::string behind = rest();
    std::string front = prefix(behind);
    // Free text that would read as a completed mark, a code or a note mark stays text
    // behind a blank, which hides them.
    if (m_info.kind == Unscheduled
        && ((front.empty() && startsWithAny(m_freeText, ">\\*"))
            || (front == ">" && startsWithAny(m_freeText, "\\*"))))
        front += ' ';
    return front + behind;
}

} // namespace

void WriteAppt(const ApptInfo &info, const LineDates &dates, ReadContext &document,
               TimeString &appt)
{
    if (info.kind == CategoryLine)
        return;
    assert(info.kind >= Note && info.kind <= Unscheduled);
    const std::size_t from
        = std::min(static_cast<std::size_t>(std::max(appt.textStart, 0)), appt.text.size());
    const std::string oldCodes = appt.text.substr(0, from);
    const std::string freeText = appt.text.substr(from);
    const LineComposer composer(info, dates.done, dates.excluded, oldCodes, freeText,
                                document.dateSettings());
    appt.text = composer.compose();
    ApptInfo reread(info.index);
    reread.workDate = info.workDate;
    ReadAppt(reread, document, appt);
}

} // namespace dvw
