#pragma once

#include <cstdint>
#include <string_view>

namespace dvw {

// A calendar day as a Julian day number plus flags that let the same value stand for
// the partial dates of the line language. Day number 0 means "no date"; it is also what
// an impossible day (30 February, day 0) turns into.
class TDate
{
public:
    enum Flag : std::uint32_t {
        LastDay = 1, // the day stands for the last day of its month
        NoYear = 2, // no year was given; the year is held as 0
        AnyMonth = 4, // the month is the wildcard "?"; it is held as January
    };

    constexpr TDate() = default;
    // day >= 32 means "the last day of that month" and sets LastDay.
    TDate(std::uint32_t day, std::uint32_t month, std::uint32_t year);
    static constexpr TDate fromDayNumber(std::uint32_t jd, std::uint32_t flags = 0)
    {
        TDate d;
        d.dayNumber = jd;
        d.flags = flags;
        return d;
    }

    void SplitDate(std::uint32_t &month, std::uint32_t &day, std::uint32_t &year) const;
    std::uint32_t Month() const;
    std::uint32_t DayOfMonth() const;
    std::uint32_t Year() const;
    // 1 = Monday ... 7 = Sunday.
    std::uint32_t WeekDay() const;
    // Moves by n months (negative allowed); the day is cut to the new month's length. A
    // date without a day number stays without one.
    void AddMonths(int n);

    bool isValid() const { return dayNumber != 0; }
    bool hasFlag(Flag f) const { return (flags & f) != 0; }

    // Order and equality look at the day number only.
    friend constexpr bool operator==(const TDate &a, const TDate &b)
    {
        return a.dayNumber == b.dayNumber;
    }
    friend constexpr auto operator<=>(const TDate &a, const TDate &b)
    {
        return a.dayNumber <=> b.dayNumber;
    }

    std::uint32_t flags = 0;
    std::uint32_t dayNumber = 0;
};

// Julian day number of (month, day, year), 0 when the day does not exist. Year 0 is the
// year of undated anniversaries: it counts as a leap year, and its January and February
// get numbers far above any real date (the year before it is taken as 65535).
std::uint32_t DayNumber(std::uint32_t month, std::uint32_t day, std::uint32_t year);

bool IsLeapYear(std::uint32_t year);
bool IsValidDay(std::uint32_t month, std::uint32_t day, std::uint32_t year);
// For year 0 the plain table value (February has 28).
std::uint32_t DaysInMonth(std::uint32_t month, std::uint32_t year);
// 0 = Sunday ... 6 = Saturday.
std::uint32_t FirstWeekdayOfMonth(std::uint32_t month, std::uint32_t year);

// n = 1..7, Monday first; empty for anything else.
std::string_view DayName(int n);
// n = 1..12; empty for anything else.
std::string_view MonthName(int n);
std::string_view UpperDayName(int n);
std::string_view UpperMonthName(int n);
std::string_view ShortDayName(int n);
std::string_view ShortMonthName(int n);

} // namespace dvw
