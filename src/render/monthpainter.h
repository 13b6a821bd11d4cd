#pragma once

#include "store/monthgrid.h"

#include <QColor>
#include <QFont>
#include <QRect>

#include <array>

class QPainter;

namespace dvw {

// The fonts and colours a month is drawn with.
struct MonthLook
{
    QFont titleFont; // the pane: HEADINGFONT; the calendar: LARGEFONT
    QFont headingFont; // weekday names
    QFont dayFont; // day numbers: CALENDARFONT
    QFont entryFont; // entries: SMALLFONT
    std::array<QColor, 15> userColours; // COLOR1..COLOR15
    QColor highlight;
    QColor highlightedText;
    // On paper: single grid lines in black inside a frame, plain white or black-hatched
    // cells, weekday names two units higher, no colours, cursor or today mark.
    bool printer = false;
};

// The grid's pixel layout in a rectangle of a window or an image. The calendar leaves its
// rectangle's last pixel column free; its rows leave room for a header of twice the title
// height.
GridGeometry MonthGeometryFor(const QRect &rect, const MonthGrid &grid, const MonthLook &look);

// Draws the month over the rectangle: the pane's day numbers, or the calendar's cells with
// their entries. Nothing at all is drawn when the rectangle has no room for a row. File
// text is drawn as plain text, one line per entry. With a dirty rectangle, only the cells
// that meet it are drawn (a move within the month repaints two cells).
void PaintMonth(QPainter &painter, const QRect &rect, const MonthGrid &grid, const MonthLook &look,
                const QRect &dirty = QRect());
// The same with the grid's layout computed already (a printed page's).
void PaintMonthGrid(QPainter &painter, const QRect &rect, const GridGeometry &geometry,
                    const MonthGrid &grid, const MonthLook &look, const QRect &dirty = QRect());

} // namespace dvw
