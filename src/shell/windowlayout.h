#pragma once

#include <QRect>
#include <QSize>

#include <vector>

namespace dvw {

// Where a new document window goes: the client's top left, as high as the client and as
// wide as it less the month pane's width.
QRect NewViewRect(QSize client, int monthWidth);

// The fixed places of one document's list, month pane and current-appointment pane: the
// list on the left, the month pane at the top right, the current appointment below it.
struct FixedLayout
{
    QRect list;
    QRect month;
    QRect current;
};
// A month pane wider or taller than the client leaves the list, or the pane below it,
// with no room (width or height 0) rather than a negative size.
FixedLayout FixedLayoutFor(QSize client, int monthWidth, int monthHeight);

// Where Cascade puts `count` windows, first to last: each one `step` pixels (a title bar)
// right of and below the one before, all of one size that leaves room for the steps but
// never less than half the client in either direction, so no window shrinks to its
// title bar. When the steps would run out of the client they start again at the top left.
std::vector<QRect> CascadeRects(QSize client, int count, int step);

} // namespace dvw
