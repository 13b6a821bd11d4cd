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
}

TEST(ReadDate, MilitaryTimesAreNotTakenForYears)
{
    const DateRead t1400 = readDate("3/5 1400", military());
    EXPECT_TRUE(t1400.date.hasFlag(TDate::NoYear));
    EXPECT_EQ(t1400.rest, "1400");
    EXPECT_EQ(readDate("3/5 2075", military()).date, TDate(5, 3, 2075));
    EXPECT_EQ(readDate("3/5 05", military()).rest, "05");
    EXPECT_EQ(readDate("3/5 99", military()).date, TDate(5, 3, 1999));
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
    EXPECT_FALSE(readDate("13/5").ok);
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
