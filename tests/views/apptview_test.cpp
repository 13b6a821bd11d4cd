#include "app/installall.h"
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "platform/helpbook.h"
#include "platform/scriptedprompter.h"
#include "settings/platformprobe.h"
#include "shell/commands.h"
#include "shell/documentsignals.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/dvwmdiclient.h"
#include "shell/screenfonts.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "shell/windowlayout.h"
#include "store/tapptdocument.h"
#include "testdocuments.h"
#include "views/listpainter.h"
#include "views/tapptview.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

using namespace dvw;

namespace {

constexpr int rowHeight = 16;

// Hears what the list tells the document's other views.
struct OtherView : DocumentListener
{
    void goToDate(const TDate &date) override { dates.push_back(date.dayNumber); }
    void selectPosition(int position) override { positions.push_back(position); }
    std::vector<std::uint32_t> dates;
    std::vector<int> positions;
};

// A list over these lines, shown ten rows high, with a host that records what it is asked.
class ListView : public ::testing::Test
{
protected:
    void open(std::vector<std::string> lines, TDate start = TDate(7, 12, 2026), int days = 30)
    {
        doc = std::make_unique<TApptDocument>(test::windowSettings(start, days));
        for (std::string &t : lines)
            doc->lineTable().emplace_back(std::move(t));
        doc->Rescan();
        doc->addListener(&other);
        events = std::make_unique<DocumentSignals>(*doc);
        ViewHost host;
        host.runCommand = [this](int c) { commands.push_back(c); };
        host.showHelp = [this](int topic) { commands.push_back(-topic); };
        host.focusMonthPane = [this] { ++monthFocus; };
        settings.headingHeight = rowHeight;
        settings.look.userColours = UserColours(colours());
        view = std::make_unique<TApptView>(*events, settings, host);
        view->resize(400, 200);
        view->show();
        // Ten whole rows, whatever the scroll bars take.
        view->resize(400, view->height() - view->viewport()->height() + 10 * rowHeight);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        // Set-up tells the other views the line the cursor starts on; the tests look at
        // what follows.
        const int first = doc->engine().index().empty() ? -1 : view->cursorLine();
        ASSERT_EQ(other.positions, std::vector<int> {first});
        other.positions.clear();
    }
    ~ListView() override
    {
        view.reset();
        if (doc)
            doc->removeListener(&other);
    }
    static std::array<std::uint32_t, 15> colours()
    {
        std::array<std::uint32_t, 15> c {};
        c[1] = 0x0000ff00; // COLOR2: pure green
        return c;
    }
    QPoint rowPoint(int row) const
    {
        return QPoint(40, (row - view->topRow()) * rowHeight + rowHeight / 2);
    }
    std::string rowText(int row) const
    {
        const ListLayout l = view->layout(view->viewport()->rect());
        for (const PaintedRow &r : l.rows) {
            if (r.row == row)
                return r.text;
        }
        return "<not shown>";
    }

    std::unique_ptr<TApptDocument> doc;
    std::unique_ptr<DocumentSignals> events;
    ApptViewSettings settings;
    std::unique_ptr<TApptView> view;
    OtherView other;
    std::vector<int> commands;
    int monthFocus = 0;
};

const std::vector<std::string> notesAndDays = {
    "* Buy milk", // notes: rows 0 "Notes", 1
    "12/7/2026 Dentist", // 3 heading, 4
    "12/9/2026 9:00 am A", // 6 heading, 7, 8
    "12/9/2026 B",
};

} // namespace

TEST_F(ListView, ArrowKeysMoveTheCursorAndTellTheOtherViewsRowAndDate)
{
    open(notesAndDays);
    ASSERT_EQ(view->cursorLine(), 1);
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(view->cursorLine(), 4);
    EXPECT_EQ(other.positions, std::vector<int> {4});
    EXPECT_EQ(other.dates, std::vector<std::uint32_t> {TDate(7, 12, 2026).dayNumber});
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(view->cursorLine(), 7);
    EXPECT_EQ(other.dates.back(), TDate(9, 12, 2026).dayNumber);
    EXPECT_TRUE(doc->hasPendingCursorDate());
    // On a note the cursor date is today.
    QTest::keyClick(view.get(), Qt::Key_Home);
    EXPECT_EQ(view->cursorLine(), 1);
    EXPECT_EQ(other.dates.back(), TDate(7, 12, 2026).dayNumber);
}

