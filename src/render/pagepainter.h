#pragma once

#include "printfonts.h"
#include "store/listprintout.h"
#include "store/monthprintout.h"

class QPainter;

namespace dvw {

// Draws a laid-out page with the painter in page units (1/96 inch from the paper's
// corner). Nothing is decided here: every position comes from the layout.
void PaintListPage(QPainter &painter, const ListGeometry &geometry, const PrintCaption &caption,
                   const ListPage &page, const PrintFonts &fonts);
void PaintMonthPage(QPainter &painter, const MonthPage &page, const PrintFonts &fonts);

} // namespace dvw
