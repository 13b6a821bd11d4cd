#include "tdate.h"

#include <array>

namespace dvw {

namespace {

constexpr std::array<std::string_view, 12> monthNames
    = {"January", "February", "March",     "April",   "May",      "June",
       "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 12> upperMonthNames
    = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",   "MAY",      "JUNE",
       "JULY",    "AUGUST",   "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
constexpr std::array<std::string_view, 12> shortMonthNames
    = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 7> dayNames
    = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
constexpr std::array<std::string_view, 7> upperDayNames
    = {"MONDAY", "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY", "SATURDAY", "SUNDAY"};
constexpr std::array<std::string_view, 7> shortDayNames
    = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr std::array<std::uint32_t, 12> monthLengths
    = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Day numbers count from 1 March of year 0 of this shifted calendar: 1721119 is the
// Julian day number that the March-based count adds.
constexpr std::uint32_t julianOffset = 1721119;

template<std::size_t N>
std::string_view pick(const std::array<std::string_view, N> &table, int n)
{
    if (n < 1 || n > static_cast<int>(N))
        return {};
    return table[static_cast<std::size_t>(n - 1)];
}

} // namespace

bool IsLeapYear(std::uint32_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsValidDay(std::uint32_t month, std::uint32_t day, std::uint32_t year)
{
    if (month < 1 || month > 12 || day < 1)
        return false;
    if (month == 2 && IsLeapYear(year))
        return day <= 29;
    return day <= monthLengths[month - 1];
}

// Unsigned throughout: huge years wrap instead of overflowing a signed value.
std::uint32_t DayNumber(std::uint32_t month, std::uint32_t day, std::uint32_t year)
{
    if (!IsValidDay(month, day, year))
        return 0;
    std::uint32_t m; // [0, 11], March = 0
    std::uint32_t y;
    if (month > 2) {
        m = month - 3;
        y = year;
    } else {
        m = month + 9;
        y = year == 0 ? 65535u : year - 1;
    }
    const std::uint32_t c = y / 100;
    const std::uint32_t ya = y - 100 * c; // [0, 99]
    return (146097u * c) / 4 + (1461u * ya) / 4 + (153u * m + 2) / 5 + day + julianOffset;
}

TDate::TDate(std::uint32_t day, std::uint32_t month, std::uint32_t year)
{
    if (day < 32) {
        dayNumber = DayNumber(month, day, year);
        return;
    }
    flags = LastDay;
    if (month >= 1 && month <= 12)
        dayNumber = DayNumber(month, DaysInMonth(month, year), year);
}

void TDate::SplitDate(std::uint32_t &month, std::uint32_t &day, std::uint32_t &year) const
{
    std::uint32_t j = dayNumber - julianOffset;
    std::uint32_t y = (4 * j - 1) / 146097;
    std::uint32_t d = ((4 * j - 1) - 146097 * y) / 4;
    const std::uint32_t ya = (4 * d + 3) / 1461;
    d = ((4 * d + 3) - 1461 * ya + 4) / 4;
    const std::uint32_t m = (5 * d - 3) / 153; // [0, 11], March = 0
    day = ((5 * d - 3) - 153 * m + 5) / 5;
    year = 100 * y + ya;
    if (m < 10) {
        month = m + 3;
    } else {
        month = m - 9;
        year = year + 1;
    }
}

std::uint32_t TDate::Month() const
{
    std::uint32_t m, d, y;
    SplitDate(m, d, y);
    return m;
}

std::uint32_t TDate::DayOfMonth() const
{
    std::uint32_t m, d, y;
    SplitDate(m, d, y);
    return d;
}

std::uint32_t TDate::Year() const
{
    std::uint32_t m, d, y;
    SplitDate(m, d, y);
    return y;
}

std::uint32_t TDate::WeekDay() const
{
    return ((dayNumber + 1) % 7 + 6) % 7 + 1;
}

void TDate::AddMonths(int n)
{
    // Day number 0 splits into a made-up day; moving that would invent a real date.
    if (dayNumber == 0)
        return;
    std::uint32_t month, day, year;
    SplitDate(month, day, year);
    // Signed 64-bit so that neither a large n nor a year near the limits overflows.
    std::int64_t m = static_cast<std::int64_t>(month) + n;
    std::int64_t y = year;
    if (m > 12) {
        y += (m - 1) / 12;
        m = (m - 1) % 12 + 1;
    } else if (m < 1) {
        const std::int64_t k = (-m) / 12 + 1;
        y -= k;
        m += 12 * k;
    }
    const auto newMonth = static_cast<std::uint32_t>(m);
    const auto newYear = static_cast<std::uint32_t>(y);
    const std::uint32_t length = DaysInMonth(newMonth, newYear);
    if (day > length)
        day = length;
    dayNumber = DayNumber(newMonth, day, newYear);
}

std::uint32_t DaysInMonth(std::uint32_t month, std::uint32_t year)
{
    if (month < 1 || month > 12)
        return 0;
    if (year == 0)
        return monthLengths[month - 1];
    const std::uint32_t nextMonth = month == 12 ? 1 : month + 1;
    const std::uint32_t nextYear = month == 12 ? year + 1 : year;
    return DayNumber(nextMonth, 1, nextYear) - DayNumber(month, 1, year);
}

std::uint32_t FirstWeekdayOfMonth(std::uint32_t month, std::uint32_t year)
{
    return TDate(1, month, year).WeekDay() % 7;
}

std::string_view DayName(int n)
{
    return pick(dayNames, n);
}

std::string_view MonthName(int n)
{
    return pick(monthNames, n);
}

std::string_view UpperDayName(int n)
{
    return pick(upperDayNames, n);
}

std::string_view UpperMonthName(int n)
{
    return pick(upperMonthNames, n);
}

std::string_view ShortDayName(int n)
{
    return pick(shortDayNames, n);
}

std::string_view ShortMonthName(int n)
{
    return pick(shortMonthNames, n);
}

} // namespace dvw
