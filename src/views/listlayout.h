#pragma once

#include "scrollrows.h"
#include "store/checkmark.h"

#include <array>
#include <string>
#include <vector>

namespace dvw {

class TApptDocument;

// One row of the appointment list as it is to be drawn, in window pixels.
struct PaintedRow
{
    using Point = MarkPoint;

    int row = 0; // display-index position
    int y = 0; // top of the row
    int x = 0; // where the text starts: 5 for headings, EntryTextX for entries
    bool heading = false; // drawn in the heading font, else the body font
    bool selected = false; // the cursor row: drawn on the highlight band
    int colour = 0; // user colour 1..15, or 0 for the system's text colours
    bool done = false; // a check mark goes in front
    std::array<Point, 3> check {}; // the check mark's polyline, when done
    std::string text; // the bytes of the file; empty for a blank row
};

// The rows that meet an area of the window, computed before anything is drawn.
struct ListLayout
{
    int rowHeight = 1;
    int xOffset = 0; // pixels scrolled to the left
    std::vector<PaintedRow> rows;
};

struct ListWording
{
    bool multiline = false; // continued entries show all their lines
    bool european = false; // headings name the day before the month
};

// Where an entry's text starts in a row h high: 15, or right of a larger check mark.
int EntryTextX(int h);

// Lays out the rows whose band meets the pixel rows [areaTop, areaBottom] of the window,
// reading only those rows of the index.
ListLayout LayOutList(const TApptDocument &doc, const ScrollRows &rows, int rowHeight, int areaTop,
                      int areaBottom, const ListWording &wording);

} // namespace dvw
