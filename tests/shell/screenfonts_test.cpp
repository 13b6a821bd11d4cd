#include "shell/screenfonts.h"

#include <gtest/gtest.h>

using namespace dvw;

TEST(ScreenFonts, HeightsFollowTheZoomedAndTheTrueResolution)
{
    std::array<FontSlot, 6> fontSlots {};
    fontSlots[0] = {"Serif", 10, false, false};
    fontSlots[1] = {"Sans", 10, true, false};
    fontSlots[4] = {"Sans", 9, false, true};
    const ScreenMetrics metrics = MeasureScreen(1280, 96, 90);
    EXPECT_TRUE(metrics.largeScreen);
    EXPECT_EQ(metrics.zoomedResolution, 108);

    const auto fonts = MakeScreenFonts(fontSlots, metrics);
    EXPECT_EQ(fonts[0].height, 15); // 10 pt x 108 / 72
    EXPECT_EQ(fonts[0].trueHeight, 13); // 10 pt x 96 / 72, rounded
    EXPECT_EQ(fonts[0].font.pixelSize(), 15);
    EXPECT_EQ(fonts[0].font.weight(), QFont::Light);
    EXPECT_EQ(fonts[1].font.weight(), QFont::DemiBold);
    EXPECT_TRUE(fonts[4].font.italic());
    EXPECT_EQ(fonts[1].font.styleHint(), QFont::SansSerif);
    EXPECT_EQ(fonts[4].font.styleHint(), QFont::Serif);
}

TEST(ScreenFonts, ZeroZoomAndOddSizesStillGiveUsableFonts)
{
    std::array<FontSlot, 6> fontSlots {};
    fontSlots[0] = {"Serif", 0, false, false};
    const ScreenMetrics metrics = MeasureScreen(800, 0, 0);
    EXPECT_FALSE(metrics.largeScreen);
    EXPECT_GT(metrics.zoomedResolution, 0);
    const auto fonts = MakeScreenFonts(fontSlots, metrics);
    EXPECT_GT(fonts[0].font.pixelSize(), 0);
}
