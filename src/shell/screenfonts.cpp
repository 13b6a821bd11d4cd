#include "screenfonts.h"

#include "settings/settingslimits.h"

#include <QFontMetrics>

#include <algorithm>

namespace dvw {

namespace {

// size points at `resolution` pixels per inch, rounded to the nearest pixel.
int pixelsFor(int points, int resolution)
{
    return (points * resolution + 36) / 72;
}

// Font sizes tried below the first guess before the font is taken as it is.
constexpr int kFitSteps = 8;

} // namespace

void FitFontToHeight(QFont &font, int height)
{
    const int cell = std::max(1, height);
    font.setPixelSize(cell);
    const int full = QFontMetrics(font).height();
    if (full <= cell)
        return;
    // Ascent plus descent grows with the pixel size in proportion; the steps after the
    // first guess take out what rounding of the font's metrics adds.
    int size = std::max(1, cell * cell / full);
    font.setPixelSize(size);
    for (int step = 0; step < kFitSteps && size > 1 && QFontMetrics(font).height() > cell; ++step)
        font.setPixelSize(--size);
}

ScreenMetrics MeasureScreen(int screenWidth, int verticalDpi, int zoom)
{
    ScreenMetrics m;
    m.trueResolution = verticalDpi > 0 ? verticalDpi : 96;
    m.largeScreen = screenWidth > 800;
    m.zoomedResolution = usableZoom(zoom) * 120 / 100;
    return m;
}

std::array<ScreenFont, 5> MakeScreenFonts(const std::array<FontSlot, 6> &fontSlots,
                                          const ScreenMetrics &metrics)
{
    std::array<ScreenFont, 5> fonts;
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        const FontSlot &slot = fontSlots[i];
        const int size = limitForUse(slot.size, kFontSizeMin, kFontSizeMax);
        ScreenFont &f = fonts[i];
        f.height = pixelsFor(size, metrics.zoomedResolution);
        f.trueHeight = pixelsFor(size, metrics.trueResolution);
        f.font = QFont(QString::fromStdString(slot.face));
        f.font.setWeight(slot.bold ? QFont::DemiBold : QFont::Normal);
        f.font.setItalic(slot.italic);
        const bool swiss = i >= 1 && i <= 3;
        f.font.setStyleHint(swiss ? QFont::SansSerif : QFont::Serif);
        FitFontToHeight(f.font, f.height);
    }
    return fonts;
}

} // namespace dvw
