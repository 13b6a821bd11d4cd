#include "icons.h"

#include "commands.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>
#include <cmath>

namespace dvw {

namespace {

QPixmap calendarPage(const QColor &header, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF page(1.5, 2.5, size - 3.0, size - 4.0);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(page, 2, 2);
    p.setBrush(header);
    p.drawRect(QRectF(page.left(), page.top(), page.width(), page.height() / 3.5));
    p.setPen(QPen(QColor(120, 120, 120), 1));
    const double cell = page.width() / 4.0;
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col) {
            const double x = page.left() + cell * (col + 0.6);
            const double y = page.top() + page.height() * (0.45 + 0.25 * row);
            p.drawLine(QPointF(x, y), QPointF(x + cell * 0.6, y));
        }
    }
    return pixmap;
}

QIcon pageIcon(const QColor &header)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(calendarPage(header, size));
    return icon;
}

// Button pictures are drawn on a 24 by 24 grid and scaled, so each size is crisp.
constexpr int kGlyphSizes[] = {16, 22, 24, 32, 48};
const QColor kInk(50, 50, 50);
const QColor kPaper(255, 255, 255);
const QColor kBlue(60, 110, 200);
const QColor kGreen(60, 150, 60);
const QColor kRed(200, 50, 40);
const QColor kYellow(235, 190, 70);

using Draw = void (*)(QPainter &);

QIcon glyphIcon(Draw draw)
{
    QIcon icon;
    for (int size : kGlyphSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// A sheet with a folded top-right corner.
void drawSheet(QPainter &p, const QRectF &r)
{
    const double fold = r.width() / 3;
    const QPointF outline[] = {r.topLeft(), QPointF(r.right() - fold, r.top()),
                               QPointF(r.right(), r.top() + fold), r.bottomRight(), r.bottomLeft()};
    p.setBrush(kPaper);
    p.drawPolygon(outline, 5);
    p.drawPolyline(std::array<QPointF, 3> {QPointF(r.right() - fold, r.top()),
                                           QPointF(r.right() - fold, r.top() + fold),
                                           QPointF(r.right(), r.top() + fold)}
                       .data(),
                   3);
}

void drawTextLines(QPainter &p, double left, double right, double top, int count)
{
    p.save();
    p.setPen(QPen(QColor(130, 130, 130), 1));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + 3 * i), QPointF(right, top + 3 * i));
    p.restore();
}

void drawLens(QPainter &p, const QPointF &centre, double radius)
{
    p.save();
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
    const QPointF handle = centre + QPointF(radius * 0.7, radius * 0.7);
    p.drawLine(handle, handle + QPointF(radius * 0.8, radius * 0.8));
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void drawNew(QPainter &p)
{
    drawSheet(p, QRectF(4.5, 2.5, 14, 19));
    // A spark: something new.
    p.save();
    p.setPen(QPen(kYellow.darker(130), 2, Qt::SolidLine, Qt::RoundCap));
    const QPointF c(18, 18);
    for (int i = 0; i < 4; ++i) {
        const double a = i * 3.14159265 / 4;
        const QPointF d(4 * std::cos(a), 4 * std::sin(a));
        p.drawLine(c - d, c + d);
    }
    p.restore();
}

void drawOpen(QPainter &p)
{
    p.setBrush(kYellow.darker(115));
    const QPointF back[] = {QPointF(2.5, 5.5),  QPointF(9, 5.5),     QPointF(11, 7.5),
                            QPointF(19.5, 7.5), QPointF(19.5, 19.5), QPointF(2.5, 19.5)};
    p.drawPolygon(back, 6);
    p.setBrush(kYellow);
    const QPointF front[]
        = {QPointF(5.5, 11.5), QPointF(22.5, 11.5), QPointF(19.5, 19.5), QPointF(2.5, 19.5)};
    p.drawPolygon(front, 4);
}

void drawSave(QPainter &p)
{
    p.setBrush(kBlue);
    const QPointF disk[] = {QPointF(3.5, 3.5), QPointF(18, 3.5), QPointF(20.5, 6),
                            QPointF(20.5, 20.5), QPointF(3.5, 20.5)};
    p.drawPolygon(disk, 5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7.5, 3.5, 9, 6));
    p.drawRect(QRectF(6.5, 13.5, 11, 7));
    p.setBrush(kInk);
    p.drawRect(QRectF(13, 4.5, 2, 4));
}

