#include "framefixture.h"
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "platform/helpbook.h"
#include "platform/scriptedprompter.h"
#include "settings/platformprobe.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/dvwmdiclient.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "shell/windowlayout.h"
#include "views/listcursor.h"
#include "views/tapptview.h"
#include "views/toneapptview.h"
#include "views/toneedit.h"
#include "viewtesthelpers.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace dvw;
using test::positionOfLine;

namespace {

// A list view stand-in: what the pane reads of the list (its cursor line).
class FakeList : public QLabel, public ListCursor
{
public:
    int cursor = -1;
    int cursorLine() const override { return cursor; }
};

// The main window with this layer's views installed, opening one file.
class ViewsInFrame : public test::FrameFixture
{
protected:
    void start(const QByteArray &fileText, bool withList = false)
    {
        writeFile(QStringLiteral("NOTES.APT"), fileText);
        makeFrame({"dayvane", "NOTES.APT"});
        frame->resize(900, 700);
        installAll();
        // The pane on its own: the document shows its lines read-only.
        if (!withList)
            docs().setViewFactory(ListViewSlot, {});
        frame->showAtStart();
        frame->openStartFile();
    }

    DVDocManager &docs() const { return frame->documents(); }
    TApptDocument &doc() const { return *docs().document(0); }
    dvwMDIChild *paneWindow() const { return docs().viewWindow(doc(), CurrentPaneSlot); }
    TOneApptView *pane() const
    {
        return paneWindow() ? qobject_cast<TOneApptView *>(paneWindow()->widget()) : nullptr;
    }
};

const QByteArray sampleFile = "12/9/2026 9:00 Dentist\r\n&bring the card\r\n&room 4\r\n"
                              "12/10/2026 Review\r\n";

} // namespace

TEST_F(ViewsInFrame, OpeningTheOnlyDocumentOpensItsCurrentPaneInItsPlace)
{
    start(sampleFile);
    ASSERT_NE(pane(), nullptr);
    EXPECT_EQ(paneWindow()->windowTitle(), QStringLiteral("Current"));
    const FixedLayout layout
        = FixedLayoutFor(frame->client()->viewport()->size(), app->settings().monthWidth,
                         app->settings().monthHeight);
    EXPECT_EQ(paneWindow()->geometry(), layout.current);
    // The document's other window keeps the document's title.
    EXPECT_NE(docs().windowOf(doc())->windowTitle(), QStringLiteral("Current"));
    EXPECT_EQ(pane()->shownLine(), -1);
}

TEST_F(ViewsInFrame, PaneFollowsTheSelectedLineOfItsDocument)
{
    start(sampleFile);
    ASSERT_NE(pane(), nullptr);
    doc().broadcastSelectPosition(positionOfLine(doc(), 0));
    EXPECT_EQ(pane()->edit()->toPlainText(),
              QStringLiteral("9:00 Dentist\nbring the card\nroom 4"));
    doc().broadcastSelectPosition(positionOfLine(doc(), 1));
    EXPECT_EQ(pane()->edit()->toPlainText(), QStringLiteral("Review"));
}

TEST_F(ViewsInFrame, CloseAndShowCommandsEmptyAndFillTheSlot)
{
    start(sampleFile);
    ASSERT_NE(pane(), nullptr);
    QPointer<TOneApptView> first = pane();
    frame->carryOut(Cm::CloseCurrentPane);
    EXPECT_EQ(paneWindow(), nullptr);
    EXPECT_EQ(docs().count(), 1); // the document stays open in its other window
    ASSERT_TRUE(QTest::qWaitFor([&first] { return first.isNull(); }));
    frame->carryOut(Cm::ShowCurrentPane);
    ASSERT_NE(pane(), nullptr);
    // Asking again does not make a second pane.
    dvwMDIChild *window = paneWindow();
    frame->carryOut(Cm::ShowCurrentPane);
    EXPECT_EQ(paneWindow(), window);
    EXPECT_EQ(frame->client()->subWindowList().size(), 2);
}

// The calendar takes the document's window alone; V there brings the list and its panes
// back, and without a list to go back to the calendar stays.
class CalendarToggle : public ViewsInFrame, public testing::WithParamInterface<bool>
{ };

TEST_P(CalendarToggle, VTogglesTheCalendarView)
{
    const bool withList = GetParam();
    start(sampleFile, withList);
    ASSERT_NE(pane(), nullptr);
    QTest::keyClick(pane()->edit(), Qt::Key_V);
    const dvwMDIChild *calendar = docs().viewWindow(doc(), CalendarViewSlot);
    ASSERT_NE(calendar, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([this] {
        return !docs().viewWindow(doc(), CurrentPaneSlot)
            && !docs().viewWindow(doc(), MonthPaneSlot) && !docs().viewWindow(doc(), ListViewSlot);
    }));
    QTest::keyClick(calendar->widget(), Qt::Key_V);
    QTest::qWait(0);
    EXPECT_EQ(docs().viewWindow(doc(), CalendarViewSlot) == nullptr, withList);
    EXPECT_EQ(docs().viewWindow(doc(), ListViewSlot) != nullptr, withList);
    EXPECT_EQ(docs().count(), 1);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutList, CalendarToggle, testing::Bool());

