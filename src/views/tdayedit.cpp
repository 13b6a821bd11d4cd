#include "tdayedit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace dvw {

TDayEdit::TDayEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("dayText"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void TDayEdit::keyPressEvent(QKeyEvent *event)
{
    // A typed character closes; moving keys (arrows, page keys) scroll the text.
    if (!event->text().isEmpty()) {
        event->accept();
        emit dismissed();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TDayEdit::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        event->accept();
        emit dismissed();
        return;
    }
    event->accept();
}

void TDayEdit::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
}

} // namespace dvw
