#include "linereader.h"

#include "category.h"
#include "datetext.h"

#include <string>
#include <string_view>

namespace dvw {

namespace {

constexpr std::uint8_t priorityMark = 0x80;

std::int32_t asInt(std::uint32_t v)
{
    return static_cast<std::int32_t>(v); // modular: a wrapped number stays defined
}

std::int32_t asPosition(std::size_t pos)
{
    return static_cast<std::int32_t>(pos);
}

// One read in progress: the records being filled and the cursor over the line.
struct LineReader
{
    ApptInfo &info;
    ReadContext &doc;
    TimeString &appt;
    LineDates *dates; // null when the caller keeps no dates
    TextCursor cursor;

    const DateTextSettings &settings() const { return doc.dateSettings(); }

    void start();
    void readCompletedMark();
    void readCodes();
    bool readCode(char letter, std::size_t backslashAt);
    bool readNote();
    void readSchedule();
    bool readDateSchedule();
    bool readRepeatRule();
    bool readWeekdayList();
    bool readNthWeekday(int month);
    std::int32_t readOffset();
    void readTail();
    void finish();
    void setCategory(std::uint32_t code);
};

void LineReader::start()
{
    ApptInfo fresh(info.index);
    fresh.workDate = info.workDate;
    fresh.hasTarget = info.hasTarget;
    fresh.targetDate = info.targetDate;
    fresh.document = &doc;
    info = fresh;

    appt.textStart = 0;
    appt.time = -1;
    appt.alarmAdvance = -1;
    appt.category = 0;
    appt.shade = 0;
    appt.noPrint = false;
    appt.holiday = false;
    appt.birthDate = TDate();
    appt.sortKey = 0;
    appt.kind = Unscheduled;
    if (dates)
        dates->clear();
    cursor = TextCursor {appt.text, 0};
}

void LineReader::readCompletedMark()
{
    // Blanks behind the mark hide the codes, as they do at the start of a line.
    if (cursor.peek() == '>') {
        info.completed = true;
        cursor.advance();
    }
}

void LineReader::setCategory(std::uint32_t code)
{
    info.category = code;
    appt.category = code;
    std::uint8_t colour = 0;
    if (doc.categoryColour(code, colour))
        appt.shade = colour;
}

void LineReader::readCodes()
{
    while (cursor.peek() == '\\') {
        const std::size_t backslashAt = cursor.pos;
        cursor.advance();
        cursor.skipBlanks();
        const char letter = toUpperAscii(cursor.peek());
        cursor.advance();
        cursor.skipBlanks();
        if (!readCode(letter, backslashAt))
            return;
    }
}

// Returns false when reading stops (a category definition).
bool LineReader::readCode(char letter, std::size_t backslashAt)
{
    TDate date;
    switch (letter) {
    case '(':
        if (isDigit(cursor.peek())) {
            info.alarmAdvance = asInt(ReadNumber(cursor));
            appt.alarmAdvance = info.alarmAdvance;
        }
        if (cursor.peek() == ')') {
            cursor.advance();
            cursor.skipBlanks();
        }
        break;
    case '*':
        setCategory(PackCategory(cursor));
        cursor.skipBlanks();
        break;
    case '1':
    case '2':
    case '3':
    case '4':
    case 'I': {
        info.priority = letter == 'I' ? 1 : static_cast<std::uint8_t>(letter - '0');
        appt.shade = static_cast<std::uint8_t>(info.priority | priorityMark);
        break;
    }
    case 'B':
        if (ReadDate(cursor, date, settings())) {
            appt.birthDate = date;
            info.mainDate = date;
            info.kind = Birthday;
            appt.sortKey = asInt(date.Month() * 32 + date.DayOfMonth());
        }
        break;
    case 'C':
        // A definition line is no appointment: an alarm code before it sets nothing, so
        // the keys that the category scan fills in later start out empty.
        info.kind = CategoryLine;
        info.alarmAdvance = -1;
        appt.alarmAdvance = -1;
        return false;
    case 'D':
    case 'X': {
        const bool dated = ReadDate(cursor, date, settings());
        if (letter == 'D') {
            info.done = true;
            if (dated && dates)
                dates->done.insert(date);
        } else if (dated) {
            info.hasExcluded = true;
            if (dates)
                dates->excluded.insert(date);
        }
        // Only a code that carries the target date itself is the target: a "\D" without
        // a date must never be taken for the dated code before it.
        if (dated && info.hasTarget && date.dayNumber == info.targetDate.dayNumber) {
            info.targetStart = asPosition(backslashAt);
            info.targetEnd = asPosition(cursor.pos);
            if (letter == 'D' && info.doneTargetEnd == 0) {
                info.doneTargetStart = info.targetStart;
                info.doneTargetEnd = info.targetEnd;
            }
        }
        break;
    }
    case 'E':
        if (ReadDate(cursor, date, settings())) {
            info.endDate = date;
            info.hasEnd = true;
        }
        break;
    case 'S':
        if (ReadDate(cursor, date, settings())) {
            info.startDate = date;
            info.hasStart = true;
        }
        break;
    case 'H':
        info.holiday = true;
        appt.holiday = true;
        break;
    case 'L':
        info.markL = true;
        break;
    case 'N':
        if (info.nagEnd == 0) {
            info.nagStart = asPosition(backslashAt);
            info.nagEnd = asPosition(cursor.pos);
        }
        info.nag = true;
        break;
    case 'P':
        info.noPrint = true;
        appt.noPrint = true;
        break;
    case 'U':
        info.unimportant = true;
        break;
    case 'W':
        info.weekdaysOnly = true;
        break;
    case '~':
        info.observed = true;
        break;
    default:
        break; // unknown letters are consumed and mean nothing
    }
    return true;
}

bool LineReader::readNote()
{
    if (cursor.peek() != '*')
        return false;
    cursor.advance();
    if (cursor.peek() != ' ')
        setCategory(PackCategory(cursor));
    cursor.skipBlanks();
    info.kind = Note;
    return true;
}

void LineReader::readSchedule()
{
    info.scheduleStart = asPosition(cursor.pos);
    // A date or a rule may stand behind blanks; text that turns out to be neither is
    // free text from behind those blanks, so no character of it is ever lost.
    TextCursor probe = cursor;
    probe.skipBlanks();
    const std::size_t freeTextAt = probe.pos;
    if (readDateSchedule() || readRepeatRule()) {
        readTail();
        return;
    }
    cursor.pos = freeTextAt;
}

std::int32_t LineReader::readOffset()
{
    const char sign = cursor.peek();
    if (sign != '>' && sign != '<')
        return 0;
    cursor.advance();
    cursor.skipBlanks();
    if (!isDigit(cursor.peek()))
        return 0;
    const std::int32_t n = asInt(ReadNumber(cursor));
    return sign == '<' ? asInt(0u - static_cast<std::uint32_t>(n)) : n;
}

bool LineReader::readDateSchedule()
{
    const std::size_t before = cursor.pos;
    TDate date;
    if (!ReadDate(cursor, date, settings()))
        return false;
    const bool anyMonth = date.hasFlag(TDate::AnyMonth);
    const bool noYear = date.hasFlag(TDate::NoYear);
    if (!anyMonth && !noYear && date.hasFlag(TDate::LastDay)) {
        cursor.pos = before; // a full date with day 32 is no schedule
        return false;
    }
    info.mainDate = date;
    std::uint32_t month, day, year;
    date.SplitDate(month, day, year);
    if (date.flags == 0) {
        info.kind = Single;
        info.offset = readOffset();
        // An impossible day keeps day number 0 whatever the offset: it has no instances.
        if (info.offset != 0 && date.dayNumber != 0) {
            info.mainDate
                = TDate::fromDayNumber(date.dayNumber + static_cast<std::uint32_t>(info.offset));
            info.mainDate.SplitDate(month, day, year);
        }
        appt.sortKey = asInt(year * 384 + month * 32 + day);
        info.scheduleEnd = asPosition(cursor.pos);
    } else if (anyMonth && !noYear) {
        info.kind = MonthlyInYear;
        appt.sortKey = asInt((year - 1900) * 32 + day);
    } else {
        info.kind = anyMonth ? Monthly : Anniversary;
        appt.sortKey = asInt(month * 32 + day);
    }
    return true;
}

bool LineReader::readRepeatRule()
{
    cursor.skipBlanks();
    if (cursor.peek() != '!')
        return false;
    cursor.advance();
    cursor.skipBlanks();
    if (isDigit(cursor.peek())) {
        const std::int32_t n = asInt(ReadNumber(cursor));
        const char unit = toUpperAscii(cursor.peek());
        const std::int32_t kind = unit == 'D' ? EveryNDays
            : unit == 'W'                     ? EveryNWeeks
            : unit == 'M'                     ? EveryNMonths
                                              : Unscheduled;
        if (kind == Unscheduled)
            return false;
        cursor.advance();
        cursor.skipBlanks();
        info.n = n;
        info.kind = kind;
        return true;
    }
    const int month = ReadMonth(cursor);
    return month < 0 ? readWeekdayList() : readNthWeekday(month);
}

bool LineReader::readWeekdayList()
{
    int day = ReadWeekday(cursor);
    if (day < 0)
        return false;
    std::array<bool, 7> days {};
    days[static_cast<std::size_t>(day)] = true;
    while (cursor.peek() == ',') {
        cursor.advance();
        cursor.skipBlanks();
        day = ReadWeekday(cursor);
        if (day >= 0)
            days[static_cast<std::size_t>(day)] = true;
    }
    info.weekdays = days;
    info.weekday = day;
    for (int d = 0; d < 7; ++d) {
        if (days[static_cast<std::size_t>(d)]) {
            appt.sortKey = d;
            break;
        }
    }
    info.kind = WeeklyOnDays;
    return true;
}

bool LineReader::readNthWeekday(int month)
{
    if (!isDigit(cursor.peek()))
        return false;
    const std::int32_t n = asInt(ReadNumber(cursor));
    const int day = ReadWeekday(cursor);
    if (day < 0)
        return false;
    info.month = month;
    info.n = n;
    info.weekday = day;
    info.kind = NthWeekdayOfMonth;
    appt.sortKey = month;
    info.offset = readOffset();
    return true;
}

void LineReader::readTail()
{
    for (int group = 0; group < 2; ++group) {
        const char sign = cursor.peek();
        if (sign != '+' && sign != '-')
            break;
        cursor.advance();
        cursor.skipBlanks();
        if (!isDigit(cursor.peek()))
            continue; // a sign without digits is consumed and ignored
        const std::int32_t n = asInt(ReadNumber(cursor));
        (sign == '+' ? info.showFollowing : info.warnDays) = n;
    }
    int minutes = 0;
    if (ReadTime(cursor, minutes, settings())) {
        info.time = minutes;
        appt.time = minutes;
    }
    if (info.showFollowing != 0 && info.kind == Single)
        info.kind = SingleShowFollowing;
}

void LineReader::finish()
{
    appt.textStart = asPosition(cursor.pos);
    appt.kind = info.kind;
}

} // namespace

namespace {

void readLine(ApptInfo &info, ReadContext &document, TimeString &appt, LineDates *dates)
{
    LineReader reader {info, document, appt, dates, {}};
    reader.start();
    reader.readCompletedMark();
    reader.readCodes();
    if (info.kind != CategoryLine && !reader.readNote()) {
        if (info.kind == Birthday) {
            // The birth date is the schedule; only the counts and the time follow it.
            info.scheduleStart = asPosition(reader.cursor.pos);
            reader.readTail();
        } else {
            reader.readSchedule();
        }
    }
    reader.finish();
}

} // namespace

void ReadAppt(ApptInfo &info, ReadContext &document, TimeString &appt, LineDates &dates)
{
    readLine(info, document, appt, &dates);
}

void ReadAppt(ApptInfo &info, ReadContext &document, TimeString &appt)
{
    readLine(info, document, appt, nullptr);
}

void SetTarget(ApptInfo &info, const TDate &date)
{
    info.hasTarget = true;
    info.targetDate = date;
}

bool RemoveDateCode(TimeString &appt, const TDate &date, ReadContext &document)
{
    ApptInfo info;
    SetTarget(info, date);
    ReadAppt(info, document, appt);
    if (info.targetEnd == 0)
        return false;
    const auto from = static_cast<std::size_t>(info.targetStart);
    const auto to = static_cast<std::size_t>(info.targetEnd);
    const std::string before = appt.text;
    const std::string freeText = before.substr(static_cast<std::size_t>(appt.textStart));
    const std::int32_t kind = appt.kind;
    const TDate mainDate = info.mainDate;
    appt.text.erase(from, to - from);
    ApptInfo reread;
    ReadAppt(reread, document, appt);
    // A year-less date code in front may now take what followed the removed code as its
    // year ("\S3/5 \D3/12/99 1999 report"). A code that means nothing keeps them apart.
    const bool sameRest = appt.kind == kind && reread.mainDate.dayNumber == mainDate.dayNumber
        && reread.mainDate.flags == mainDate.flags
        && std::string_view(appt.text).substr(static_cast<std::size_t>(appt.textStart)) == freeText;
    if (!sameRest) {
        appt.text = before;
        appt.text.replace(from, to - from, "\\()");
        ReadAppt(reread, document, appt);
    }
    return true;
}

bool SameSchedule(TimeString &a, TimeString &b, ReadContext &document)
{
    ApptInfo infoA, infoB;
    ReadAppt(infoA, document, a);
    ReadAppt(infoB, document, b);
    if (a.textStart != b.textStart)
        return false;
    const auto n = static_cast<std::size_t>(a.textStart);
    for (std::size_t i = 0; i < n; ++i) {
        if (toUpperAscii(a.text[i]) != toUpperAscii(b.text[i]))
            return false;
    }
    return true;
}

} // namespace dvw
