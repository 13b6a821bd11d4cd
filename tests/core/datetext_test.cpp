#include "core/datetext.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <string>

using namespace dvw;

namespace {

struct DateRead
{
    bool ok = false;
    TDate date;
    std::string rest; // the text from where the cursor stopped
};

DateRead readDate(std::string_view text, DateTextSettings settings = {})
{
    TextCursor cursor {text, 0};
    DateRead result;
    result.ok = ReadDate(cursor, result.date, settings);
    result.rest = std::string(text.substr(cursor.pos));
    return result;
}

int readTime(std::string_view text, DateTextSettings settings = {})
{
    TextCursor cursor {text, 0};
    int minutes = -1;
    const bool ok = ReadTime(cursor, minutes, settings);
    EXPECT_EQ(cursor.pos, 0u) << "a time is never consumed: " << text;
    return ok ? minutes : -1;
}

DateTextSettings military()
{
    DateTextSettings s;
    s.military = true;
    return s;
}

DateTextSettings european()
{
    DateTextSettings s;
    s.european = true;
    return s;
}

} // namespace

TEST(ReadDate, TwoDigitYearsFollowTheCenturyBreak)
{
    EXPECT_EQ(readDate("1/1/19").date, TDate(1, 1, 2019));
    EXPECT_EQ(readDate("1/1/20").date, TDate(1, 1, 1920));
    DateTextSettings later;
    later.centuryBreak = 50;
    EXPECT_EQ(readDate("1/1/49", later).date, TDate(1, 1, 2049));
    EXPECT_EQ(readDate("1/1/50", later).date, TDate(1, 1, 1950));
    DateTextSettings never;
    never.centuryBreak = 0;
    EXPECT_EQ(readDate("1/1/05", never).date, TDate(1, 1, 1905));
    // Behind the "/" mark any number is a year: short ones by the break, long ones as they are.
    EXPECT_EQ(readDate("1/1/0").date, TDate(1, 1, 2000));
    EXPECT_EQ(readDate("1/1/5").date, TDate(1, 1, 2005));
    EXPECT_EQ(readDate("1/1/1850").date, TDate(1, 1, 1850));
    EXPECT_EQ(readDate("1/1/2075").date, TDate(1, 1, 2075));
    // A mark with no number behind it leaves the date without a year.
    const DateRead bare = readDate("1/1/ x");
    EXPECT_TRUE(bare.ok);
    EXPECT_EQ(bare.date.flags, TDate::NoYear);
    EXPECT_EQ(bare.rest, "x");
}

TEST(ReadDate, YearWithoutMarkIsTakenOnlyInItsRange)
{
    const DateRead y1999 = readDate("3/5 1999");
    EXPECT_EQ(y1999.date, TDate(5, 3, 1999));
    EXPECT_EQ(y1999.date.flags, 0u);

    const DateRead y99 = readDate("3/5 99");
    EXPECT_TRUE(y99.date.hasFlag(TDate::NoYear));
    EXPECT_EQ(y99.rest, "99");

    EXPECT_EQ(readDate("3/5/99").date, TDate(5, 3, 1999));
    EXPECT_EQ(readDate("3/5, 99").date, TDate(5, 3, 1999));
    EXPECT_EQ(readDate("3/5 , 99").date, TDate(5, 3, 1999));

    // Without the mark only 1971..2019 count as years; the ends of the range are text.
    for (const char *taken : {"3/5 1971 x", "3/5 2019 x"}) {
        const DateRead r = readDate(taken);
        EXPECT_EQ(r.date.flags, 0u) << taken;
        EXPECT_EQ(r.rest, "x") << taken;
    }
    EXPECT_EQ(readDate("3/5 1971").date, TDate(5, 3, 1971));
    for (const char *text : {"3/5 1970 x", "3/5 2020 x", "3/5 1400 x", "3/5 13 x"}) {
        const DateRead r = readDate(text);
        EXPECT_TRUE(r.ok) << text;
        EXPECT_EQ(r.date.flags, TDate::NoYear) << text;
        EXPECT_EQ(r.rest, std::string(text).substr(4)) << text;
    }
}

