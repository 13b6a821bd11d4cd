#include "pagepainter.h"

#include "monthpainter.h"
#include "painttext.h"
#include "store/checkmark.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <array>

namespace dvw {

namespace {

constexpr int lineIndentStep = 10; // later lines of an item start this much further in

QFont fontOf(const PrintFonts &fonts, PrintItemKind kind)
{
    const bool entry = kind == PrintItemKind::Entry || kind == PrintItemKind::Note;
    return fonts.list[static_cast<std::size_t>(entry ? PrintFont::Entry : PrintFont::Heading)];
}

QRect columnRect(const ListGeometry &g, int column)
{
    const int left = g.page.left + column * g.columnWidth;
    return QRect(left, g.page.top, g.textWidth, g.page.height());
}

void paintCheck(QPainter &p, int left, int y, int n)
{
    const std::array<MarkPoint, 3> mark = CheckMark(y, n);
    const QPoint points[3] = {{left + 1 - 3 + mark[0].x, mark[0].y},
                              {left + 1 - 3 + mark[1].x, mark[1].y},
                              {left + 1 - 3 + mark[2].x, mark[2].y}};
    p.setPen(QPen(Qt::black, CheckMarkPen(n), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(points, 3);
}

void paintItem(QPainter &p, const ListGeometry &g, const PlacedItem &item, const PrintFonts &fonts)
{
    const int n = g.lineHeight;
    const QRect column = columnRect(g, item.column);
    p.save();
    p.setClipRect(column);
    if (item.done)
        paintCheck(p, column.left(), item.y, n);
    p.setPen(Qt::black);
    p.setFont(fontOf(fonts, item.kind));
    int y = item.y;
    int x = item.x;
    for (const std::u32string &line : item.lines) {
        p.drawText(QRect(x, y, column.right() + 1 - x, n),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, PaintText(line));
        y += n;
        x = item.x + lineIndentStep;
    }
    p.restore();
}

void paintCaption(QPainter &p, const PrintCaption &caption, const PrintFonts &fonts)
{
    const PrintRect &b = caption.box;
    const QRect box(b.left, b.top, b.width(), b.height());
    p.fillRect(box, Qt::white);
    p.setPen(Qt::black);
    p.setFont(fonts.list[static_cast<std::size_t>(PrintFont::Caption)]);
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, PaintText(caption.text));
}

MonthLook printedLook(const PrintFonts &fonts)
{
    MonthLook look;
    look.titleFont = fonts.monthTitle;
    look.headingFont = fonts.monthNames;
    look.dayFont = fonts.monthDays;
    look.entryFont = fonts.monthEntries;
    look.userColours.fill(Qt::black);
    look.highlight = Qt::white;
    look.highlightedText = Qt::black;
    look.printer = true;
    return look;
}

// A small month in a cell: title, weekday initials and day numbers over a grid.
void paintSmallMonth(QPainter &p, const SmallMonth &m, const PrintFonts &fonts)
{
    const MonthShape &s = m.shape;
    const double left = m.rect.left;
    const double top = m.rect.top;
    const double e = (m.rect.bottom - top) / (s.weekRows + 2.5);
    const double w = (m.rect.right - left) / 7.0;
    const double gridTop = top + 2.5 * e;
    p.setPen(QPen(Qt::black, 0));
    for (int j = 0; j <= s.weekRows; ++j) {
        const int y = static_cast<int>(gridTop + j * e);
        p.drawLine(m.rect.left, y, m.rect.right, y);
    }
    for (int k = 0; k <= 7; ++k) {
        const int x = static_cast<int>(left + k * w);
        p.drawLine(x, static_cast<int>(gridTop), x, m.rect.bottom);
    }
    p.setFont(fonts.smallTitle);
    const QString title
        = QStringLiteral("%1, %2").arg(PaintText(MonthName(s.month)), QString::number(s.year));
    p.drawText(QRect(m.rect.left, m.rect.top + 10, m.rect.right - m.rect.left,
                     QFontMetrics(fonts.smallTitle).height()),
               Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, title);
    p.setFont(fonts.smallDays);
    const int dayHeight = QFontMetrics(fonts.smallDays).height();
    for (int k = 0; k < 7; ++k) {
        const QString initial = PaintText(DayName(k == 0 ? 7 : k).substr(0, 1));
        const int centre = static_cast<int>(left + (k + 0.5) * w);
        p.drawText(QRect(centre - 20, static_cast<int>(gridTop) - 10, 40, dayHeight),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, initial);
    }
    for (int d = 1; d <= s.daysInMonth; ++d) {
        const int i = d + s.firstWeekday - 1;
        const int x = static_cast<int>(left + (i % 7) * w + 3);
        const int y = static_cast<int>(gridTop + (i / 7) * e + 3);
        p.drawText(QRect(x, y, static_cast<int>(w), dayHeight),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                   QStringLiteral("%1").arg(d, 2));
    }
}

void paintFooter(QPainter &p, const MonthPage &page, const PrintFonts &fonts)
{
    p.setPen(Qt::black);
    p.setFont(fonts.footer);
    const QString text = PaintText(page.footer);
    const QFontMetrics metrics(fonts.footer);
    const int width = metrics.horizontalAdvance(text);
    p.drawText(QRect(page.footerRight - width, page.footerTop, width + 1, metrics.height()),
               Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, text);
}

} // namespace

void PaintListPage(QPainter &painter, const ListGeometry &geometry, const PrintCaption &caption,
                   const ListPage &page, const PrintFonts &fonts)
{
    painter.save();
    const PrintRect &r = geometry.page;
    if (geometry.border) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(r.left, r.top, r.width(), r.height()));
    }
    paintCaption(painter, caption, fonts);
    for (const PlacedItem &item : page.items)
        paintItem(painter, geometry, item, fonts);
    painter.restore();
}

void PaintMonthPage(QPainter &painter, const MonthPage &page, const PrintFonts &fonts)
{
    painter.save();
    const GridRect &r = page.rect;
    const QRect rect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    PaintMonthGrid(painter, rect, page.geometry, page.grid, printedLook(fonts));
    for (const SmallMonth &m : page.smallMonths)
        paintSmallMonth(painter, m, fonts);
    paintFooter(painter, page, fonts);
    painter.restore();
}

} // namespace dvw
