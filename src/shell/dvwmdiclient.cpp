#include "dvwmdiclient.h"

#include "platform/clock.h"
#include "windowlayout.h"

#include <QMdiSubWindow>
#include <QStyle>

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

void dvwMDIClient::cascade()
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : subWindowList(QMdiArea::StackingOrder)) {
        if (!window->isMinimized())
            windows.append(window);
    }
    if (windows.isEmpty())
        return;
    const int step = windows.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr,
                                                           windows.front());
    const std::vector<QRect> rects
        = CascadeRects(viewport()->size(), static_cast<int>(windows.size()), step);
    // Bottom of the stack first, so the active window ends up front and last.
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QMdiSubWindow *window = windows[i];
        if (window->isMaximized())
            window->showNormal();
        window->setGeometry(rects[static_cast<std::size_t>(i)]);
        window->raise();
    }
}

} // namespace dvw
