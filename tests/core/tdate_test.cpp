#include "core/tdate.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace dvw;
namespace chr = std::chrono;

namespace {

constexpr std::uint32_t unixEpochJulianDay = 2440588;

std::uint32_t chronoDayNumber(const chr::year_month_day &ymd)
{
    const auto days = chr::sys_days(ymd).time_since_epoch().count();
    return static_cast<std::uint32_t>(days + unixEpochJulianDay);
}

} // namespace

TEST(TDate, EveryDayFrom1800To2200MatchesChronoAndSplitsBack)
{
    const chr::sys_days first = chr::year {1800} / chr::January / 1;
    const chr::sys_days last = chr::year {2200} / chr::December / 31;
    for (chr::sys_days day = first; day <= last; day += chr::days {1}) {
        const chr::year_month_day ymd(day);
        const auto m = static_cast<unsigned>(ymd.month());
        const auto d = static_cast<unsigned>(ymd.day());
        const auto y = static_cast<unsigned>(static_cast<int>(ymd.year()));
        const TDate date(d, m, y);
        ASSERT_EQ(date.dayNumber, chronoDayNumber(ymd)) << y << "-" << m << "-" << d;
        ASSERT_EQ(date.flags, 0u);
        std::uint32_t sm, sd, sy;
        date.SplitDate(sm, sd, sy);
        ASSERT_EQ(sm, m);
        ASSERT_EQ(sd, d);
        ASSERT_EQ(sy, y);
        const unsigned isoWeekday = chr::weekday(day).iso_encoding(); // 1 = Monday
        ASSERT_EQ(date.WeekDay(), isoWeekday);
        if (d == 1) {
            ASSERT_EQ(FirstWeekdayOfMonth(m, y), chr::weekday(day).c_encoding());
        }
    }
}

TEST(TDate, KnownDayNumbersAndImpossibleDays)
{
    EXPECT_EQ(TDate(1, 1, 2000).dayNumber, 2451545u);
    EXPECT_EQ(TDate(30, 2, 1999).dayNumber, 0u);
    EXPECT_EQ(TDate(0, 3, 1999).dayNumber, 0u);
    EXPECT_EQ(TDate(31, 4, 1999).dayNumber, 0u);
    EXPECT_EQ(TDate(1, 13, 1999).dayNumber, 0u);
    EXPECT_EQ(TDate().dayNumber, 0u);
    EXPECT_EQ(TDate().flags, 0u);
}

TEST(TDate, DayAbove31MeansLastDayOfTheMonth)
{
    const TDate feb99(32, 2, 1999);
    EXPECT_EQ(feb99.flags, TDate::LastDay);
    EXPECT_EQ(feb99, TDate(28, 2, 1999));
    EXPECT_EQ(TDate(40, 2, 2000), TDate(29, 2, 2000));
    EXPECT_EQ(TDate(32, 4, 1999), TDate(30, 4, 1999));
    EXPECT_EQ(TDate(32, 13, 1999).dayNumber, 0u);
}

TEST(TDate, YearZeroIsLeapForValidityButFebruaryHas28Days)
{
    EXPECT_TRUE(IsValidDay(2, 29, 0));
    EXPECT_NE(TDate(29, 2, 0).dayNumber, 0u);
    EXPECT_EQ(DaysInMonth(2, 0), 28u);
    // January and February of year 0 lie far above any real date, March onwards below year 1.
    EXPECT_GT(TDate(15, 1, 0).dayNumber, TDate(1, 1, 9999).dayNumber);
    EXPECT_LT(TDate(15, 3, 0).dayNumber, TDate(1, 1, 1).dayNumber);
    EXPECT_LT(TDate(31, 12, 0).dayNumber, TDate(1, 1, 1).dayNumber);
    EXPECT_EQ(TDate(1, 1, 0).dayNumber + 31, TDate(1, 2, 0).dayNumber);
    EXPECT_EQ(TDate(29, 2, 0).DayOfMonth(), 29u);
    EXPECT_EQ(TDate(29, 2, 0).Month(), 2u);
    EXPECT_EQ(TDate(30, 2, 0).dayNumber, 0u);
    // The last day of a yearless February is the 28th.
    EXPECT_EQ(TDate(32, 2, 0), TDate(28, 2, 0));
    for (std::uint32_t m = 1; m <= 12; ++m) {
        const TDate d(5, m, 0);
        EXPECT_EQ(d.Month(), m);
        EXPECT_EQ(d.DayOfMonth(), 5u);
    }
}