TEST_F(ListView, HomeAndUpNeverPutTheCursorOnNotes)
{
    open(notesAndDays);
    QTest::keyClick(view.get(), Qt::Key_End);
    EXPECT_EQ(view->cursorLine(), 8);
    QTest::keyClick(view.get(), Qt::Key_Home);
    EXPECT_EQ(view->cursorLine(), 1);
    QTest::keyClick(view.get(), Qt::Key_Up);
    QTest::keyClick(view.get(), Qt::Key_PageUp);
    EXPECT_EQ(view->cursorLine(), 1);
    EXPECT_EQ(rowText(0), "Notes");
}

TEST_F(ListView, EmptyWindowIgnoresPagingArrowsAndClicks)
{
    open({"\\CWORK=Work"});
    EXPECT_EQ(view->rowRules().lastLine(), 0);
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp})
        QTest::keyClick(view.get(), k);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(40, 8));
    EXPECT_TRUE(other.positions.empty());
    EXPECT_TRUE(other.dates.empty());
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 0);
}

TEST_F(ListView, AClickSelectsAnEntryAndAClickOnAHeadingOnlyTellsTheDate)
{
    open(notesAndDays);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowPoint(8));
    EXPECT_EQ(view->cursorLine(), 8);
    EXPECT_EQ(other.positions, std::vector<int> {8});
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowPoint(3));
    EXPECT_EQ(view->cursorLine(), 8);
    EXPECT_EQ(other.dates.size(), 2u);
    // Below the last line: nothing at all.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowPoint(9) + QPoint(0, rowHeight));
    EXPECT_EQ(other.dates.size(), 2u);
    // A double click selects and edits.
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rowPoint(4));
    EXPECT_EQ(view->cursorLine(), 4);
    EXPECT_EQ(commands, std::vector<int> {Cm::EditAppt});
}

TEST_F(ListView, KeysAndCharactersRunTheirCommandsThroughTheMainWindow)
{
    open(notesAndDays);
    QTest::keyClick(view.get(), Qt::Key_Return);
    QTest::keyClick(view.get(), Qt::Key_Delete);
    QTest::keyClick(view.get(), Qt::Key_E);
    QTest::keyClick(view.get(), Qt::Key_Space);
    QTest::keyClick(view.get(), Qt::Key_T);
    QTest::keyClick(view.get(), Qt::Key_I);
    QTest::keyClick(view.get(), Qt::Key_V);
    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(view.get(), Qt::Key_F1);
    EXPECT_EQ(commands,
              (std::vector<int> {Cm::EditAppt, Cm::EditCut, Cm::EditAppt, Cm::MarkDone,
                                 Cm::InsertWithDate, Cm::InsertAppt, Cm::ViewCalendar, Cm::EditCopy,
                                 -121}));
    QTest::keyClick(view.get(), Qt::Key_Tab);
    EXPECT_EQ(monthFocus, 1);
    EXPECT_EQ(view->cursorLine(), 1); // none of them moved the cursor
}

TEST_F(ListView, WithTheBigDialogIInsertsWithTheCursorDate)
{
    settings.bigDialog = true;
    open(notesAndDays);
    QTest::keyClick(view.get(), Qt::Key_I);
    EXPECT_EQ(commands, std::vector<int> {Cm::InsertWithDate});
}

TEST_F(ListView, TheRightButtonOffersEntryCommandsOnlyOnAnEntry)
{
    QGuiApplication::clipboard()->clear();
    open(notesAndDays);
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, rowPoint(7));
    auto *menu = view->findChild<QMenu *>(QStringLiteral("apptPopup"));
    ASSERT_NE(menu, nullptr);
    QStringList names;
    for (QAction *a : menu->actions())
        names << a->objectName();
    EXPECT_EQ(names,
              (QStringList {"popup165", "popup175", "popup24322", "popup24323", "popup160"}));
    EXPECT_EQ(view->cursorLine(), 7);
    menu->actions().first()->trigger();
    EXPECT_EQ(commands, std::vector<int> {Cm::EditAppt});
    menu->close();
    QTest::qWait(0);

    QGuiApplication::clipboard()->setText(QStringLiteral("12/24 Eve"));
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, rowPoint(6));
    menu = view->findChild<QMenu *>(QStringLiteral("apptPopup"));
    ASSERT_NE(menu, nullptr);
    names.clear();
    for (QAction *a : menu->actions())
        names << a->objectName();
    EXPECT_EQ(names, (QStringList {"popup24324", "popup160"}));
    menu->close();
    QGuiApplication::clipboard()->clear();
}

