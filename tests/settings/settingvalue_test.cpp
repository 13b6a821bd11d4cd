#include "settings/settingslimits.h"
#include "settings/settingvalue.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <limits>

using namespace dvw;

TEST(SettingValue, IntegersAreWholeDecimalNumbersThatFit32Bits)
{
    EXPECT_EQ(parseIntValue("365"), 365);
    EXPECT_EQ(parseIntValue(" -12 "), -12);
    EXPECT_EQ(parseIntValue("+7"), 7);
    EXPECT_EQ(parseIntValue("2147483647"), INT_MAX);
    EXPECT_EQ(parseIntValue("-2147483648"), INT_MIN);
    for (const char *missing : {"", " ", "2147483648", "-2147483649", "99999999999999999999",
                                "12abc", "1.5", "0x10", "+-3", "++3", "-", "true", "nan"})
        EXPECT_EQ(parseIntValue(missing), std::nullopt) << missing;
}

TEST(SettingValue, RealsReadLikeTheStoredTextWithTrailingTextIgnored)
{
    EXPECT_EQ(parseRealValue("5.25"), 5.25);
    EXPECT_EQ(parseRealValue("  -0.75"), -0.75);
    EXPECT_EQ(parseRealValue("+3"), 3.0);
    EXPECT_EQ(parseRealValue("6.125 inches"), 6.125);
    for (const char *missing : {"", "   ", "abc", ",75", "--1", "+-1", "1e999"})
        EXPECT_EQ(parseRealValue(missing), std::nullopt) << missing;
}

TEST(SettingValue, RealsIgnoreTheUsersLocale)
{
    const char *previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    // Where a decimal-comma locale exists, it must change nothing.
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(formatRealValue(0.75), "0.75");
    EXPECT_EQ(parseRealValue("0.75"), 0.75);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(SettingValue, RealsAreWrittenWithTwoRoundedDecimals)
{
    EXPECT_EQ(formatRealValue(0.755), "0.76");
    EXPECT_EQ(formatRealValue(5.25), "5.25");
    EXPECT_EQ(formatRealValue(6.125), "6.12"); // exactly halfway in binary: to even
    EXPECT_EQ(formatRealValue(0), "0.00");
    EXPECT_EQ(formatRealValue(-1.5), "-1.50");
}

RC_GTEST_PROP(SettingValue, WrittenRealReadsBackWithinHalfACent, ())
{
    const double value
        = *rc::gen::map(rc::gen::inRange(-100000000, 100000000), [](int n) { return n / 997.0; });
    const std::optional<double> back = parseRealValue(formatRealValue(value));
    RC_ASSERT(back.has_value());
    RC_ASSERT(std::abs(*back - value) <= 0.005 + 1e-9);
}

TEST(SettingValue, NanAndInfinityNeverPassARangeCheck)
{
    const RealRange margin {0, true, 8};
    const RealRange walletWidth {2.5, false, 20};
    for (const char *text : {"nan", "-nan", "NAN", "inf", "-inf", "infinity"}) {
        const std::optional<double> value = parseRealValue(text);
        ASSERT_TRUE(value.has_value()) << text; // they parse; the ranges must refuse them
        EXPECT_FALSE(margin.contains(*value)) << text;
        EXPECT_FALSE(walletWidth.contains(*value)) << text;
    }
}

TEST(SettingValue, RangeBoundsAreInclusiveOrExclusiveAsDeclared)
{
    const RealRange walletWidth {2.5, false, 20};
    EXPECT_FALSE(walletWidth.contains(2.5));
    EXPECT_TRUE(walletWidth.contains(2.51));
    EXPECT_TRUE(walletWidth.contains(19.99));
    EXPECT_FALSE(walletWidth.contains(20));
    const RealRange margin {0, true, 8};
    EXPECT_TRUE(margin.contains(0));
    EXPECT_FALSE(margin.contains(-0.01));
    EXPECT_FALSE(margin.contains(8));
    const IntRange width {200, 1000};
    EXPECT_TRUE(width.contains(200));
    EXPECT_TRUE(width.contains(1000));
    EXPECT_FALSE(width.contains(1001));
    EXPECT_FALSE(width.contains(199));
}

TEST(SettingValue, CutsCountCharactersNotBytes)
{
    EXPECT_EQ(cutToCharacters("abcdef", 3), "abc");
    EXPECT_EQ(cutToCharacters("abc", 3), "abc");
    EXPECT_EQ(cutToCharacters("", 3), "");
    EXPECT_EQ(cutToCharacters("\xC3\xA9t\xC3\xA9s", 3), "\xC3\xA9t\xC3\xA9"); // "étés" -> "été"
    EXPECT_EQ(cutToCharacters("a\xE2\x82\xAC", 1), "a"); // never half of a euro sign
}

TEST(SettingLimits, AbsurdStoredValuesAreHeldToWhatTheirUseCanTake)
{
    EXPECT_EQ(usableDays(INT_MAX), 365);
    EXPECT_EQ(usableDays(0), 1);
    EXPECT_EQ(usableDays(-5), 1);
    EXPECT_EQ(usableDays(30), 30);
    EXPECT_EQ(usableCenturyBreak(5000), 100);
    EXPECT_EQ(usableCenturyBreak(-1), 0);
    EXPECT_EQ(usableCenturyBreak(20), 20);
    EXPECT_EQ(usableZoom(0), 25);
    EXPECT_EQ(usableZoom(INT_MAX), 400);
    EXPECT_EQ(usableZoom(90), 90);
    EXPECT_EQ(usableColumns(0), 1);
    EXPECT_EQ(usableColumns(5), 1);
    EXPECT_EQ(usableColumns(3), 3);
    EXPECT_EQ(usablePages(250), 1);
    EXPECT_EQ(usableNagDays(INT_MAX), 3660);
    EXPECT_EQ(usableNagDays(INT_MIN), 0);
    EXPECT_EQ(usableIntervalSeconds(0), 1);
    EXPECT_EQ(usableDuration(INT_MAX), 3600);
    EXPECT_EQ(usableDuration(0), 0); // 0: until the alarm window is closed
    EXPECT_EQ(usableAdvanceMinutes(-1), 0);
}

TEST(SettingLimits, UnimportantDayIsTakenModuloSevenEvenWhenNegative)
{
    EXPECT_EQ(usableUnimportantDay(1), 1);
    EXPECT_EQ(usableUnimportantDay(7), 0);
    EXPECT_EQ(usableUnimportantDay(-1), 6);
    EXPECT_EQ(usableUnimportantDay(INT_MIN), 5); // -2147483648 = -306783379 * 7 - 5
}
