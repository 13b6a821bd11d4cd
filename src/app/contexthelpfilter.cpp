#include "contexthelpfilter.h"

#include "tdvdecoratedmdiframe.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

namespace dvw {

ContextHelpFilter::ContextHelpFilter(TDVDecoratedMDIFrame &frame)
    : m_frame(frame)
{ }

bool ContextHelpFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
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
