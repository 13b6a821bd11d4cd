#pragma once

#include <algorithm>

namespace dvw {

// Where a list of fixed-height rows stands: its cursor row and its scroller. Plain data,
// shared by the list view and the file view; the widgets only mirror it.
struct ScrollRows
{
    static constexpr int xUnit = 40; // pixels per horizontal scroll step
    static constexpr int xRange = 10; // horizontal scroll steps

    int lastLine = 0; // the last row (count - 1, 0 when empty); also the vertical range
    int cursor = 1; // the selected row
    int prevCursor = 1; // the row last painted as selected
    int topRow = 0;
    int pageRows = 1; // rows that fit whole in the window, at least 1
    int xPos = 0; // horizontal scroll steps, 0..xRange

    void scrollTo(int top) { topRow = std::clamp(top, 0, std::max(0, lastLine)); }
    // The last row that is wholly visible.
    int lastVisibleRow() const { return topRow + pageRows - 1; }
    void setPage(int clientHeight, int rowHeight)
    {
        pageRows = std::max(1, clientHeight / std::max(1, rowHeight));
    }
};

} // namespace dvw
