#include "dvwmdiclient.h"

#include "platform/clock.h"

#include <QMdiSubWindow>

namespace dvw {

dvwMDIClient::dvwMDIClient(const Clock &clock, QWidget *parent)
    : QMdiArea(parent)
    , m_clock(clock)
{
    setObjectName(QStringLiteral("client"));
    m_timer.setObjectName(QStringLiteral("clockTimer"));
    m_timer.setInterval(tickMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &dvwMDIClient::tick);
    m_timer.start();
}

void dvwMDIClient::tick()
{
    emit ticked(m_clock.now());
}

void dvwMDIClient::resizeEvent(QResizeEvent *event)
{
    QMdiArea::resizeEvent(event);
    emit resized();
}

void dvwMDIClient::arrangeIcons()
{
    int left = 0;
    for (QMdiSubWindow *window : subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        window->move(left, viewport()->height() - size.height());
        left += size.width();
    }
}

} // namespace dvw