void drawDelete(QPainter &p)
{
    // A waste bin.
    p.setBrush(QColor(170, 170, 170));
    const QPointF bin[]
        = {QPointF(5.5, 7.5), QPointF(18.5, 7.5), QPointF(17, 21.5), QPointF(7, 21.5)};
    p.drawPolygon(bin, 4);
    p.drawLine(QPointF(3.5, 5.5), QPointF(20.5, 5.5));
    p.drawRect(QRectF(9.5, 2.5, 5, 3));
    p.save();
    p.setPen(QPen(kInk, 1.2));
    for (double x : {9.5, 12.0, 14.5})
        p.drawLine(QPointF(x, 10), QPointF(x, 19));
    p.restore();
}

void drawCopy(QPainter &p)
{
    drawSheet(p, QRectF(2.5, 2.5, 11, 14));
    drawSheet(p, QRectF(9.5, 7.5, 11, 14));
    drawTextLines(p, 11.5, 18, 14, 3);
}

void drawPaste(QPainter &p)
{
    p.setBrush(QColor(180, 130, 70));
    p.drawRoundedRect(QRectF(3.5, 4.5, 14, 17), 1.5, 1.5);
    p.setBrush(QColor(160, 160, 160));
    p.drawRoundedRect(QRectF(7, 2.5, 7, 4), 1, 1);
    drawSheet(p, QRectF(11.5, 9.5, 10, 12));
    drawTextLines(p, 13.5, 19, 15, 2);
}

void drawFind(QPainter &p)
{
    drawLens(p, QPointF(10, 10), 6.5);
}

void drawFindNext(QPainter &p)
{
    drawLens(p, QPointF(8.5, 8.5), 5.5);
    p.setBrush(kGreen);
    const QPointF arrow[] = {QPointF(15, 14), QPointF(22.5, 18.5), QPointF(15, 23)};
    p.drawPolygon(arrow, 3);
}

void drawPrinter(QPainter &p)
{
    p.setBrush(kPaper);
    p.drawRect(QRectF(7.5, 3.5, 9, 7));
    p.setBrush(QColor(150, 150, 150));
    p.drawRoundedRect(QRectF(3.5, 9.5, 17, 8), 1.5, 1.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7.5, 14.5, 9, 6));
}

void drawPrintPreview(QPainter &p)
{
    drawSheet(p, QRectF(3.5, 2.5, 13, 18));
    drawTextLines(p, 5.5, 12, 8, 3);
    drawLens(p, QPointF(14, 14), 4.5);
}

void drawHelp(QPainter &p)
{
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(8.5, 9);
    hook.cubicTo(8.5, 5, 15.5, 5, 15.5, 9);
    hook.cubicTo(15.5, 12, 12, 11.5, 12, 14.5);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 18), 1.5, 1.5);
}

struct ButtonIcon
{
    int command;
    const char *themeName; // the freedesktop icon name, used when the desktop has one
    Draw draw;
};

const ButtonIcon buttonIcons[] = {
    {Cm::FileNew, "document-new", drawNew},
    {Cm::FileOpen, "document-open", drawOpen},
    {Cm::FileSave, "document-save", drawSave},
    {Cm::EditCut, "edit-delete", drawDelete},
    {Cm::EditCopy, "edit-copy", drawCopy},
    {Cm::EditPaste, "edit-paste", drawPaste},
    {Cm::Find, "edit-find", drawFind},
    {Cm::FindNext, "edit-find-next", drawFindNext},
    {Cm::FilePrint, "document-print", drawPrinter},
    {Cm::PrintPreview, "document-print-preview", drawPrintPreview},
    {Cm::HelpContents, "help-contents", drawHelp},
};

const ButtonIcon *buttonIcon(int command)
{
    for (const ButtonIcon &b : buttonIcons) {
        if (b.command == command)
            return &b;
    }
    return nullptr;
}

} // namespace

QIcon AppIcon()
{
    return pageIcon(QColor(200, 40, 40));
}

QIcon ChildIcon()
{
    return pageIcon(QColor(40, 90, 200));
}

QIcon CommandIcon(int command)
{
    const ButtonIcon *b = buttonIcon(command);
    if (!b)
        return {};
    return QIcon::fromTheme(QString::fromLatin1(b->themeName), glyphIcon(b->draw));
}

QIcon DrawnCommandIcon(int command)
{
    const ButtonIcon *b = buttonIcon(command);
    return b ? glyphIcon(b->draw) : QIcon();
}

} // namespace dvw
