#pragma once

#include "listlayout.h"

#include <QColor>
#include <QFont>

#include <array>

class QPainter;
class QRect;

namespace dvw {

// The fonts and colours the list is drawn with.
struct ListLook
{
    QFont headingFont;
    QFont bodyFont;
    std::array<QColor, 15> userColours; // COLOR1..COLOR15
    QColor windowText;
    QColor highlight;
    QColor highlightedText;
};

// The list's row height: the stored cell height (HEADINGFONT's), raised to the line height
// of either font, so no row is shorter than its text.
int ListRowHeight(const ListLook &look, int cellHeight);

// COLOR1..COLOR15 as stored (0x00BBGGRR).
std::array<QColor, 15> UserColours(const std::array<std::uint32_t, 15> &stored);

// Draws the laid-out rows that meet the area. The same routine serves the window, images
// and the printer. Text is decoded for display and always drawn as plain text.
void PaintList(QPainter &painter, const QRect &area, const ListLayout &layout,
               const ListLook &look);

} // namespace dvw