TEST_F(ListView, AnAppendedLineIsSelectedWithItsHeadingOnTop)
{
    std::vector<std::string> lines;
    for (int day = 7; day <= 31; ++day)
        lines.push_back("12/" + std::to_string(day) + "/2026 Day " + std::to_string(day));
    open(lines);
    doc->AppendLine("12/20/2026 9:00 am Added");
    const int heading = doc->engine().dayPosition(12, 20);
    EXPECT_EQ(view->cursorLine(), heading + 1);
    EXPECT_EQ(view->topRow(), heading);
    EXPECT_EQ(view->verticalScrollBar()->value(), heading);
    EXPECT_EQ(view->verticalScrollBar()->maximum(), doc->engine().lastPosition());
    EXPECT_EQ(rowText(heading + 1), "9:00 am Added");
}

TEST_F(ListView, ADateFromAnotherViewScrollsItsDayToTheTop)
{
    std::vector<std::string> lines;
    for (int day = 7; day <= 31; day += 2)
        lines.push_back("12/" + std::to_string(day) + "/2026 Day " + std::to_string(day));
    open(lines);
    doc->broadcastGoToDate(TDate(20, 12, 2026), nullptr);
    const int heading = doc->engine().dayPosition(12, 21);
    EXPECT_EQ(view->topRow(), heading);
    EXPECT_EQ(view->cursorLine(), heading + 1);
    EXPECT_EQ(other.positions, std::vector<int> {heading + 1});
    // A date outside the window changes nothing.
    doc->broadcastGoToDate(TDate(20, 1, 2027), nullptr);
    EXPECT_EQ(view->cursorLine(), heading + 1);
}

TEST_F(ListView, HeadingsNameTheYearOfTheirDayAndFollowTheDateOrder)
{
    open({"11/20/2026 A", "1/3 Party"}, TDate(15, 11, 2026), 60);
    EXPECT_EQ(rowText(0), "Friday November 20, 2026");
    EXPECT_EQ(rowText(3), "Sunday January 3, 2027");
    settings.wording.european = true;
    open({"6/5/2000 Meeting"}, TDate(1, 6, 2000), 10);
    EXPECT_EQ(rowText(0), "Monday 5 June, 2000");
}

TEST_F(ListView, BirthdaysShowTheirAgeAndContinuedEntriesTheirFirstLine)
{
    open({"\\B6/5/1950 Carl (remark)", "\\B6/6/1950 Dora", "6/7/2000 Trip\r\nmap\r\nboots"},
         TDate(1, 6, 2000), 10);
    EXPECT_EQ(rowText(1), "Carl (50)");
    EXPECT_EQ(rowText(4), "Dora");
    EXPECT_EQ(rowText(7), "Trip");
    settings.wording.multiline = true;
    open({"6/7/2000 Trip\r\nmap\r\nboots"}, TDate(1, 6, 2000), 10);
    EXPECT_EQ(rowText(1), "Trip\r\nmap\r\nboots");
}

TEST_F(ListView, APriorityTwoLineIsDrawnInColourTwoUnderTheCursor)
{
    open({"\\2 12/7/2026 Due", "12/7/2026 Plain"});
    ASSERT_EQ(rowText(1), "Due");
    const ListLayout l = view->layout(view->viewport()->rect());
    ASSERT_GE(l.rows.size(), 3u);
    EXPECT_TRUE(l.rows[1].selected);
    EXPECT_EQ(l.rows[1].colour, 2);
    EXPECT_EQ(l.rows[2].colour, 0);
    // Green reads well on a dark highlight, so the entry keeps its colour there.
    QPalette dark = view->palette();
    dark.setColor(QPalette::Active, QPalette::Highlight, QColor(0, 0, 128));
    dark.setColor(QPalette::Active, QPalette::HighlightedText, Qt::white);
    view->setPalette(dark);
    QImage image(view->viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    view->paintRowsTo(painter, image.rect());
    painter.end();
    // Text is smoothed: count the pixels that are clearly green.
    const auto greenIn = [&image](int row) {
        int green = 0;
        for (int y = row * rowHeight; y < (row + 1) * rowHeight; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                green += c.green() > c.red() + 80 && c.green() > c.blue() + 80;
            }
        }
        return green;
    };
    EXPECT_GT(greenIn(1), 10);
    EXPECT_EQ(greenIn(2), 0);
}

