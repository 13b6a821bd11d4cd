#include "shell/clocktext.h"

#include <gtest/gtest.h>

using namespace dvw;

TEST(StatusText, DateNamesDayAndMonthWithThreeBlanks)
{
    EXPECT_EQ(StatusDateText(TDate(7, 12, 2026)), "Monday   December 7, 2026");
    EXPECT_EQ(StatusDateText(TDate(29, 2, 2028)), "Tuesday   February 29, 2028");
    EXPECT_EQ(StatusDateText(TDate()), "");
}

TEST(StatusText, TimeAroundNoonAndMidnight)
{
    EXPECT_EQ(StatusTimeText(0, 0), "12:00 A.M.");
    EXPECT_EQ(StatusTimeText(12, 5), "12:05 P.M.");
    EXPECT_EQ(StatusTimeText(23, 59), "11:59 P.M.");
}
