#include "screenfonts.h"

#include "settings/settingslimits.h"

namespace dvw {

namespace {

// size points at `resolution` pixels per inch, rounded to the nearest pixel.
int pixelsFor(int points, int resolution)
{
    return (points * resolution + 36) / 72;
}

} // namespace

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
        f.font.setPixelSize(std::max(1, f.height));
        f.font.setWeight(slot.bold ? QFont::DemiBold : QFont::Light);
        f.font.setItalic(slot.italic);
        const bool swiss = i >= 1 && i <= 3;
        f.font.setStyleHint(swiss ? QFont::SansSerif : QFont::Serif);
    }
    return fonts;
}

} // namespace dvw