TEST_F(ListView, CaptionAndScrollRanges)
{
    open(notesAndDays);
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Appointment View"));
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 9);
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 10);
    view->horizontalScrollBar()->setValue(2);
    EXPECT_EQ(view->layout(view->viewport()->rect()).xOffset, 80);
}

TEST(ListSetUp, OneDocumentAsksForItsPanesSeveralCloseThemAndTheCalendarStartIsTakenOnce)
{
    DocumentSettings s = test::windowSettings(TDate(7, 12, 2026), 30);
    TApptDocument doc(s);
    doc.lineTable().emplace_back("12/8/2026 Dentist");
    doc.Rescan();
    DocumentSignals events(doc);
    std::vector<int> commands;
    int documents = 1;
    bool calendarStart = true;
    ViewHost host;
    host.clientCommand = [&commands](int c) { commands.push_back(c); };
    host.runCommand = [&commands](int c) { commands.push_back(c); };
    host.documentCount = [&documents] { return documents; };
    host.takeCalendarStart = [&calendarStart] { return std::exchange(calendarStart, false); };
    {
        TApptView first(events, ApptViewSettings {}, host);
        first.show();
        EXPECT_EQ(commands,
                  (std::vector<int> {Cm::ShowCurrentPane, Cm::ShowMonthPane, Cm::ViewCalendar}));
    }
    commands.clear();
    documents = 2;
    TApptView second(events, ApptViewSettings {}, host);
    second.show();
    EXPECT_EQ(commands, (std::vector<int> {Cm::CloseMonthPane, Cm::CloseCurrentPane}));
}

TEST(ListSetUp, ANewListPicksUpTheLastCursorDate)
{
    TApptDocument doc(test::windowSettings(TDate(7, 12, 2026), 30));
    for (const char *line : {"12/8/2026 A", "12/20/2026 B", "12/22/2026 C"})
        doc.lineTable().emplace_back(line);
    doc.Rescan();
    doc.broadcastCursorDate(TDate(19, 12, 2026), nullptr);
    DocumentSignals events(doc);
    TApptView view(events, ApptViewSettings {}, {});
    view.show();
    EXPECT_EQ(view.cursorLine(), doc.engine().dayPosition(12, 20) + 1);
    EXPECT_TRUE(view.allows(Cm::EditAppt, false));
    EXPECT_FALSE(view.allows(Cm::Restore, false));
    EXPECT_TRUE(view.allows(Cm::Restore, true));
}

TEST(ListSetUp, AListThatOutlivesItsDocumentLeavesItAlone)
{
    auto doc = std::make_unique<TApptDocument>(test::windowSettings(TDate(7, 12, 2026), 30));
    doc->lineTable().emplace_back("12/8/2026 Dentist");
    doc->Rescan();
    DocumentSignals events(*doc);
    TApptView view(events, ApptViewSettings {}, {});
    view.show();
    doc.reset(); // the list window is deleted a moment later
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    view.repaint();
    EXPECT_TRUE(view.layout(view.viewport()->rect()).rows.empty());
    EXPECT_EQ(view.cursorLine(), 1);
}

// --- The paint routine, into images -------------------------------------------------

namespace {

ListLook plainLook()
{
    ListLook look;
    look.headingFont = QApplication::font();
    look.headingFont.setPixelSize(13);
    look.bodyFont = look.headingFont;
    std::array<std::uint32_t, 15> stored {};
    stored[1] = 0x0000ff00; // COLOR2: green
    look.userColours = UserColours(stored);
    look.windowText = Qt::black;
    look.highlight = QColor(0, 0, 200);
    look.highlightedText = Qt::white;
    return look;
}

QImage paint(const ListLayout &layout, const ListLook &look = plainLook())
{
    QImage image(300, layout.rowHeight * 4, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 250));
    QPainter painter(&image);
    PaintList(painter, image.rect(), layout, look);
    return image;
}

// Pixels of exactly this colour in the row band.
int countIn(const QImage &image, int top, int height, QColor colour)
{
    int n = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour;
    }
    return n;
}

PaintedRow entry(std::string text, int colour, bool selected, int y = 0)
{
    PaintedRow r;
    r.y = y;
    r.x = 15;
    r.colour = colour;
    r.selected = selected;
    r.text = std::move(text);
    return r;
}

} // namespace

