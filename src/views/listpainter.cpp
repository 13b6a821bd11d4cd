#include "listpainter.h"

#include "contrast.h"
#include "platform/displaytext.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QRect>

#include <algorithm>

namespace dvw {

namespace {

// The selected row's band reaches as far right as any text can go.
constexpr int bandWidth = 20000;

QColor textColour(const PaintedRow &row, const ListLook &look)
{
    if (row.colour >= 1 && row.colour <= 15) {
        const QColor own = look.userColours[static_cast<std::size_t>(row.colour - 1)];
        // On the highlight an entry keeps its colour only where it stays legible.
        return row.selected ? LegibleOn(own, look.highlight, look.highlightedText) : own;
    }
    return row.selected ? look.highlightedText : look.windowText;
}

// The lines of a continued entry stay on their row, marked where one ends.
QString oneRowText(const std::string &bytes)
{
    QString text = DisplayText(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" \u00b6 "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

void paintRow(QPainter &painter, const PaintedRow &row, int rowHeight, const ListLook &look)
{
    if (row.selected)
        painter.fillRect(QRect(0, row.y, bandWidth, rowHeight - 1), look.highlight);
    const QColor colour = textColour(row, look);
    if (!row.text.empty()) {
        painter.setFont(row.heading ? look.headingFont : look.bodyFont);
        painter.setPen(colour);
        painter.drawText(QRect(row.x, row.y, bandWidth, rowHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                         oneRowText(row.text));
    }
    if (row.done) {
        painter.setPen(
            QPen(colour, CheckMarkPen(rowHeight), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPoint points[3] = {{row.check[0].x, row.check[0].y},
                                  {row.check[1].x, row.check[1].y},
                                  {row.check[2].x, row.check[2].y}};
        painter.drawPolyline(points, 3);
    }
}

} // namespace

int ListRowHeight(const ListLook &look, int cellHeight)
{
    return std::max({1, cellHeight, QFontMetrics(look.headingFont).lineSpacing(),
                     QFontMetrics(look.bodyFont).lineSpacing()});
}

std::array<QColor, 15> UserColours(const std::array<std::uint32_t, 15> &stored)
{
    std::array<QColor, 15> colours;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const std::uint32_t c = stored[i];
        colours[i] = QColor(static_cast<int>(c & 0xff), static_cast<int>((c >> 8) & 0xff),
                            static_cast<int>((c >> 16) & 0xff));
    }
    return colours;
}

void PaintList(QPainter &painter, const QRect &area, const ListLayout &layout, const ListLook &look)
{
    painter.save();
    painter.setClipRect(area);
    painter.translate(-layout.xOffset, 0);
    for (const PaintedRow &row : layout.rows)
        paintRow(painter, row, layout.rowHeight, look);
    painter.restore();
}

} // namespace dvw
