#include "dvwmdichild.h"

#include "icons.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

#include <algorithm>

namespace dvw {

dvwMDIChild::dvwMDIChild(QWidget *content, std::function<bool()> mayClose, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_mayClose(std::move(mayClose))
{
    setWidget(content);
    setWindowIcon(ChildIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    // The platform's close keys belong to File > Close, which closes the whole document;
    // the window menu's Close keeps its place without them.
    if (QMenu *menu = systemMenu()) {
        const QList<QKeySequence> closeKeys = QKeySequence::keyBindings(QKeySequence::Close);
        for (QAction *item : menu->actions()) {
            const QList<QKeySequence> keys = item->shortcuts();
            if (std::any_of(keys.begin(), keys.end(),
                            [&closeKeys](const QKeySequence &k) { return closeKeys.contains(k); }))
                item->setShortcuts({});
        }
    }
}

void dvwMDIChild::setViewMenu(std::vector<MenuEntry> menu)
{
    m_viewMenu = std::move(menu);
    emit viewMenuChanged();
}

void dvwMDIChild::closeEvent(QCloseEvent *event)
{
    if (m_mayClose && !m_mayClose()) {
        event->ignore();
        return;
    }
    emit closing();
    QMdiSubWindow::closeEvent(event);
}

} // namespace dvw
