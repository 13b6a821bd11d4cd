#pragma once

#include <array>

namespace dvw {

// The tick drawn in front of a done entry, in the list, the calendar's cells and the
// printouts alike.
struct MarkPoint
{
    int x = 0;
    int y = 0;
    bool operator==(const MarkPoint &) const = default;
};

// The check mark of a row at y, scaled to the row height h: it spans the middle three
// fifths of the row, CheckMarkWidth(h) wide from x = 3, drawn with a pen CheckMarkPen(h)
// wide.
std::array<MarkPoint, 3> CheckMark(int y, int h);
int CheckMarkWidth(int h);
int CheckMarkPen(int h);

} // namespace dvw
