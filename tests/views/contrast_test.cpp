// Entries keep their colour on the selection only where it stays legible.
#include "settings/platformprobe.h"
#include "settings/settings.h"
#include "views/contrast.h"
#include "views/listpainter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QSet>

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

using namespace dvw;

namespace {

QColor colourOf(std::uint32_t rgb)
{
    return QColor(static_cast<int>((rgb >> 16) & 0xff), static_cast<int>((rgb >> 8) & 0xff),
                  static_cast<int>(rgb & 0xff));
}

// The colours a list row drawn on the highlight band puts on screen, the band's own left
// out. Text is drawn without smoothing, so every other pixel is a drawn colour.
QSet<QRgb> drawnOnSelectedRow(const ListLook &look, int colour, bool done)
{
    ListLayout layout;
    layout.rowHeight = 20;
    PaintedRow row;
    row.y = 0;
    row.x = 20;
    row.selected = true;
    row.colour = colour;
    row.done = done;
    row.check = CheckMark(0, layout.rowHeight);
    row.text = "WWW Meeting with the team";
    layout.rows.push_back(row);
    QImage image(300, layout.rowHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintList(painter, image.rect(), layout, look);
    painter.end();
    QSet<QRgb> drawn;
    for (int y = 0; y < layout.rowHeight - 1; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != look.highlight.rgb())
                drawn.insert(image.pixel(x, y));
        }
    }
    return drawn;
}

} // namespace

TEST(Contrast, RatioOfKnownPairs)
{
    struct Case
    {
        QColor a, b;
        double ratio;
    };
    const Case cases[] = {
        {Qt::black, Qt::white, 21.0},
        {Qt::white, Qt::black, 21.0},
        {QColor(0x77, 0x77, 0x77), Qt::white, 4.48},
        {QColor(0, 0, 255), Qt::white, 8.59},
        {QColor(255, 0, 0), Qt::white, 4.0},
        {QColor(12, 34, 56), QColor(12, 34, 56), 1.0},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.01) << c.a.name().toStdString();
}

// Whatever the colours, what is drawn has the contrast it needs, and a colour that has it
// is kept.
RC_GTEST_PROP(ContrastProperty, LegibleOnAlwaysReadsWell,
              (std::uint32_t wanted, std::uint32_t background, std::uint32_t fallback))
{
    const QColor w = colourOf(wanted), b = colourOf(background), f = colourOf(fallback);
    const QColor drawn = LegibleOn(w, b, f);
    const double needed = NeededContrast(b, f);
    RC_ASSERT(needed >= MinimumContrast);
    RC_ASSERT(ContrastRatio(drawn, b) >= needed);
    if (ContrastRatio(w, b) >= needed)
        RC_ASSERT(drawn == w);
}

// All fifteen default colours on the selection of this platform and of two others: blue
// and purple entries were hard to read on the blue band.
TEST(Contrast, EverySelectedRowOfTheDefaultColoursIsLegible)
{
    const FixedProbe probe(1024, 0);
    ListLook look;
    look.userColours = UserColours(Settings::defaults(probe).colors);
    for (QFont *font : {&look.headingFont, &look.bodyFont}) {
        font->setPixelSize(14);
        font->setStyleStrategy(QFont::NoAntialias);
    }
    const QPalette palette = QApplication::palette();
    const std::pair<QColor, QColor> bands[] = {
        {palette.color(QPalette::Active, QPalette::Highlight),
         palette.color(QPalette::Active, QPalette::HighlightedText)},
        {QColor(0, 0, 128), Qt::white},
        {QColor(200, 220, 255), Qt::black},
    };
    for (const auto &[highlight, highlightedText] : bands) {
        look.highlight = highlight;
        look.highlightedText = highlightedText;
        for (int colour = 0; colour <= 15; ++colour) {
            const QSet<QRgb> drawn = drawnOnSelectedRow(look, colour, colour % 2 == 1);
            ASSERT_FALSE(drawn.isEmpty()) << colour;
            const double needed = NeededContrast(highlight, highlightedText);
            for (const QRgb pixel : drawn) {
                EXPECT_GE(ContrastRatio(QColor(pixel), highlight), needed)
                    << "colour " << colour << " drawn " << QColor(pixel).name().toStdString()
                    << " on " << highlight.name().toStdString();
            }
            if (colour > 0
                && ContrastRatio(look.userColours[static_cast<std::size_t>(colour - 1)], highlight)
                    >= needed) {
                EXPECT_TRUE(
                    drawn.contains(look.userColours[static_cast<std::size_t>(colour - 1)].rgb()))
                    << "a legible colour is kept: " << colour;
            }
        }
    }
}
