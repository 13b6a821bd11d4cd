#include "icons.h"

#include "commands.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

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

// A drawn glyph for buttons the style has no fitting picture for.
QIcon glyphIcon(void (*draw)(QPainter &))
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(50, 50, 50), 1.5));
    draw(p);
    return QIcon(pixmap);
}

void drawHelp(QPainter &p)
{
    p.setBrush(QColor(60, 110, 200));
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(15);
    p.setFont(font);
    p.drawText(QRectF(2.5, 2.5, 19, 19), Qt::AlignCenter, QStringLiteral("?"));
}

void drawPrinter(QPainter &p)
{
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 3.5, 9, 7));
    p.setBrush(QColor(150, 150, 150));
    p.drawRoundedRect(QRectF(3.5, 9.5, 17, 8), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 14.5, 9, 6));
}

void drawFindNext(QPainter &p)
{
    p.drawEllipse(QRectF(3.5, 3.5, 10, 10));
    p.drawLine(QPointF(12, 12), QPointF(16, 16));
    p.setBrush(QColor(60, 150, 60));
    const QPointF arrow[] = {QPointF(15, 14), QPointF(22, 18.5), QPointF(15, 23)};
    p.drawPolygon(arrow, 3);
}

struct ThemeIcon
{
    int command;
    const char *themeName;
    QStyle::StandardPixmap fallback;
};

const ThemeIcon themeIcons[] = {
    {Cm::FileNew, "document-new", QStyle::SP_FileIcon},
    {Cm::FileOpen, "document-open", QStyle::SP_DialogOpenButton},
    {Cm::FileSave, "document-save", QStyle::SP_DialogSaveButton},
    {Cm::EditCut, "edit-delete", QStyle::SP_TrashIcon},
    {Cm::EditCopy, "edit-copy", QStyle::SP_FileDialogContentsView},
    {Cm::EditPaste, "edit-paste", QStyle::SP_FileDialogDetailedView},
    {Cm::Find, "edit-find", QStyle::SP_FileDialogContentsView},
    {Cm::PrintPreview, "document-print-preview", QStyle::SP_FileDialogInfoView},
};

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
    const auto themed = [](const char *name, void (*draw)(QPainter &)) {
        return QIcon::fromTheme(QString::fromLatin1(name), glyphIcon(draw));
    };
    if (command == Cm::HelpContents)
        return themed("help-contents", drawHelp);
    if (command == Cm::FilePrint)
        return themed("document-print", drawPrinter);
    if (command == Cm::FindNext)
        return themed("edit-find-next", drawFindNext);
    for (const ThemeIcon &t : themeIcons) {
        if (t.command == command) {
            return QIcon::fromTheme(QString::fromLatin1(t.themeName),
                                    QApplication::style()->standardIcon(t.fallback));
        }
    }
    return {};
}

} // namespace dvw