TEST(ListPainting, APriorityTwoRecordKeepsColourTwoWhileSelected)
{
    ListLayout layout;
    layout.rowHeight = rowHeight;
    layout.rows = {entry("Priority two", 2, true)};
    const QImage image = paint(layout);
    EXPECT_GT(countIn(image, 0, rowHeight - 1, Qt::green), 10);
    EXPECT_EQ(countIn(image, 0, rowHeight, Qt::white), 0);
    // The band covers the row but its last pixel row.
    EXPECT_EQ(image.pixelColor(299, 0), QColor(0, 0, 200));
    EXPECT_EQ(image.pixelColor(299, rowHeight - 2), QColor(0, 0, 200));
    EXPECT_EQ(image.pixelColor(299, rowHeight - 1), QColor(250, 250, 250));
}

TEST(ListPainting, AnUncolouredRecordUsesTheSystemTextColours)
{
    ListLayout layout;
    layout.rowHeight = rowHeight;
    layout.rows = {entry("Selected", 0, true, 0), entry("Plain", 0, false, rowHeight)};
    const QImage image = paint(layout);
    EXPECT_GT(countIn(image, 0, rowHeight - 1, Qt::white), 10);
    EXPECT_GT(countIn(image, rowHeight, rowHeight, Qt::black), 10);
    EXPECT_EQ(countIn(image, rowHeight, rowHeight, QColor(0, 0, 200)), 0);
}

TEST(ListPainting, ADoneEntryGetsItsCheckMarkInTheTextColour)
{
    ListLayout layout;
    layout.rowHeight = 20;
    PaintedRow done = entry("", 2, false, 20);
    done.done = true;
    done.check = CheckMark(20, 20);
    layout.rows = {done};
    // h = 20: from the left, down to the bottom a third across, up to the top right.
    EXPECT_EQ(done.check[0], (PaintedRow::Point {3, 30}));
    EXPECT_EQ(done.check[1], (PaintedRow::Point {6, 35}));
    EXPECT_EQ(done.check[2], (PaintedRow::Point {14, 24}));
    const QImage image = paint(layout);
    for (QPoint p : {QPoint(3, 30), QPoint(6, 35), QPoint(14, 24), QPoint(10, 30)})
        EXPECT_EQ(image.pixelColor(p), Qt::green) << p.x() << "," << p.y();
    // A stroke, not a filled block.
    EXPECT_LT(countIn(image, 20, 20, Qt::green), 100);
}

TEST(ListPainting, TheCheckMarkGrowsWithTheRowAndStaysLeftOfTheText)
{
    for (int h : {8, 12, 16, 17, 24, 40, 64}) {
        SCOPED_TRACE(h);
        const int y = 3 * h;
        const auto mark = CheckMark(y, h);
        int left = mark[0].x, right = mark[0].x, top = mark[0].y, bottom = mark[0].y;
        for (const PaintedRow::Point &p : mark) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
        const int pen = CheckMarkPen(h);
        EXPECT_GE(bottom - top + 1, h / 2);
        EXPECT_GE(right - left + 1, h / 2);
        EXPECT_GE(pen, 2);
        EXPECT_GE(top - pen / 2, y);
        EXPECT_LT(bottom + pen / 2, y + h);
        EXPECT_LT(right + pen / 2, EntryTextX(h));
    }
}

TEST(ListPainting, DescendersStayInsideTheirRowAtEveryFontSize)
{
    struct Case
    {
        const char *name;
        FontSlot body;
        FontSlot heading;
        int zoom;
    };
    const Case cases[] = {
        {"default sizes", {"Lucida Bright", 10, false, false}, {"Arial", 10, true, false}, 100},
        {"small zoomed out", {"Serif", 8, false, false}, {"Sans", 8, true, false}, 80},
        {"large italic", {"Serif", 18, false, true}, {"Sans", 18, true, true}, 100},
        {"body larger than heading", {"Serif", 20, false, false}, {"Sans", 8, true, false}, 120},
        {"heading larger than body", {"Serif", 8, false, false}, {"Sans", 24, true, false}, 100},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::array<FontSlot, 6> fontSlots {};
        fontSlots[BodyFont] = c.body;
        fontSlots[HeadingFont] = c.heading;
        const auto fonts = MakeScreenFonts(fontSlots, MeasureScreen(1280, 96, c.zoom));
        ListLook look = plainLook();
        look.bodyFont = fonts[BodyFont].font;
        look.headingFont = fonts[HeadingFont].font;
        const int h = ListRowHeight(look, fonts[HeadingFont].height);
        EXPECT_GE(h, fonts[HeadingFont].height);
        EXPECT_GE(h, QFontMetrics(look.bodyFont).lineSpacing());
        EXPECT_GE(h, QFontMetrics(look.headingFont).lineSpacing());

        for (bool heading : {false, true}) {
            ListLayout layout;
            layout.rowHeight = h;
            PaintedRow row = entry("gjpqy", 0, false, h);
            row.heading = heading;
            layout.rows = {row};
            // Painted alone, and cut to its own band as a repaint of the row is.
            QImage whole(300, 4 * h, QImage::Format_RGB32);
            QImage band = whole;
            whole.fill(Qt::white);
            band.fill(Qt::white);
            QPainter toWhole(&whole);
            PaintList(toWhole, whole.rect(), layout, look);
            toWhole.end();
            QPainter toBand(&band);
            PaintList(toBand, QRect(0, h, 300, h), layout, look);
            toBand.end();
            EXPECT_LT(countIn(whole, h, h, Qt::white), 300 * h) << "heading " << heading;
            EXPECT_EQ(whole, band) << "heading " << heading << ", row height " << h;
        }
    }
}

