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
    {Cm::FindNext, "go-next", QStyle::SP_ArrowForward},
    {Cm::FilePrint, "document-print", QStyle::SP_DriveFDIcon},
    {Cm::PrintPreview, "document-print-preview", QStyle::SP_FileDialogInfoView},
    {Cm::HelpContents, "help-contents", QStyle::SP_DialogHelpButton},
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
    for (const ThemeIcon &t : themeIcons) {
        if (t.command == command) {
            return QIcon::fromTheme(QString::fromLatin1(t.themeName),
                                    QApplication::style()->standardIcon(t.fallback));
        }
    }
    return {};
}

} // namespace dvw
