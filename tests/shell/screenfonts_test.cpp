#include "shell/screenfonts.h"

#include <QFontInfo>
#include <QFontMetrics>

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
    EXPECT_LE(fonts[0].font.pixelSize(), 15);
    EXPECT_EQ(fonts[0].font.weight(), QFont::Normal);
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

TEST(ScreenFonts, AscentPlusDescentFillsTheCellWithoutPassingIt)
{
    struct Case
    {
        FontSlot slot;
        int zoom;
    };
    const Case cases[] = {
        {{"Serif", 8, false, false}, 80},         {{"Serif", 10, false, true}, 100},
        {{"Sans", 10, true, false}, 100},         {{"Sans", 12, false, false}, 120},
        {{"Sans", 20, true, true}, 100},          {{"Monospace", 36, false, false}, 150},
        {{"No Such Face", 9, false, false}, 100},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.slot.face + " " + std::to_string(c.slot.size) + " zoom "
                     + std::to_string(c.zoom));
        std::array<FontSlot, 6> fontSlots {};
        fontSlots.fill(c.slot);
        const auto fonts = MakeScreenFonts(fontSlots, MeasureScreen(1280, 96, c.zoom));
        for (const ScreenFont &f : fonts) {
            const QFontMetrics metrics(f.font);
            EXPECT_LE(metrics.ascent() + metrics.descent(), f.height);
            // Fitted, not shrunk: within a pixel or two of the cell (one size step).
            EXPECT_GE(metrics.ascent() + metrics.descent(), f.height - 1 - f.height / 8);
        }
    }
}

TEST(ScreenFonts, PlainFontsAskForTheNormalWeightEvenWhereALightFaceExists)
{
    std::array<FontSlot, 6> fontSlots {};
    fontSlots.fill({"DejaVu Sans", 10, false, false});
    fontSlots[1].bold = true;
    const auto fonts = MakeScreenFonts(fontSlots, MeasureScreen(1280, 96, 100));
    for (std::size_t i : {0u, 2u, 3u, 4u}) {
        EXPECT_EQ(fonts[i].font.weight(), QFont::Normal) << i;
        EXPECT_GE(QFontInfo(fonts[i].font).weight(), QFont::Normal) << i;
    }
    EXPECT_GT(QFontInfo(fonts[1].font).weight(), QFont::Normal);
}
