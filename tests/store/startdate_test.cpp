#include "store/startdate.h"

#include <gtest/gtest.h>

using namespace dvw;

TEST(StartDate, OnlyCompleteDatesAreStartDates)
{
    const DateTextSettings us;
    struct Case
    {
        const char *text;
        std::optional<TDate> date;
        const char *weekday;
    };
    const Case cases[] = {
        {"12/25/2026", TDate(25, 12, 2026), "Fri"},
        {"  12/25/2026  ", TDate(25, 12, 2026), "Fri"},
        {"Dec 25, 2026", TDate(25, 12, 2026), "Fri"},
        {"2/29/2024", TDate(29, 2, 2024), "Thu"},
        {"1/1/9999", TDate(1, 1, 9999), "Fri"},
        {"12/25", std::nullopt, ""}, // no year: no definite day
        {"?/15/2026", std::nullopt, ""}, // any month
        {"?/15", std::nullopt, ""},
        {"2/30/99", std::nullopt, ""}, // a day February lacks
        {"2/0/2026", std::nullopt, ""},
        {"1/1/99999", std::nullopt, ""}, // beyond year 9999
        {"12/25/2026 lunch", std::nullopt, ""}, // more than a date
        {"tomorrow", std::nullopt, ""},
        {"", std::nullopt, ""},
    };
    for (const Case &c : cases) {
        const std::optional<TDate> read = ReadStartDate(c.text, us);
        EXPECT_EQ(read.has_value(), c.date.has_value()) << c.text;
        if (read && c.date) {
            EXPECT_EQ(read->dayNumber, c.date->dayNumber) << c.text;
        }
        EXPECT_EQ(StartDateWeekday(c.text, us), c.weekday) << c.text;
    }
}

TEST(StartDate, DayOrderFollowsTheDateSettings)
{
    DateTextSettings european;
    european.european = true;
    const auto read = ReadStartDate("25/12/2026", european);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->dayNumber, TDate(25, 12, 2026).dayNumber);
    EXPECT_FALSE(ReadStartDate("12/25/2026", european).has_value());
}

TEST(StartDate, ScrollBarStepsADayOrPutsTodayIn)
{
    const DateTextSettings us;
    const TDate today(7, 12, 2026);
    const std::string todayText = StartDateText(today, us);
    struct Case
    {
        std::string text;
        int days;
        TDate expected;
    };
    const Case cases[] = {
        {todayText, 1, TDate(8, 12, 2026)},
        {StartDateText(TDate(31, 12, 2026), us), 1, TDate(1, 1, 2027)},
        {StartDateText(TDate(1, 3, 2024), us), -1, TDate(29, 2, 2024)},
        {"12/25", 1, today}, // no start date: today
        {"", -1, today},
        {StartDateText(TDate(31, 12, 9999), us), 1, TDate(31, 12, 9999)}, // kept at the end
    };
    for (const Case &c : cases) {
        const std::string stepped = StepStartDate(c.text, c.days, today, us);
        const auto read = ReadStartDate(stepped, us);
        ASSERT_TRUE(read.has_value()) << c.text << " gave " << stepped;
        EXPECT_EQ(read->dayNumber, c.expected.dayNumber) << c.text << " gave " << stepped;
    }
    EXPECT_FALSE(todayText.ends_with(' '));
}
