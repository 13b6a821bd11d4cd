#pragma once

#include <QRect>
#include <QSize>

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

} // namespace dvw