TEST(ReadDate, MilitaryTimesAreNotTakenForYears)
{
    const DateRead t1400 = readDate("3/5 1400", military());
    EXPECT_TRUE(t1400.date.hasFlag(TDate::NoYear));
    EXPECT_EQ(t1400.rest, "1400");
    EXPECT_EQ(readDate("3/5 2075", military()).date, TDate(5, 3, 2075));
    EXPECT_EQ(readDate("3/5 05", military()).rest, "05");
    EXPECT_EQ(readDate("3/5 99", military()).date, TDate(5, 3, 1999));

    // The ranges taken as years, each end checked from both sides.
    EXPECT_EQ(readDate("3/5 1960", military()).date, TDate(5, 3, 1960));
    EXPECT_EQ(readDate("3/5 1999", military()).date, TDate(5, 3, 1999));
    EXPECT_EQ(readDate("3/5 2060", military()).date, TDate(5, 3, 2060));
    EXPECT_EQ(readDate("3/5 2099", military()).date, TDate(5, 3, 2099));
    EXPECT_EQ(readDate("3/5 13", military()).date, TDate(5, 3, 2013));
    EXPECT_EQ(readDate("3/5 20", military()).date, TDate(5, 3, 1920));
    for (const char *text :
         {"3/5 1959", "3/5 2000", "3/5 2059", "3/5 2100", "3/5 12", "3/5 013", "3/5 0099"}) {
        const DateRead r = readDate(text, military());
        EXPECT_EQ(r.date.flags, TDate::NoYear) << text;
        EXPECT_EQ(r.rest, std::string(text).substr(4)) << text;
    }
    // The mark still makes any number a year.
    EXPECT_EQ(readDate("3/5/05", military()).date, TDate(5, 3, 2005));
    EXPECT_EQ(readDate("3/5, 2000", military()).date, TDate(5, 3, 2000));
}

TEST(ReadDate, MonthNamesInEitherPlace)
{
    for (const char *text : {"Mar 5", "5 Mar", "march 5", "5/Mar"}) {
        const DateRead r = readDate(text);
        EXPECT_TRUE(r.ok) << text;
        EXPECT_EQ(r.date.Month(), 3u) << text;
        EXPECT_EQ(r.date.DayOfMonth(), 5u) << text;
        EXPECT_EQ(r.date.flags, TDate::NoYear) << text;
    }
    const DateRead shortName = readDate("Ma 5");
    EXPECT_FALSE(shortName.ok);
    EXPECT_EQ(shortName.rest, "Ma 5");
    EXPECT_FALSE(readDate("Marchx 5").ok);

    // A name is the month whichever order the numbers use, and whichever place it takes.
    for (const char *text : {"Mar 5", "5 Mar", "5/mar/99"}) {
        const DateRead eu = readDate(text, european());
        EXPECT_EQ(eu.date.Month(), 3u) << text;
        EXPECT_EQ(eu.date.DayOfMonth(), 5u) << text;
    }
    EXPECT_EQ(readDate("5/mar/99", european()).date, TDate(5, 3, 1999));
    const DateRead wildcardSecond = readDate("3/?");
    EXPECT_EQ(wildcardSecond.date.flags, TDate::NoYear | TDate::AnyMonth);
    EXPECT_EQ(wildcardSecond.date.DayOfMonth(), 3u);
    // Two names: the first is the month, the second stands for its number as the day.
    const DateRead twoNames = readDate("Apr Mar");
    EXPECT_EQ(twoNames.date.Month(), 4u);
    EXPECT_EQ(twoNames.date.DayOfMonth(), 3u);
    EXPECT_FALSE(readDate("3/xyz").ok);
}

TEST(ReadDate, WildcardMonthAndLastDay)
{
    const DateRead any = readDate("?/15");
    EXPECT_EQ(any.date.flags, TDate::NoYear | TDate::AnyMonth);
    EXPECT_EQ(any.date.DayOfMonth(), 15u);
    EXPECT_EQ(readDate("0/15").date.flags, any.date.flags);
    EXPECT_EQ(readDate("0/15").date, any.date);

    const DateRead last = readDate("?/32");
    EXPECT_EQ(last.date.flags, TDate::NoYear | TDate::AnyMonth | TDate::LastDay);
    EXPECT_EQ(FormatDate(last.date, {}), "?/32");
}

