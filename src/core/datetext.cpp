#include "datetext.h"

#include <array>

namespace dvw {

namespace {

// The year as written: two digits when a two-digit year reads back to it, else in full.
std::string yearText(std::uint32_t year, int centuryBreak)
{
    const std::uint32_t yy = year % 100;
    const std::int64_t readsBackAs
        = static_cast<std::int64_t>(yy) < centuryBreak ? 2000 + yy : 1900 + yy;
    if (readsBackAs != year)
        return std::to_string(year);
    return (yy < 10 ? "0" : "") + std::to_string(yy);
}

std::string twoParts(const std::string &first, const std::string &second)
{
    return first + "/" + second;
}

// Letters from the cursor, ASCII only.
std::string_view letterRun(const TextCursor &cursor)
{
    std::size_t n = 0;
    while (isAsciiLetter(cursor.peek(n)))
        ++n;
    return cursor.text.substr(cursor.pos, n);
}

// A run of at least three letters matches a name when it is a prefix of it, ignoring case.
constexpr std::size_t shortestNameRun = 3;

bool runMatches(std::string_view run, std::string_view upperName)
{
    if (run.size() < shortestNameRun || run.size() > upperName.size())
        return false;
    for (std::size_t i = 0; i < run.size(); ++i) {
        if (toUpperAscii(run[i]) != upperName[i])
            return false;
    }
    return true;
}

// One part of a date: a number, or a month name or "?". A name part reports isName.
bool readDatePart(TextCursor &cursor, std::int64_t &value, bool &isName)
{
    if (isDigit(cursor.peek())) {
        value = ReadNumber(cursor);
        isName = false;
        return true;
    }
    const int month = ReadMonth(cursor);
    if (month < 0)
        return false;
    value = month;
    isName = true;
    return true;
}

bool acceptYear(std::uint32_t y, bool marked, char firstDigit, const DateTextSettings &settings)
{
    if (marked)
        return true;
    if (!settings.military)
        return y > 1970 && y < 2020;
    return (y > 1959 && y < 2000) || (y > 2059 && y < 2100)
        || (y > 12 && y < 100 && firstDigit != '0');
}

std::uint32_t fullYear(std::uint32_t y, int centuryBreak)
{
    if (static_cast<std::int64_t>(y) < centuryBreak)
        return 2000 + y;
    if (y < 100)
        return 1900 + y;
    return y;
}

} // namespace

std::string FormatDate(const TDate &date, const DateTextSettings &settings)
{
    std::uint32_t month, day, year;
    date.SplitDate(month, day, year);
    if (date.flags == 0) {
        const std::string m = std::to_string(month);
        const std::string d = std::to_string(day);
        const std::string y = yearText(year, settings.centuryBreak);
        return (settings.european ? twoParts(d, m) : twoParts(m, d)) + "/" + y + " ";
    }
    const std::string monthPart = date.hasFlag(TDate::AnyMonth) ? "?" : std::to_string(month);
    const std::string dayPart = std::to_string(date.hasFlag(TDate::LastDay) ? 32u : day);
    const std::string yearPart
        = date.hasFlag(TDate::NoYear) ? std::string() : "/" + yearText(year, settings.centuryBreak);
    return (settings.european ? twoParts(dayPart, monthPart) : twoParts(monthPart, dayPart))
        + yearPart;
}

std::string FormatTime(int minutes)
{
    const int h = minutes / 60;
    int shown = h % 12;
    if (shown == 0)
        shown = 12;
    const int m = minutes % 60;
    std::string text = std::to_string(shown) + ":";
    if (m < 10)
        text += "0";
    text += std::to_string(m);
    text += h < 12 ? " A.M." : " P.M.";
    return text;
}

std::uint32_t ReadNumber(TextCursor &cursor)
{
    std::uint32_t value = 0;
    while (isDigit(cursor.peek())) {
        value = value * 10u + static_cast<std::uint32_t>(cursor.peek() - '0');
        cursor.advance();
    }
    cursor.skipBlanks();
    return value;
}

int ReadMonth(TextCursor &cursor)
{
    if (cursor.peek() == '?') {
        cursor.advance();
        cursor.skipBlanks();
        return 0;
    }
    const std::string_view run = letterRun(cursor);
    if (run.size() < shortestNameRun) // most schedules start with a digit: no name to try
        return -1;
    for (int m = 1; m <= 12; ++m) {
        if (runMatches(run, UpperMonthName(m))) {
            cursor.pos += run.size();
            cursor.skipBlanks();
            return m;
        }
    }
    return -1;
}

int ReadWeekday(TextCursor &cursor)
{
    const std::string_view run = letterRun(cursor);
    if (run.size() < shortestNameRun)
        return -1;
    for (int d = 1; d <= 7; ++d) {
        if (runMatches(run, UpperDayName(d))) {
            cursor.pos += run.size();
            cursor.skipBlanks();
            return d % 7;
        }
    }
    return -1;
}

bool ReadDate(TextCursor &cursor, TDate &date, const DateTextSettings &settings)
{
    cursor.skipBlanks();
    const std::size_t start = cursor.pos;
    auto fail = [&] {
        cursor.pos = start;
        return false;
    };

    std::int64_t first = 0, second = 0;
    bool firstIsName = false, secondIsName = false;
    if (!readDatePart(cursor, first, firstIsName))
        return fail();
    if (cursor.peek() == '/') {
        cursor.advance();
        cursor.skipBlanks();
    }
    if (!readDatePart(cursor, second, secondIsName))
        return fail();

    std::int64_t month = first, day = second;
    if (firstIsName || secondIsName) {
        if (!firstIsName)
            std::swap(month, day);
    } else if (settings.european) {
        std::swap(month, day);
    }

    cursor.skipBlanks();
    bool marked = false;
    if (cursor.peek() == '/' || cursor.peek() == ',') {
        marked = true;
        cursor.advance();
    }
    cursor.skipBlanks();

    bool hasYear = false;
    std::uint32_t year = 0;
    if (isDigit(cursor.peek())) {
        const std::size_t numberAt = cursor.pos;
        const char firstDigit = cursor.peek();
        const std::uint32_t y = ReadNumber(cursor);
        if (acceptYear(y, marked, firstDigit, settings)) {
            hasYear = true;
            year = fullYear(y, settings.centuryBreak);
        } else {
            cursor.pos = numberAt; // the number belongs to the text
        }
    }

    cursor.skipBlanks();
    if (month < 0 || month > 12)
        return fail();
    const bool anyMonth = month == 0;
    TDate result(static_cast<std::uint32_t>(day), anyMonth ? 1u : static_cast<std::uint32_t>(month),
                 year);
    if (!hasYear)
        result.flags |= TDate::NoYear;
    if (anyMonth)
        result.flags |= TDate::AnyMonth;
    if (day > 31)
        result.flags |= TDate::LastDay;
    date = result;
    return true;
}

bool ReadTime(TextCursor &cursor, int &minutes, const DateTextSettings &settings)
{
    if (!isDigit(cursor.peek()))
        return false;
    const std::size_t start = cursor.pos;
    enum class Half { Open, Morning, Afternoon };
    Half half = cursor.peek() == '0' ? Half::Morning : Half::Open;

    const std::uint32_t v = ReadNumber(cursor);
    std::uint32_t hours = 0, mins = 0;
    if (settings.military && v >= 100 && v <= 2400) {
        hours = v / 100;
        mins = v % 100;
    } else {
        if (v > 24) {
            cursor.pos = start;
            return false;
        }
        hours = v;
        cursor.skipBlanks();
        if (cursor.peek() == ':') {
            cursor.advance();
            if (isDigit(cursor.peek()))
                mins = ReadNumber(cursor);
            if (mins > 59) {
                cursor.pos = start;
                return false;
            }
        }
        cursor.skipBlanks();
        const char letter = toUpperAscii(cursor.peek());
        if (letter == 'A' || letter == 'P') {
            cursor.advance();
            if (cursor.peek() == '.')
                cursor.advance();
            if (toUpperAscii(cursor.peek()) == 'M')
                half = letter == 'A' ? Half::Morning : Half::Afternoon;
            else
                half = Half::Open;
        }
        if (hours > 12) {
            hours -= 12;
            half = Half::Afternoon;
        }
        if (half == Half::Morning && hours == 12)
            hours = 0;
        else if (half == Half::Afternoon && hours < 12)
            hours += 12;
        else if (half == Half::Open && hours >= 1 && hours <= 7)
            hours += 12;
    }
    minutes = static_cast<int>(hours * 60 + mins);
    cursor.pos = start;
    return true;
}

} // namespace dvw
