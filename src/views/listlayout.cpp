#include "listlayout.h"

#include "store/listwording.h"
#include "store/tapptdocument.h"

#include <algorithm>

namespace dvw {

namespace {

constexpr int headingX = 5;
constexpr int entryX = 15;
// The check mark's left edge (checkmark.h) and the gap between it and the entry's text.
constexpr int checkX = 3;
constexpr int checkGap = 2;

// Colour numbers outside 1..15 draw as colour 0.
int userColour(std::uint8_t colour)
{
    return colour >= 1 && colour <= 15 ? colour : 0;
}

void describeRow(PaintedRow &out, const TApptDocument &doc, const IndexTy &e,
                 const ListWording &wording, int rowHeight)
{
    switch (e.kind) {
    case DateHeading:
        out.heading = true;
        out.x = headingX;
        out.text = DateHeadingText(doc.window().start, e, wording.european);
        break;
    case NotesHeading:
        out.heading = true;
        out.x = headingX;
        out.text = "Notes";
        break;
    case CategoryHeading:
        out.heading = true;
        out.x = headingX;
        out.text = std::string(doc.categoryDescription(e.value));
        break;
    case DatedEntry:
    case NoteEntry: {
        const std::vector<TimeString> &lines = doc.lines();
        out.x = EntryTextX(rowHeight);
        out.colour = userColour(e.colour);
        if (e.value >= 0 && static_cast<std::size_t>(e.value) < lines.size())
            out.text
                = ListEntryText(lines[static_cast<std::size_t>(e.value)], e, wording.multiline);
        out.done = e.mark != 0;
        if (out.done)
            out.check = CheckMark(out.y, rowHeight);
        break;
    }
    default:
        break;
    }
}

} // namespace

int EntryTextX(int h)
{
    return std::max(entryX, checkX + CheckMarkWidth(h) + CheckMarkPen(h) / 2 + checkGap);
}

ListLayout LayOutList(const TApptDocument &doc, const ScrollRows &rows, int rowHeight, int areaTop,
                      int areaBottom, const ListWording &wording)
{
    ListLayout layout;
    layout.rowHeight = std::max(1, rowHeight);
    layout.xOffset = rows.xPos * ScrollRows::xUnit;
    const std::vector<IndexTy> &index = doc.engine().index();
    const int first = rows.topRow + std::max(0, areaTop) / layout.rowHeight;
    const int last = std::min(rows.topRow + std::max(0, areaBottom) / layout.rowHeight,
                              static_cast<int>(index.size()) - 1);
    for (int row = first; row <= last; ++row) {
        PaintedRow out;
        out.row = row;
        out.y = (row - rows.topRow) * layout.rowHeight;
        out.selected = row == rows.cursor;
        describeRow(out, doc, index[static_cast<std::size_t>(row)], wording, layout.rowHeight);
        layout.rows.push_back(std::move(out));
    }
    return layout;
}

} // namespace dvw
