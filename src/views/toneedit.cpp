#include "toneedit.h"

#include "oneapptrules.h"

#include <QKeyEvent>

namespace dvw {

TOneEdit::TOneEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("currentText"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Keyboard focus also by Tab from the list view.
    setFocusPolicy(Qt::StrongFocus);
}

bool TOneEdit::event(QEvent *event)
{
    // Tab would otherwise move the focus along the widget chain before the key handler
    // sees it.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab && handlePaneKey(key))
            return true;
    }
    return QPlainTextEdit::event(event);
}

void TOneEdit::keyPressEvent(QKeyEvent *event)
{
    if (!handlePaneKey(event))
        QPlainTextEdit::keyPressEvent(event);
}

bool TOneEdit::handlePaneKey(QKeyEvent *event)
{
    switch (OneAppt::PaneKeyFor(event->key(), event->modifiers())) {
    case OneAppt::PaneKey::Help:
        emit helpRequested(OneAppt::helpContext);
        break;
    case OneAppt::PaneKey::FocusList:
        emit focusListRequested();
        break;
    case OneAppt::PaneKey::ToggleCalendar:
        emit commandRequested(OneAppt::calendarCommand);
        break;
    case OneAppt::PaneKey::Own:
        return false;
    }
    event->accept();
    return true;
}

} // namespace dvw
