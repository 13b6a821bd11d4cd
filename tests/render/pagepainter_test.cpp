#include "render/pagepainter.h"
#include "render/printfonts.h"
#include "store/checkmark.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

std::array<FontSlot, 6> fontSlots()
{
    std::array<FontSlot, 6> fonts;
    for (FontSlot &s : fonts)
        s = FontSlot {"DejaVu Sans", 10, false, false};
    return fonts;
}

// Pixels of the band that are not white.
int inkIn(const QImage &image, const QRect &band)
{
    int ink = 0;
    for (int y = std::max(0, band.top()); y <= std::min(image.height() - 1, band.bottom()); ++y)
        for (int x = std::max(0, band.left()); x <= std::min(image.width() - 1, band.right()); ++x)
            ink += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
    return ink;
}

QImage paintList(const ListGeometry &g, const PrintCaption &caption, const ListPage &page)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    PaintListPage(p, g, caption, page, MakePrintFonts(fontSlots(), false));
    return image;
}

ListGeometry geometry(bool border)
{
    ListGeometry g;
    g.page = {20, 20, 380, 280};
    g.columns = 2;
    g.columnWidth = 180;
    g.textWidth = 172;
    g.lineHeight = 16;
    g.innerMargin = 8;
    g.usableHeight = 244;
    g.border = border;
    return g;
}

PlacedItem item(int column, int y, bool done, const std::u32string &text)
{
    PlacedItem i;
    i.column = column;
    i.x = 20 + column * 180 + 10;
    i.y = y;
    i.height = 16;
    i.done = done;
    i.lines = {text};
    return i;
}

TEST(PagePainter, BorderCaptionAndCheckMarkGoWhereTheLayoutSays)
{
    for (const bool border : {false, true}) {
        const ListGeometry g = geometry(border);
        PrintCaption caption;
        caption.text = U"Pat 7/12/26";
        caption.box = {250, 15, 330, 27};
        ListPage page;
        page.items = {item(0, 40, true, U"Done"), item(1, 40, false, U"Open")};
        const QImage image = paintList(g, caption, page);
        SCOPED_TRACE(border);
        // The frame's left edge, away from any text.
        EXPECT_EQ(inkIn(image, QRect(20, 200, 1, 60)) > 0, border);
        // The caption paints its own background across the top border.
        EXPECT_EQ(inkIn(image, QRect(250, 20, 1, 1)), 0);
        EXPECT_GT(inkIn(image, QRect(250, 15, 80, 12)), 0);
        // The check mark stands left of the done entry's text, and nowhere else.
        EXPECT_GT(inkIn(image, QRect(21, 40, 8, 16)), 0);
        EXPECT_EQ(inkIn(image, QRect(201, 40, 8, 16)), 0);
        // Text never leaves its column.
        EXPECT_EQ(inkIn(image, QRect(20 + 172, 40, 180 - 172, 16)), 0);
    }
}

TEST(PagePainter, AMonthOnPaperIsBlackAndWhite)
{
    MonthPage page;
    page.rect = {40, 20, 740, 520};
    page.grid.rule = GridRule::Calendar;
    page.grid.shape = MonthShapeOf(2000, 3, GridRule::Calendar);
    for (int d = 1; d <= page.grid.shape.daysInMonth; ++d) {
        GridDay day;
        day.day = d;
        day.weekday = (page.grid.shape.firstWeekday + d - 1) % 7;
        day.inWindow = true;
        day.shaded = day.weekday == 0;
        day.today = d == 9;
        day.selected = d == 10;
        if (d == 6)
            day.entries.push_back({0, "Coloured", 2, true});
        page.grid.days.push_back(day);
    }
    page.geometry = GridGeometry::calendar(page.grid.shape, page.rect, 24, 13);
    page.footer = U" 3/1/00";
    page.footerRight = page.rect.right - 1;
    page.footerTop = page.rect.bottom + 2;
    QImage image(800, 560, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        PaintMonthPage(p, page, MakePrintFonts(fontSlots(), false));
    }
    // No colour anywhere: every pixel is a grey level.
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            coloured += (std::abs(c.red() - c.green()) > 8 || std::abs(c.green() - c.blue()) > 8)
                ? 1
                : 0;
        }
    EXPECT_EQ(coloured, 0);
    // A shaded Sunday is hatched, a plain Monday is white inside.
    const GridRect sunday = page.geometry.cellRect(5);
    const GridRect monday = page.geometry.cellRect(13);
    EXPECT_GT(inkIn(image, QRect(sunday.left + 5, sunday.top + 30, 40, 30)), 100);
    EXPECT_EQ(inkIn(image, QRect(monday.left + 5, monday.top + 30, 40, 30)), 0);
    // The footer ends at its right edge, under the calendar.
    EXPECT_GT(inkIn(image, QRect(page.footerRight - 30, page.footerTop, 30, 12)), 0);
    EXPECT_EQ(inkIn(image, QRect(page.footerRight + 1, page.footerTop, 20, 12)), 0);
}

} // namespace
