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

std::vector<QRect> CascadeRects(QSize client, int count, int step)
{
    std::vector<QRect> rects;
    if (count <= 0)
        return rects;
    step = std::max(1, step);
    const int spread = (count - 1) * step;
    const int w = std::max(client.width() - spread, client.width() / 2);
    const int h = std::max(client.height() - spread, client.height() / 2);
    // How many steps fit before a window would cross the client's right or bottom edge.
    const int room = std::max(0, std::min(client.width() - w, client.height() - h));
    const int places = room / step + 1; // [1, count]
    rects.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int offset = (i % places) * step;
        rects.emplace_back(offset, offset, std::max(0, w), std::max(0, h));
    }
    return rects;
}

} // namespace dvw