TEST(ReadDate, ImpossibleDayReadsWithDayNumberZero)
{
    const DateRead r = readDate("2/30/99 x");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.date.dayNumber, 0u);
    EXPECT_EQ(r.rest, "x");
}

TEST(ReadDate, SlashBetweenMonthAndDayIsOptional)
{
    const DateRead r = readDate("10 30 call");
    EXPECT_EQ(r.date.Month(), 10u);
    EXPECT_EQ(r.date.DayOfMonth(), 30u);
    EXPECT_EQ(r.rest, "call");
    EXPECT_FALSE(readDate("10:30 call").ok);
}

TEST(ReadDate, MonthThirteenOnlyInEuropeanOrder)
{
    const DateRead us = readDate("13/5 x");
    EXPECT_FALSE(us.ok);
    EXPECT_EQ(us.rest, "13/5 x");
    EXPECT_EQ(readDate("5/3/99", european()).date, TDate(5, 3, 1999));
    EXPECT_EQ(readDate("5 3 1999", european()).date, TDate(5, 3, 1999));
    EXPECT_EQ(readDate("5/3, 99", european()).date, TDate(5, 3, 1999));
    EXPECT_EQ(readDate("5/3 99", european()).rest, "99");
    const DateRead monthlyIn99 = readDate("15/?/99", european());
    EXPECT_EQ(monthlyIn99.date.flags, TDate::AnyMonth);
    EXPECT_EQ(monthlyIn99.date, TDate(15, 1, 1999));
    EXPECT_EQ(readDate("15/0", european()).date.flags, TDate::NoYear | TDate::AnyMonth);
    const DateRead eu = readDate("13/5", european());
    EXPECT_TRUE(eu.ok);
    EXPECT_EQ(eu.date.Month(), 5u);
    EXPECT_EQ(eu.date.DayOfMonth(), 13u);
}

TEST(ReadDate, FailureKeepsTheDateAndStopsBehindLeadingBlanks)
{
    TDate kept(1, 1, 2000);
    std::string text = "  hello";
    TextCursor cursor {text, 0};
    EXPECT_FALSE(ReadDate(cursor, kept, {}));
    EXPECT_EQ(kept, TDate(1, 1, 2000));
    EXPECT_EQ(cursor.pos, 2u);
}

TEST(ReadDate, HugeNumbersWrapWithoutHarm)
{
    EXPECT_TRUE(readDate("3/5/99999999999999999999").ok);
    EXPECT_FALSE(readDate("99999999999/5").ok);
}

TEST(ReadNumberMonthWeekday, NamesNeedThreeLettersAndMatchOverTheRun)
{
    std::string text = "0042  x";
    TextCursor cursor {text, 0};
    EXPECT_EQ(ReadNumber(cursor), 42u);
    EXPECT_EQ(cursor.pos, 6u);
    EXPECT_EQ(ReadNumber(cursor), 0u);
    EXPECT_EQ(cursor.pos, 6u);

    auto month = [](std::string_view t, std::size_t *stopAt = nullptr) {
        TextCursor c {t, 0};
        const int m = ReadMonth(c);
        if (stopAt)
            *stopAt = c.pos;
        return m;
    };
    std::size_t stop = 0;
    EXPECT_EQ(month("?  x", &stop), 0);
    EXPECT_EQ(stop, 3u);
    EXPECT_EQ(month("sep"), 9);
    EXPECT_EQ(month("SEPT"), 9);
    EXPECT_EQ(month("jun"), 6);
    EXPECT_EQ(month("JUL"), 7);
    EXPECT_EQ(month("december"), 12);
    EXPECT_EQ(month("MAR3MON", &stop), 3);
    EXPECT_EQ(stop, 3u);
    EXPECT_EQ(month("ju", &stop), -1);
    EXPECT_EQ(stop, 0u);
    EXPECT_EQ(month("decembers", &stop), -1);
    EXPECT_EQ(stop, 0u);
    EXPECT_EQ(month("mon"), -1);

    auto weekday = [](std::string_view t, std::size_t *stopAt = nullptr) {
        TextCursor c {t, 0};
        const int d = ReadWeekday(c);
        if (stopAt)
            *stopAt = c.pos;
        return d;
    };
    EXPECT_EQ(weekday("sun"), 0);
    EXPECT_EQ(weekday("Monday"), 1);
    EXPECT_EQ(weekday("tues"), 2);
    EXPECT_EQ(weekday("THU"), 4);
    EXPECT_EQ(weekday("Saturday ,", &stop), 6);
    EXPECT_EQ(stop, 9u);
    EXPECT_EQ(weekday("mo", &stop), -1);
    EXPECT_EQ(stop, 0u);
    EXPECT_EQ(weekday("mar"), -1);
    EXPECT_EQ(weekday("?"), -1);
}

