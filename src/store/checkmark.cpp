#include "checkmark.h"

#include <algorithm>

namespace dvw {

namespace {

// The check mark's left edge.
constexpr int checkX = 3;

} // namespace

int CheckMarkWidth(int h)
{
    return std::max(4, h * 9 / 16);
}

int CheckMarkPen(int h)
{
    return std::max(2, (h + 4) / 8);
}

std::array<MarkPoint, 3> CheckMark(int y, int h)
{
    // A tick as tall as the middle three fifths of the row: down from the left a third of
    // the way across, then up to the top right.
    const int w = CheckMarkWidth(h);
    const int top = y + h / 5;
    const int bottom = y + h - h / 5 - 1;
    const int middle = top + (bottom - top) * 3 / 5;
    return {{{checkX, middle}, {checkX + w / 3, bottom}, {checkX + w, top}}};
}

} // namespace dvw
