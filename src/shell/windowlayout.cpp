#include "windowlayout.h"

#include <algorithm>

namespace dvw {

QRect NewViewRect(QSize client, int monthWidth)
{
    return QRect(0, 0, std::max(0, client.width() - monthWidth), client.height());
}

FixedLayout FixedLayoutFor(QSize client, int monthWidth, int monthHeight)
{
    const int w = client.width();
    const int h = client.height();
    const int listWidth = std::max(0, w - monthWidth);
    FixedLayout layout;
    layout.list = QRect(0, 0, listWidth, h);
    layout.month = QRect(listWidth, 0, monthWidth, monthHeight);
    layout.current = QRect(listWidth, monthHeight, monthWidth, std::max(0, h - monthHeight));
    return layout;
}

} // namespace dvw