TEST(ReadTime, ClockTimesAndTheirHalfOfDay)
{
    EXPECT_EQ(readTime("9:30"), 570);
    EXPECT_EQ(readTime("3"), 900);
    EXPECT_EQ(readTime("3:00"), 900);
    EXPECT_EQ(readTime("8"), 480);
    EXPECT_EQ(readTime("03"), 180);
    EXPECT_EQ(readTime("12 am"), 0);
    EXPECT_EQ(readTime("12"), 720);
    EXPECT_EQ(readTime("3p"), 900);
    EXPECT_EQ(readTime("3 a.m."), 180);
    EXPECT_EQ(readTime("9:00 am Dentist"), 540);
    EXPECT_EQ(readTime("9 pm"), 1260);
    EXPECT_EQ(readTime("15:30"), 930);
    EXPECT_EQ(readTime("9:75"), -1);
    EXPECT_EQ(readTime("25"), -1);
    EXPECT_EQ(readTime("x9"), -1);
    EXPECT_EQ(readTime("1430"), -1);
    EXPECT_EQ(readTime("1430", military()), 870);

    // Hours past twelve are afternoon whatever follows; a lone "A" or "P" decides nothing.
    EXPECT_EQ(readTime("0"), 0);
    EXPECT_EQ(readTime("24"), 720);
    EXPECT_EQ(readTime("13 am"), 780);
    EXPECT_EQ(readTime("12 pm"), 720);
    EXPECT_EQ(readTime("12:30 a.m."), 30);
    EXPECT_EQ(readTime("0 pm"), 720);
    EXPECT_EQ(readTime("3 a x"), 900);
    EXPECT_EQ(readTime("05 a"), 1020);
    EXPECT_EQ(readTime("09 a"), 540);
    EXPECT_EQ(readTime("7"), 1140);
    EXPECT_EQ(readTime("11"), 660);
    EXPECT_EQ(readTime("9 :15"), 555);
    EXPECT_EQ(readTime("3: pm"), 900);
    EXPECT_EQ(readTime("3:5"), 905);
    EXPECT_EQ(readTime("3:60"), -1);
    EXPECT_EQ(readTime("99999999999"), -1);

    // Military four-digit times skip the half-of-day rules; short numbers read as usual.
    EXPECT_EQ(readTime("0830", military()), 510);
    EXPECT_EQ(readTime("100", military()), 60);
    EXPECT_EQ(readTime("2400", military()), 1440);
    EXPECT_EQ(readTime("2401", military()), -1);
    EXPECT_EQ(readTime("99", military()), -1);
    EXPECT_EQ(readTime("9:30", military()), 570);
    EXPECT_EQ(readTime("3", military()), 900);
}

TEST(FormatTime, TwelveHourClock)
{
    EXPECT_EQ(FormatTime(570), "9:30 A.M.");
    EXPECT_EQ(FormatTime(720), "12:00 P.M.");
    EXPECT_EQ(FormatTime(0), "12:00 A.M.");
    EXPECT_EQ(FormatTime(1439), "11:59 P.M.");
}

