#include "windowfit.h"

#include <QFont>
#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

namespace dvw {

namespace {

// The icon and the three buttons of a title bar, in lines of its font.
constexpr int titleBarExtraLines = 6;

} // namespace

int TitleBarWidth(const QString &title, const QFont &font)
{
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    return metrics.horizontalAdvance(title) + titleBarExtraLines * metrics.height();
}

void KeepTitleWhole(QWidget &window)
{
    window.setMinimumWidth(
        std::max(window.minimumWidth(), TitleBarWidth(window.windowTitle(), window.font())));
}

QRect KeepInside(const QRect &window, const QRect &available)
{
    if (available.isEmpty())
        return window;
    QRect r(window.topLeft(), window.size().boundedTo(available.size()));
    r.moveLeft(std::clamp(r.left(), available.left(), available.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), available.top(), available.bottom() + 1 - r.height()));
    return r;
}

} // namespace dvw