TEST(TDate, OrderAndEqualityIgnoreFlags)
{
    TDate a(5, 3, 1999);
    TDate b = a;
    b.flags = TDate::NoYear | TDate::AnyMonth;
    EXPECT_EQ(a, b);
    EXPECT_LT(TDate(4, 3, 1999), a);
}

TEST(TDate, LeapYearsAndMonthLengths)
{
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(1996));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(1999));
    EXPECT_EQ(DaysInMonth(2, 2000), 29u);
    EXPECT_EQ(DaysInMonth(2, 1900), 28u);
    EXPECT_EQ(DaysInMonth(12, 1999), 31u);
    EXPECT_EQ(DaysInMonth(4, 1999), 30u);
    EXPECT_EQ(DaysInMonth(0, 1999), 0u);
    EXPECT_FALSE(IsValidDay(2, 29, 1999));
    EXPECT_TRUE(IsValidDay(2, 29, 2000));
}

TEST(TDate, AddMonthsCutsTheDayAndCrossesYears)
{
    TDate jan31(31, 1, 1999);
    jan31.AddMonths(1);
    EXPECT_EQ(jan31, TDate(28, 2, 1999));

    TDate mar15(15, 3, 2000);
    mar15.AddMonths(-13);
    EXPECT_EQ(mar15, TDate(15, 2, 1999));

    TDate dec(15, 12, 1999);
    dec.AddMonths(1);
    EXPECT_EQ(dec, TDate(15, 1, 2000));
    dec.AddMonths(-12);
    EXPECT_EQ(dec, TDate(15, 1, 1999));
    dec.AddMonths(-1);
    EXPECT_EQ(dec, TDate(15, 12, 1998));

    TDate leap(31, 3, 2000);
    leap.AddMonths(-1);
    EXPECT_EQ(leap, TDate(29, 2, 2000));
    TDate jan(15, 1, 2000);
    jan.AddMonths(-1);
    EXPECT_EQ(jan, TDate(15, 12, 1999));
    jan.AddMonths(25);
    EXPECT_EQ(jan, TDate(15, 1, 2002));
    jan.AddMonths(-24);
    EXPECT_EQ(jan, TDate(15, 1, 2000));
    jan.AddMonths(0);
    EXPECT_EQ(jan, TDate(15, 1, 2000));
    jan.AddMonths(-12 * 100 - 11);
    EXPECT_EQ(jan, TDate(15, 2, 1899));

    // No date stays no date: an impossible day must not turn into a real one.
    TDate none(30, 2, 1999);
    none.AddMonths(1);
    EXPECT_EQ(none.dayNumber, 0u);
    TDate empty;
    empty.AddMonths(-1);
    EXPECT_EQ(empty.dayNumber, 0u);

    TDate flagged(32, 1, 1999);
    flagged.AddMonths(1);
    EXPECT_EQ(flagged.flags, TDate::LastDay);
    EXPECT_EQ(flagged, TDate(28, 2, 1999));
}

TEST(TDate, NameTables)
{
    EXPECT_EQ(DayName(1), "Monday");
    EXPECT_EQ(DayName(7), "Sunday");
    EXPECT_EQ(DayName(0), "");
    EXPECT_EQ(DayName(8), "");
    EXPECT_EQ(MonthName(1), "January");
    EXPECT_EQ(MonthName(12), "December");
    EXPECT_EQ(MonthName(13), "");
    EXPECT_EQ(UpperMonthName(9), "SEPTEMBER");
    EXPECT_EQ(ShortMonthName(6), "Jun");
    EXPECT_EQ(UpperDayName(3), "WEDNESDAY");
    EXPECT_EQ(ShortDayName(6), "Sat");
}
