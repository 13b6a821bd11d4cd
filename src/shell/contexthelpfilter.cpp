#include "contexthelpfilter.h"

#include "dvwapp.h"
#include "platform/helpbook.h"
#include "tdvdecoratedmdiframe.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QVariant>

namespace dvw {

namespace {

// The help topic of the focused widget or the nearest window around it; 0 for none.
int focusedHelpContext()
{
    for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const QVariant context = w->property(ContextHelpFilter::helpContextProperty);
        if (context.isValid())
            return context.toInt();
    }
    return 0;
}

} // namespace

ContextHelpFilter::ContextHelpFilter(TDVDecoratedMDIFrame &frame)
    : m_frame(frame)
{ }

bool ContextHelpFilter::eventFilter(QObject *watched, QEvent *event)
{
    // A release that happens while another program has the keyboard never arrives: F1
    // counts as let go once this program loses the keyboard.
    if (event->type() == QEvent::ApplicationDeactivate) {
        m_frame.app().setF1Held(false);
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F1 && !key->isAutoRepeat())
            m_frame.app().setF1Held(false);
        return QObject::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_F1 && key->isAutoRepeat())
        return true;
    const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);

    if (key->key() == Qt::Key_F1 && shift) {
        m_frame.enterContextHelp();
        return true;
    }
    if (key->key() == Qt::Key_F1) {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (menu && menu->activeAction()) {
            // Help on the highlighted item: choosing it in context-help mode shows its topic.
            m_frame.enterContextHelp();
            QAction *item = menu->activeAction();
            while (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
            item->trigger();
            return true;
        }
        m_frame.app().setF1Held(true);
        if (const int context = focusedHelpContext())
            m_frame.app().help().showTopic(context);
        else
            m_frame.showHelpContents();
        return true;
    }
    if (key->key() == Qt::Key_Escape && m_frame.inContextHelp()) {
        m_frame.endContextHelp();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace dvw
