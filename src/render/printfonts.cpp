#include "printfonts.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace dvw {

namespace {

constexpr std::size_t bodySlot = 0;
constexpr std::size_t headingSlot = 1;
constexpr std::size_t largeSlot = 2;
constexpr std::size_t calendarSlot = 3;
constexpr std::size_t smallSlot = 4;
constexpr std::size_t walletSlot = 5;

QFont pixelFont(const QString &face, int pixels, int weight, bool italic, QFont::StyleHint hint)
{
    QFont f(face);
    f.setStyleHint(hint);
    f.setPixelSize(std::max(1, pixels));
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QFont slotFont(const FontSlot &slot, std::size_t index)
{
    const bool swiss = index >= 1 && index <= 3;
    return pixelFont(QString::fromStdString(slot.face), PrintUnitsOf(slot), slot.bold ? 600 : 300,
                     slot.italic, swiss ? QFont::SansSerif : QFont::Serif);
}

int walletSize(const std::array<FontSlot, 6> &fontSlots)
{
    return std::clamp(fontSlots[walletSlot].size, kFontSizeMin, kFontSizeMax);
}

} // namespace

int PrintUnitsOf(const FontSlot &slot)
{
    const int points = std::clamp(slot.size, kFontSizeMin, kFontSizeMax);
    return (points * 96 + 36) / 72;
}

std::array<int, printFontCount> FontFreeHeights(const std::array<FontSlot, 6> &fontSlots,
                                                bool wallet)
{
    if (wallet) {
        const int h = walletSize(fontSlots);
        return {h, h, h};
    }
    return {PrintUnitsOf(fontSlots[headingSlot]), PrintUnitsOf(fontSlots[bodySlot]),
            PrintUnitsOf(fontSlots[smallSlot])};
}

int FontFreeBaseHeight(const std::array<FontSlot, 6> &fontSlots, bool wallet)
{
    return wallet ? walletSize(fontSlots) : PrintUnitsOf(fontSlots[bodySlot]);
}

PrintFonts MakePrintFonts(const std::array<FontSlot, 6> &fontSlots, bool wallet)
{
    PrintFonts f;
    if (wallet) {
        const QString face = QString::fromStdString(fontSlots[walletSlot].face);
        const int size = walletSize(fontSlots);
        f.list[static_cast<std::size_t>(PrintFont::Heading)]
            = pixelFont(face, size, 400, true, QFont::Serif);
        f.list[static_cast<std::size_t>(PrintFont::Entry)]
            = pixelFont(face, size, 300, false, QFont::Serif);
        f.list[static_cast<std::size_t>(PrintFont::Caption)]
            = f.list[static_cast<std::size_t>(PrintFont::Entry)];
    } else {
        f.list[static_cast<std::size_t>(PrintFont::Heading)]
            = slotFont(fontSlots[headingSlot], headingSlot);
        f.list[static_cast<std::size_t>(PrintFont::Entry)]
            = slotFont(fontSlots[bodySlot], bodySlot);
        f.list[static_cast<std::size_t>(PrintFont::Caption)]
            = slotFont(fontSlots[smallSlot], smallSlot);
    }
    f.baseHeight = FontFreeBaseHeight(fontSlots, wallet);
    const int large = PrintUnitsOf(fontSlots[largeSlot]);
    f.monthTitle = pixelFont(QStringLiteral("Arial"), large * 3 / 2, 600, false, QFont::SansSerif);
    f.monthNames = slotFont(fontSlots[headingSlot], headingSlot);
    f.monthDays = slotFont(fontSlots[calendarSlot], calendarSlot);
    f.monthEntries = slotFont(fontSlots[smallSlot], smallSlot);
    f.footer = pixelFont(QStringLiteral("Arial"), 10, 300, false, QFont::SansSerif);
    f.smallTitle = f.footer;
    f.smallDays = pixelFont(QStringLiteral("Arial"), 8, 300, false, QFont::SansSerif);
    return f;
}

FontMeasure::FontMeasure(const std::array<QFont, printFontCount> &fonts)
    : m_metrics {QFontMetricsF(fonts[0]), QFontMetricsF(fonts[1]), QFontMetricsF(fonts[2])}
{ }

double FontMeasure::advance(PrintFont font, char32_t c) const
{
    const auto i = static_cast<std::size_t>(font);
    auto &cache = m_advances[i];
    const auto found = cache.find(c);
    if (found != cache.end())
        return found->second;
    const double w = m_metrics[i].horizontalAdvance(QString::fromUcs4(&c, 1));
    cache.emplace(c, w);
    return w;
}

int FontMeasure::height(PrintFont font) const
{
    return static_cast<int>(std::ceil(m_metrics[static_cast<std::size_t>(font)].height()));
}

} // namespace dvw