TEST_F(ViewsInFrame, F1InThePaneShowsItsHelpTopic)
{
    start(sampleFile);
    ASSERT_NE(pane(), nullptr);
    frame->activateWindow();
    pane()->edit()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return pane()->edit()->hasFocus(); }));
    QTest::keyClick(pane()->edit(), Qt::Key_F1);
    EXPECT_EQ(app->help().currentPage(), QStringLiteral("topics.html#121"));
}

TEST_F(ViewsInFrame, RefreshAfterScreeningEverythingOutEmptiesThePane)
{
    start(sampleFile);
    ASSERT_NE(pane(), nullptr);
    doc().broadcastSelectPosition(positionOfLine(doc(), 1));
    ASSERT_FALSE(pane()->edit()->toPlainText().isEmpty());
    ViewFilters screened = app->filters();
    screened.screening = true;
    screened.screenText = "nothing holds this";
    app->setFilters(screened);
    docs().refreshAll();
    EXPECT_TRUE(doc().engine().index().empty());
    EXPECT_EQ(pane()->shownLine(), -1);
    EXPECT_TRUE(pane()->edit()->toPlainText().isEmpty());

    screened.screening = false;
    app->setFilters(screened);
    docs().refreshAll();
    EXPECT_FALSE(doc().engine().index().empty());
    EXPECT_EQ(pane()->shownLine(), -1); // no list view to follow
}

TEST_F(ViewsInFrame, TabAndRefreshUseTheListViewWhenOneIsOpen)
{
    start(sampleFile);
    ASSERT_NE(pane(), nullptr);
    auto *list = new FakeList;
    list->setFocusPolicy(Qt::StrongFocus);
    list->cursor = positionOfLine(doc(), 1);
    ASSERT_NE(docs().addView(doc(), ListViewSlot, list), nullptr);
    docs().rescan(doc());
    EXPECT_EQ(pane()->edit()->toPlainText(), QStringLiteral("Review"));

    frame->activateWindow();
    pane()->edit()->setFocus();
    QTest::keyClick(pane()->edit(), Qt::Key_Tab);
    EXPECT_EQ(frame->client()->activeSubWindow(), docs().viewWindow(doc(), ListViewSlot));
}

TEST_F(ViewsInFrame, TabInTheMonthPaneGoesToTheCurrentPane)
{
    start(sampleFile, true);
    dvwMDIChild *month = docs().viewWindow(doc(), MonthPaneSlot);
    ASSERT_NE(month, nullptr);
    ASSERT_NE(paneWindow(), nullptr);
    frame->activateWindow();
    frame->client()->setActiveSubWindow(month);
    month->widget()->setFocus();
    QTest::keyClick(month->widget(), Qt::Key_Tab);
    EXPECT_EQ(frame->client()->activeSubWindow(), paneWindow());
}

TEST_F(ViewsInFrame, ClosingTheDocumentLeavesNoListenerBehind)
{
    start(sampleFile);
    QPointer<TOneApptView> shown = pane();
    ASSERT_FALSE(shown.isNull());
    EXPECT_TRUE(docs().close(doc()));
    EXPECT_EQ(docs().count(), 0);
    // The pane may outlive the document until its window is deleted; it must not use it.
    if (shown) {
        EXPECT_EQ(shown->document(), nullptr);
    }
    EXPECT_TRUE(QTest::qWaitFor([&shown] { return shown.isNull(); }));
}

TEST_F(ViewsInFrame, ThePaneShowsWhatTheListCursorMovesTo)
{
    start(sampleFile, true);
    dvwMDIChild *listWindow = docs().viewWindow(doc(), ListViewSlot);
    ASSERT_NE(listWindow, nullptr);
    auto *list = qobject_cast<TApptView *>(listWindow->widget());
    ASSERT_NE(list, nullptr);
    ASSERT_NE(pane(), nullptr);

    frame->activateWindow();
    list->setFocus();
    // The cursor starts on the first entry, and the pane shows it from the start.
    EXPECT_EQ(list->cursorLine(), positionOfLine(doc(), 0));
    EXPECT_EQ(pane()->edit()->toPlainText(),
              QStringLiteral("9:00 Dentist\nbring the card\nroom 4"));
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->cursorLine(), positionOfLine(doc(), 1));
    EXPECT_EQ(pane()->edit()->toPlainText(), QStringLiteral("Review"));
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(pane()->edit()->toPlainText(),
              QStringLiteral("9:00 Dentist\nbring the card\nroom 4"));
}