TEST(FormatDate, FullAndPartialDatesInBothOrders)
{
    EXPECT_EQ(FormatDate(TDate(5, 3, 2005), {}), "3/5/05 ");
    EXPECT_EQ(FormatDate(TDate(5, 3, 1999), {}), "3/5/99 ");
    EXPECT_EQ(FormatDate(TDate(5, 3, 1850), {}), "3/5/1850 ");
    EXPECT_EQ(FormatDate(TDate(5, 3, 1999), european()), "5/3/99 ");

    TDate monthly(5, 1, 0);
    monthly.flags = TDate::NoYear | TDate::AnyMonth;
    EXPECT_EQ(FormatDate(monthly, {}), "?/5");
    EXPECT_EQ(FormatDate(monthly, european()), "5/?");

    TDate anniversary(5, 3, 0);
    anniversary.flags = TDate::NoYear;
    EXPECT_EQ(FormatDate(anniversary, {}), "3/5");
    EXPECT_EQ(FormatDate(anniversary, european()), "5/3");

    TDate lastOfMonthIn99(32, 1, 1999);
    lastOfMonthIn99.flags |= TDate::AnyMonth;
    EXPECT_EQ(FormatDate(lastOfMonthIn99, {}), "?/32/99");
    EXPECT_EQ(FormatDate(lastOfMonthIn99, european()), "32/?/99");

    TDate monthlyIn2005(15, 1, 2005);
    monthlyIn2005.flags = TDate::AnyMonth;
    EXPECT_EQ(FormatDate(monthlyIn2005, {}), "?/15/05");
    EXPECT_EQ(FormatDate(monthlyIn2005, european()), "15/?/05");

    TDate lastOfMarch(32, 3, 0);
    lastOfMarch.flags |= TDate::NoYear;
    EXPECT_EQ(FormatDate(lastOfMarch, {}), "3/32");
    EXPECT_EQ(FormatDate(lastOfMarch, european()), "32/3");
    EXPECT_EQ(FormatDate(TDate(32, 4, 1999), {}), "4/32/99");
    EXPECT_EQ(FormatDate(TDate(32, 4, 1999), european()), "32/4/99");

    TDate anyLastDay(32, 1, 0);
    anyLastDay.flags |= TDate::NoYear | TDate::AnyMonth;
    EXPECT_EQ(FormatDate(anyLastDay, european()), "32/?");

    // The year is written in two digits only when they read back to it under the break.
    EXPECT_EQ(FormatDate(TDate(5, 3, 2005), european()), "5/3/05 ");
    EXPECT_EQ(FormatDate(TDate(5, 3, 2019), {}), "3/5/19 ");
    EXPECT_EQ(FormatDate(TDate(5, 3, 2020), {}), "3/5/2020 ");
    EXPECT_EQ(FormatDate(TDate(5, 3, 1920), {}), "3/5/20 ");
    EXPECT_EQ(FormatDate(TDate(5, 3, 1919), {}), "3/5/1919 ");
    EXPECT_EQ(FormatDate(TDate(5, 3, 2100), {}), "3/5/2100 ");
    DateTextSettings never;
    never.centuryBreak = 0;
    EXPECT_EQ(FormatDate(TDate(5, 3, 2005), never), "3/5/2005 ");
    EXPECT_EQ(FormatDate(TDate(5, 3, 1905), never), "3/5/05 ");
}

// Any complete date whose year the two-digit rule maps back (or that is written in four
// digits behind the "/" mark) reads back to the same day number and flags.
RC_GTEST_PROP(FormatDate, ReadsBackToTheSameDate, ())
{
    const auto year = *rc::gen::inRange<std::uint32_t>(100, 3000);
    const auto month = *rc::gen::inRange<std::uint32_t>(1, 13);
    const auto day = *rc::gen::inRange<std::uint32_t>(1, DaysInMonth(month, year) + 1);
    DateTextSettings settings;
    settings.european = *rc::gen::arbitrary<bool>();
    settings.military = *rc::gen::arbitrary<bool>();
    settings.centuryBreak = *rc::gen::inRange(0, 100);
    TDate date(day, month, year);
    const int flagChoice = *rc::gen::inRange(0, 4);
    if (flagChoice == 1)
        date = TDate(day, month, 0), date.flags = TDate::NoYear;
    else if (flagChoice == 2)
        date = TDate(day, 1, year), date.flags = TDate::AnyMonth;
    else if (flagChoice == 3)
        date = TDate(32, month, year);

    const std::string text = FormatDate(date, settings);
    TextCursor cursor {text, 0};
    TDate back;
    RC_ASSERT(ReadDate(cursor, back, settings));
    RC_ASSERT(back.dayNumber == date.dayNumber);
    RC_ASSERT(back.flags == date.flags);
    RC_ASSERT(cursor.pos == text.size());
}
