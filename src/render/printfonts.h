#pragma once

#include "settings/fontvalue.h"
#include "store/textmeasure.h"

#include <QFont>
#include <QFontMetricsF>

#include <array>
#include <unordered_map>

namespace dvw {

// The fonts of a printout, sized in page units (1/96 inch). List style writes headings in
// HEADINGFONT, entries in BODYFONT and the caption in SMALLFONT, each of its face, italic
// flag and family, weight 600 when bold and 300 when not; wallet style writes headings in
// an italic and the rest in an upright WALLETFONT face as many units high as its size.
struct PrintFonts
{
    std::array<QFont, printFontCount> list; // by PrintFont
    int baseHeight = 16; // the line height is 5/4 of it

    // The calendar printout: title, weekday names, day numbers, entries and footer.
    QFont monthTitle;
    QFont monthNames;
    QFont monthDays;
    QFont monthEntries;
    QFont footer; // "Arial" 10 units
    QFont smallTitle; // "Arial" 10 units, the small months' titles
    QFont smallDays; // "Arial" 8 units
};

// A slot's size in page units: its points at 96 units per inch, rounded.
int PrintUnitsOf(const FontSlot &slot);
// The slot's height in page units, as the font-free layout takes it.
std::array<int, printFontCount> FontFreeHeights(const std::array<FontSlot, 6> &fontSlots,
                                                bool wallet);
int FontFreeBaseHeight(const std::array<FontSlot, 6> &fontSlots, bool wallet);

PrintFonts MakePrintFonts(const std::array<FontSlot, 6> &fontSlots, bool wallet);

// Measures with the fonts' own metrics (hinting off, so they scale to any printer).
class FontMeasure : public TextMeasure
{
public:
    explicit FontMeasure(const std::array<QFont, printFontCount> &fonts);
    double advance(PrintFont font, char32_t c) const override;
    int height(PrintFont font) const override;

private:
    std::array<QFontMetricsF, printFontCount> m_metrics;
    mutable std::array<std::unordered_map<char32_t, double>, printFontCount> m_advances;
};

} // namespace dvw
