#include "render/monthpainter.h"
#include "store/checkmark.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

MonthLook testLook()
{
    MonthLook look;
    for (QFont *f : {&look.titleFont, &look.headingFont, &look.dayFont, &look.entryFont})
        f->setPixelSize(11);
    for (std::size_t i = 0; i < look.userColours.size(); ++i)
        look.userColours[i] = QColor(0, static_cast<int>(40 + 10 * i), 0);
    look.highlight = QColor(0, 0, 128);
    look.highlightedText = Qt::white;
    return look;
}

// A calendar grid of April 2026 with the given entries on the 6th, drawn by hand.
MonthGrid aprilWith(const std::vector<GridEntry> &entries)
{
    MonthGrid grid;
    grid.rule = GridRule::Calendar;
    grid.shape = MonthShapeOf(2026, 4, GridRule::Calendar);
    for (int d = 1; d <= grid.shape.daysInMonth; ++d) {
        GridDay day;
        day.day = d;
        day.weekday = (grid.shape.firstWeekday + d - 1) % 7;
        day.inWindow = true;
        grid.days.push_back(day);
    }
    grid.days[5].entries = entries;
    return grid;
}

const QRect calendarArea(0, 0, 1401, 460);

QImage paint(const MonthGrid &grid, const QRect &area = calendarArea, QSize size = {1401, 460})
{
    QImage image(size.expandedTo({1, 1}), QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3));
    QPainter p(&image);
    PaintMonth(p, area, grid, testLook());
    return image;
}

// The box of pixels in the band that differ from white; empty when there are none.
QRect inkIn(const QImage &image, const QRect &band, QRgb background = qRgb(255, 255, 255))
{
    QRect ink;
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x) {
            if (image.pixel(x, y) != background)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

bool hasColour(const QImage &image, const QRect &band, const QColor &colour)
{
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x) {
            if (image.pixelColor(x, y) == colour)
                return true;
        }
    }
    return false;
}

GridEntry entry(const std::string &text, std::uint8_t colour = 0, bool done = false)
{
    return GridEntry {1, text, colour, done};
}

TEST(MonthPainter, OverflowMarkExactlyWhenEntriesDoNotFit)
{
    const MonthGrid probe = aprilWith({});
    const GridGeometry g = MonthGeometryFor(calendarArea, probe, testLook());
    const int fit = g.shownEntries(100);
    ASSERT_GT(fit, 1);
    const GridRect mark = g.overflowMark(6);
    const QRect corner(mark.right - 4, mark.bottom - 3, 2, 2);
    for (int count = 0; count <= fit + 2; ++count) {
        const MonthGrid grid
            = aprilWith(std::vector<GridEntry>(static_cast<std::size_t>(count), entry("i")));
        const QImage image = paint(grid);
        EXPECT_EQ(hasColour(image, corner, Qt::black), count > fit) << count;
    }
}

// Markup, format characters, mnemonics and line breaks in file text are drawn as they are:
// the ink of an entry is as wide as its plain text, and stays on the entry's line.
TEST(MonthPainter, FileTextIsDrawnAsPlainText)
{
    const MonthLook look = testLook();
    const QFontMetrics metrics(look.entryFont);
    for (const std::string text : {"<b>%s & co</b>", "&&a %1 &x", "top\r\nbottom"}) {
        const MonthGrid grid = aprilWith({entry(text)});
        const GridGeometry g = MonthGeometryFor(calendarArea, grid, look);
        const GridRect cell = g.cellRect(6);
        const int top = g.entryTop(6, 0);
        const QImage image = paint(grid);
        const QRect line(cell.left, top, cell.right - cell.left, g.entryLineHeight());
        const QRect ink = inkIn(image, line);
        const int expected = metrics
                                 .boundingRect(QString::fromStdString(text).replace(
                                     QStringLiteral("\r\n"), QStringLiteral("  ")))
                                 .width();
        EXPECT_NEAR(ink.width(), expected, 3) << text;
        const QRect below(cell.left, top + g.entryLineHeight(), cell.right - cell.left,
                          cell.bottom - top - g.entryLineHeight() - 1);
        EXPECT_TRUE(inkIn(image, below).isEmpty()) << text;
    }
}

TEST(MonthPainter, PriorityColourAndDoneMark)
{
    const MonthLook look = testLook();
    const MonthGrid grid = aprilWith({entry("WWWW", 2, false), entry("WWWW", 0, true)});
    const GridGeometry g = MonthGeometryFor(calendarArea, grid, look);
    const QImage image = paint(grid);
    const GridRect cell = g.cellRect(6);
    const int h = g.entryLineHeight();
    const QRect first(cell.left, g.entryTop(6, 0), cell.right - cell.left, h);
    const QRect second(cell.left, g.entryTop(6, 1), cell.right - cell.left, h);
    EXPECT_TRUE(hasColour(image, first, look.userColours[1]));
    EXPECT_FALSE(hasColour(image, second, look.userColours[1]));
    // The done entry's text starts right of its check mark; the other's does not.
    EXPECT_GT(inkIn(image, second).width(), inkIn(image, first).width() + h / 2);
    const QRect checkBand(cell.left + 2, g.entryTop(6, 1), CheckMarkWidth(h) + 2, h);
    EXPECT_FALSE(inkIn(image, checkBand).isEmpty());
}

TEST(MonthPainter, NoRoomDrawsNothing)
{
    MonthGrid pane = aprilWith({});
    pane.rule = GridRule::Pane;
    pane.shape = MonthShapeOf(2026, 4, GridRule::Pane);
    const QRgb untouched = qRgb(1, 2, 3);
    struct Case
    {
        QSize size;
        int height; // the pane's height, MONTHHEIGHT
    };
    for (const Case &c : {Case {{0, 0}, 0}, Case {{1, 1}, 1}, Case {{200, 200}, -5},
                          Case {{200, 200}, 0}, Case {{200, 200}, 8}}) {
        const QImage image = paint(pane, QRect(0, 0, c.size.width(), c.height), c.size);
        EXPECT_TRUE(inkIn(image, image.rect(), untouched).isEmpty()) << c.height;
    }
    const QImage tall = paint(pane, QRect(0, 0, 200, 100000), {200, 200});
    EXPECT_FALSE(inkIn(tall, tall.rect(), untouched).isEmpty());
    const QImage flat = paint(aprilWith({entry("x")}), QRect(0, 0, 700, 30), {700, 40});
    EXPECT_TRUE(inkIn(flat, flat.rect(), untouched).isEmpty());
}

} // namespace
