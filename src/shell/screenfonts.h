#pragma once

#include "settings/fontvalue.h"

#include <QFont>

#include <array>

namespace dvw {

// What the screen fonts are made for.
struct ScreenMetrics
{
    int trueResolution = 96; // vertical pixels per inch
    bool largeScreen = false; // wider than 800 pixels
    int zoomedResolution = 120; // ZOOM x 120 / 100
};

ScreenMetrics MeasureScreen(int screenWidth, int verticalDpi, int zoom);

// One screen font with its two heights in pixels: at the zoomed resolution (the font's
// full height, ascent plus descent, and the line spacing on screen) and at the screen's true
// resolution (what the printouts scale from).
struct ScreenFont
{
    QFont font;
    int height = 0;
    int trueHeight = 0;
};

// The screen fonts of fontSlots 0 to 4 (body, heading, large, calendar, small); the wallet
// font has none. Bold is weight 600, plain the normal weight; fontSlots 1 to 3 are sans serif,
// 0 and 4 serif. Each font is fitted to its height with FitFontToHeight.
// Sets the font's pixel size so that its ascent plus descent, which Qt draws below and
// above the em size, is at most `height` pixels: text then stays inside a cell of that
// height, descenders included. Needs a QGuiApplication.
void FitFontToHeight(QFont &font, int height);

std::array<ScreenFont, 5> MakeScreenFonts(const std::array<FontSlot, 6> &fontSlots,
                                          const ScreenMetrics &metrics);

} // namespace dvw
