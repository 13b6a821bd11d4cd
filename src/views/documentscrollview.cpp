#include "documentscrollview.h"

#include "shell/documentsignals.h"

#include <QAction>
#include <QEvent>
#include <QMenu>

namespace dvw {

DocumentScrollView::DocumentScrollView(DocumentSignals &events, ViewHost host, QWidget *parent)
    : TScrollView(parent)
    , m_events(&events)
    , m_host(std::move(host))
{ }

TApptDocument *DocumentScrollView::document() const
{
    return m_events ? m_events->document() : nullptr;
}

void DocumentScrollView::runCommand(int command)
{
    if (m_host.runCommand)
        m_host.runCommand(command);
}

void DocumentScrollView::showHelp(int topic)
{
    if (m_host.showHelp)
        m_host.showHelp(topic);
}

QMenu *DocumentScrollView::newPopup(const QString &name)
{
    auto *menu = new QMenu(this);
    menu->setObjectName(name);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    return menu;
}

void DocumentScrollView::addPopupItem(QMenu &menu, const QString &text, int command)
{
    QAction *item = menu.addAction(text);
    item->setObjectName(QStringLiteral("popup%1").arg(command));
    item->setEnabled(!m_host.commandEnabled || m_host.commandEnabled(command));
    connect(item, &QAction::triggered, this, [this, command] { runCommand(command); });
}

bool DocumentScrollView::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Paint:
        if (!document())
            return true;
        break;
    default:
        break;
    }
    return TScrollView::viewportEvent(event);
}

} // namespace dvw
