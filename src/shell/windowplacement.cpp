#include "windowplacement.h"

namespace dvw {

namespace {

bool isSet(int part)
{
    return part != WindowRect::kDefaultPosition;
}

} // namespace

QRect RequestedGeometry(const WindowRect &stored, const QRect &systemChoice)
{
    QRect r = systemChoice;
    if (isSet(stored.x) && isSet(stored.y))
        r.moveTopLeft(QPoint(stored.x, stored.y));
    // A stored size below one pixel would make the window vanish: the system's size then.
    if (isSet(stored.w) && isSet(stored.h) && stored.w > 0 && stored.h > 0)
        r.setSize(QSize(stored.w, stored.h));
    return r;
}

WindowRect StoredRect(const QRect &normalGeometry)
{
    WindowRect w;
    w.x = normalGeometry.x();
    w.y = normalGeometry.y();
    w.w = normalGeometry.width();
    w.h = normalGeometry.height();
    return w;
}

StartShow StartShowState(bool minimisedSwitch, bool fullScreen)
{
    if (minimisedSwitch)
        return StartShow::Minimised;
    return fullScreen ? StartShow::Maximised : StartShow::Normal;
}

} // namespace dvw
