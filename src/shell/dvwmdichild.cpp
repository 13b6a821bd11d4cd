#include "dvwmdichild.h"

#include "icons.h"

#include <QCloseEvent>

namespace dvw {

dvwMDIChild::dvwMDIChild(QWidget *content, std::function<bool()> mayClose, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_mayClose(std::move(mayClose))
{
    setWidget(content);
    setWindowIcon(ChildIcon());
    setAttribute(Qt::WA_DeleteOnClose);
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