TEST(ListPainting, OldAndNewEncodingsOfOneTextLookTheSame)
{
    ListLayout latin1, utf8;
    latin1.rowHeight = utf8.rowHeight = rowHeight;
    latin1.rows = {entry("Caf\xe9 cr\xe8me \x80", 0, false)};
    utf8.rows = {entry("Caf\xc3\xa9 cr\xc3\xa8me \xe2\x82\xac", 0, false)};
    EXPECT_EQ(paint(latin1), paint(utf8));
}

TEST(ListPainting, MarkupInALineIsShownAsTyped)
{
    ListLayout markup, plain;
    markup.rowHeight = plain.rowHeight = rowHeight;
    markup.rows = {entry("<b>Bold</b>", 0, false)};
    plain.rows = {entry("Bold", 0, false)};
    const QImage withTags = paint(markup);
    // The tags take room of their own: ink reaches further right than the word alone.
    const auto rightmostInk = [](const QImage &image) {
        int right = -1;
        for (int y = 0; y < rowHeight; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) != QColor(250, 250, 250))
                    right = std::max(right, x);
            }
        }
        return right;
    };
    EXPECT_GT(rightmostInk(withTags), rightmostInk(paint(plain)) + 20);
}

// --- In the main window --------------------------------------------------------------

TEST(ListInShell, ADocumentOpensWithItsListInSlotZero)
{
    QTemporaryDir dir;
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QFile file(QStringLiteral("NOTES.APT"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("* Buy milk\r\n12/8/2026 Dentist\r\n");
    file.close();
    ScriptedPrompter prompter;
    ScriptedFileChooser files;
    ManualClock clock(QDateTime(QDate(2026, 12, 7), QTime(9, 5)));
    const FixedProbe probe(1024, 0);
    {
        dvwApp app(
            ParseCommandLine({"dayvane"}),
            AppServices {prompter, files, clock, probe, QStringLiteral(DVW_HELP_SOURCE_DIR)});
        TDVDecoratedMDIFrame frame(app);
        InstallAll(frame);
        frame.show();
        frame.openStartFile();
        ASSERT_EQ(frame.documents().count(), 1);
        TApptDocument &doc = *frame.documents().current();
        dvwMDIChild *window = frame.documents().viewWindow(doc, ListViewSlot);
        ASSERT_NE(window, nullptr);
        auto *list = window->findChild<TApptView *>(QStringLiteral("apptView"));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Appointment View, NOTES.APT[*]"));
        // At the left of the client, as high as it, leaving the month pane's width.
        EXPECT_EQ(window->geometry(),
                  NewViewRect(frame.client()->viewport()->size(), app.settings().monthWidth));
        EXPECT_EQ(list->rowHeight(), app.fonts()[HeadingFont].height);
        // Its commands go through the main window, where the edit feature carries them out.
        EXPECT_TRUE(frame.action(Cm::EditAppt)->isEnabled());
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        EXPECT_EQ(QApplication::focusWidget(), list); // keys reach the list at once
        QTest::keyClick(list, Qt::Key_Down);
        EXPECT_EQ(list->cursorLine(), 4);
        // F1 on the list shows the list's topic.
        QTest::keyClick(list, Qt::Key_F1);
        QTest::keyRelease(list, Qt::Key_F1);
        EXPECT_EQ(app.help().currentPage(), QStringLiteral("topics.html#121"));
        // Closing the document closes its list, which goes after the document.
        QPointer<TApptView> gone(list);
        EXPECT_TRUE(frame.documents().close(doc));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(gone.isNull());
    }
    QDir::setCurrent(old);
}
