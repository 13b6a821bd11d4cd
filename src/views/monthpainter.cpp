#include "monthpainter.h"

#include "contrast.h"
#include "listlayout.h"
#include "platform/displaytext.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QRect>

namespace dvw {

namespace {

const QColor white(Qt::white);
const QColor lightGrey(0xc0, 0xc0, 0xc0);
const QColor grey(0x80, 0x80, 0x80);
const QColor black(Qt::black);
const QColor lightRed(0xff, 0x00, 0x00);

QString latin(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString titleOf(const MonthShape &s)
{
    return QStringLiteral("%1, %2").arg(latin(MonthName(s.month))).arg(s.year);
}

// Sunday first; the names' table starts on Monday.
QString weekdayName(int column, int letters)
{
    return latin(DayName(column == 0 ? 7 : column).substr(0, static_cast<std::size_t>(letters)));
}

QRect qRect(const GridRect &r)
{
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

void paintTitleAndNames(QPainter &p, const GridGeometry &g, int top, int width, int letters,
                        const MonthLook &look)
{
    p.setPen(black);
    p.setFont(look.titleFont);
    p.drawText(QRect(0, top + 10, width, QFontMetrics(look.titleFont).height()),
               Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, titleOf(g.shape()));
    p.setFont(look.headingFont);
    const int nameHeight = QFontMetrics(look.headingFont).height();
    for (int c = 0; c < 7; ++c) {
        const QRect column(g.columnEdge(c), g.gridTop() - nameHeight,
                           g.columnEdge(c + 1) - g.columnEdge(c), nameHeight);
        p.drawText(column, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                   weekdayName(c, letters));
    }
}

void paintDayNumber(QPainter &p, const QRect &cell, int day, const QColor &colour)
{
    p.setPen(colour);
    p.drawText(cell.adjusted(0, 2, -2, 0), Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
               QStringLiteral("%1").arg(day, 2));
}

bool needed(const QRect &cell, const QRect &dirty)
{
    return !dirty.isValid() || cell.intersects(dirty);
}

void paintPane(QPainter &p, const GridGeometry &g, const MonthGrid &grid, int width, int height,
               const MonthLook &look)
{
    p.fillRect(QRect(0, 0, width, height), lightGrey);
    paintTitleAndNames(p, g, 0, width, 1, look);
    p.setPen(black);
    const int rows = g.shape().weekRows;
    for (int i = 0; i <= rows; ++i)
        p.drawLine(0, g.gridTop() + i * g.rowHeight(), width, g.gridTop() + i * g.rowHeight());
    for (int i = 1; i < 7; ++i)
        p.drawLine(g.columnEdge(i), g.gridTop(), g.columnEdge(i), g.gridBottom());
    p.setFont(look.dayFont);
    for (const GridDay &day : grid.days) {
        const QRect cell = qRect(g.cellRect(day.day));
        p.fillRect(cell, day.selected ? look.highlight : white);
        const QColor number = day.today ? lightRed : day.selected ? look.highlightedText : black;
        paintDayNumber(p, cell, day.day, number);
    }
}

void paintCellEntries(QPainter &p, const GridGeometry &g, const GridDay &day, const QRect &cell,
                      const MonthLook &look)
{
    const int shown = g.shownEntries(static_cast<int>(day.entries.size()));
    const int lineHeight = g.entryLineHeight();
    p.save();
    p.setClipRect(cell);
    p.setFont(look.entryFont);
    for (int i = 0; i < shown; ++i) {
        const GridEntry &e = day.entries[static_cast<std::size_t>(i)];
        const int top = g.entryTop(day.day, i);
        int x = cell.left() + 2;
        QColor colour = e.colour >= 1 && e.colour <= 15
            ? look.userColours[static_cast<std::size_t>(e.colour - 1)]
            : day.selected ? look.highlightedText
                           : black;
        if (day.selected)
            colour = LegibleOn(colour, look.highlight, look.highlightedText);
        if (e.done) {
            const auto check = CheckMark(top, lineHeight);
            p.setPen(QPen(day.selected ? white : black, CheckMarkPen(lineHeight), Qt::SolidLine,
                          Qt::RoundCap, Qt::RoundJoin));
            const QPoint points[3] = {{x + check[0].x, check[0].y},
                                      {x + check[1].x, check[1].y},
                                      {x + check[2].x, check[2].y}};
            p.drawPolyline(points, 3);
            x += CheckMarkWidth(lineHeight) + lineHeight / 2;
        }
        p.setPen(colour);
        p.drawText(QRect(x, top, cell.right() + 1 - x, lineHeight),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, DisplayText(e.text));
    }
    p.restore();
    if (shown < static_cast<int>(day.entries.size())) {
        const GridRect mark = g.overflowMark(day.day);
        const QPoint corner[3] = {{mark.right - 1, mark.top},
                                  {mark.left, mark.bottom - 1},
                                  {mark.right - 1, mark.bottom - 1}};
        p.setPen(black);
        p.setBrush(black);
        p.drawPolygon(corner, 3);
        p.setBrush(Qt::NoBrush);
    }
}

void paintCalendar(QPainter &p, const GridGeometry &g, const MonthGrid &grid, const QRect &rect,
                   const MonthLook &look, const QRect &dirty)
{
    p.fillRect(QRect(rect.left(), rect.top(), rect.width(), g.gridTop() - rect.top()), lightGrey);
    paintTitleAndNames(p, g, rect.top(), rect.width(), 3, look);
    const int left = g.columnEdge(0);
    const int right = g.columnEdge(7);
    for (int i = 0; i <= g.shape().weekRows; ++i) {
        const int y = g.gridTop() + i * g.rowHeight();
        p.setPen(lightGrey);
        p.drawLine(left, y - 1, right, y - 1);
        p.setPen(grey);
        p.drawLine(left, y + 1, right, y + 1);
    }
    for (int i = 0; i <= 7; ++i) {
        const int x = g.columnEdge(i);
        p.setPen(lightGrey);
        p.drawLine(x - 1, g.gridTop(), x - 1, g.gridBottom());
        p.setPen(grey);
        p.drawLine(x + 1, g.gridTop(), x + 1, g.gridBottom());
    }
    for (const GridDay &day : grid.days) {
        const QRect cell = qRect(g.cellRect(day.day));
        if (!needed(cell, dirty))
            continue;
        p.fillRect(cell, day.selected ? look.highlight : white);
        if (day.shaded)
            p.fillRect(cell, QBrush(day.selected ? white : lightGrey, Qt::BDiagPattern));
        p.setFont(look.dayFont);
        const QColor number = day.today ? lightRed : day.selected ? look.highlightedText : black;
        paintDayNumber(p, cell, day.day, number);
        paintCellEntries(p, g, day, cell, look);
    }
}

} // namespace

GridGeometry MonthGeometryFor(const QRect &rect, const MonthGrid &grid, const MonthLook &look)
{
    if (grid.rule == GridRule::Pane)
        return GridGeometry::pane(grid.shape, rect.width(), rect.height());
    const GridRect area {rect.left(), rect.top(), rect.left() + rect.width() - 1,
                         rect.top() + rect.height()};
    return GridGeometry::calendar(
        grid.shape, area, QFontMetrics(look.titleFont).height(),
        QFontMetrics(look.entryFont).boundingRect(QStringLiteral("Ay")).height());
}

void PaintMonth(QPainter &painter, const QRect &rect, const MonthGrid &grid, const MonthLook &look,
                const QRect &dirty)
{
    const GridGeometry g = MonthGeometryFor(rect, grid, look);
    if (rect.isEmpty() || !g.drawsCells())
        return;
    painter.save();
    painter.setClipRect(rect);
    if (grid.rule == GridRule::Pane) {
        painter.translate(rect.topLeft());
        paintPane(painter, g, grid, rect.width(), rect.height(), look);
    } else {
        paintCalendar(painter, g, grid, rect, look, dirty);
    }
    painter.restore();
}

} // namespace dvw
