#include "shell/documentsignals.h"
#include "views/oneapptrules.h"
#include "views/toneapptview.h"
#include "views/toneedit.h"
#include "viewtesthelpers.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace dvw;
using test::documentOf;
using test::positionOfLine;

namespace {

const std::vector<std::string> sampleLines = {
    "12/9/2026 9:00 Dentist\r\nbring the insurance card\r\nroom 4, second floor",
    "12/9/2026 Lunch with Ann",
    "12/10/2026 Review",
    "*WORK Call the printer",
    "\\C WORK,3=Work things",
};

QString paneText(const TOneApptView &pane)
{
    return pane.edit()->toPlainText();
}

} // namespace

TEST(CurrentPane, ContinuedRecordShowsAllItsLines)
{
    auto doc = documentOf(sampleLines);
    DocumentSignals events(*doc);
    TOneApptView pane(events, QFont());
    const int dentist = positionOfLine(*doc, 0);
    ASSERT_GE(dentist, 0);
    doc->broadcastSelectPosition(dentist, nullptr);
    EXPECT_EQ(pane.shownLine(), dentist);
    EXPECT_EQ(paneText(pane),
              QStringLiteral("9:00 Dentist\nbring the insurance card\nroom 4, second floor"));
    EXPECT_EQ(pane.edit()->document()->blockCount(), 3);
}

TEST(CurrentPane, FollowsEverySelectedLineAsTheCursorMoves)
{
    auto doc = documentOf(sampleLines);
    DocumentSignals events(*doc);
    TOneApptView pane(events, QFont());
    // Down through the list: the note, then 9 December's two entries, then the 10th.
    const std::vector<std::pair<int, QString>> steps = {
        {positionOfLine(*doc, 3), QStringLiteral("Call the printer")},
        {positionOfLine(*doc, 0),
         QStringLiteral("9:00 Dentist\nbring the insurance card\nroom 4, second floor")},
        {positionOfLine(*doc, 1), QStringLiteral("Lunch with Ann")},
        {positionOfLine(*doc, 2), QStringLiteral("Review")},
        {positionOfLine(*doc, 1), QStringLiteral("Lunch with Ann")},
    };
    for (const auto &[position, text] : steps) {
        doc->broadcastSelectPosition(position, nullptr);
        EXPECT_EQ(pane.shownLine(), position);
        EXPECT_EQ(paneText(pane), text) << position;
    }
    // An empty list broadcasts -1.
    doc->broadcastSelectPosition(-1, nullptr);
    EXPECT_EQ(pane.shownLine(), -1);
    EXPECT_TRUE(paneText(pane).isEmpty());
}

TEST(CurrentPane, HeadingsAndPositionsOutsideTheIndexShowNothing)
{
    auto doc = documentOf(sampleLines);
    const std::vector<IndexTy> &index = doc->engine().index();
    // Line 0 is "Notes" (value 0) and line 1 the WORK heading (value: the category's
    // place): neither may be read as a line number.
    ASSERT_EQ(index[0].kind, NotesHeading);
    ASSERT_EQ(index[1].kind, CategoryHeading);
    for (int position : {0, 1, -1, -7, static_cast<int>(index.size()), 1 << 30})
        EXPECT_TRUE(OneAppt::RecordText(*doc, position).empty()) << position;
    EXPECT_EQ(OneAppt::RecordText(*doc, positionOfLine(*doc, 2)), "Review");

    DocumentSignals events(*doc);
    TOneApptView pane(events, QFont());
    pane.showLine(static_cast<int>(index.size()) + 3);
    EXPECT_EQ(pane.shownLine(), -1);
    EXPECT_TRUE(paneText(pane).isEmpty());
}

TEST(CurrentPane, DecodesUtf8AndWindows1252AndShowsMarkupAsText)
{
    auto doc = documentOf({"12/9/2026 Caf\xc3\xa9 cr\xc3\xa8me", "12/10/2026 Caf\xe9 \x80 5",
                           "12/11/2026 See <b>bold</b> <a href=\"file:///etc/passwd\">open</a>"});
    DocumentSignals events(*doc);
    TOneApptView pane(events, QFont());
    doc->broadcastSelectPosition(positionOfLine(*doc, 0));
    EXPECT_EQ(paneText(pane), QStringLiteral("Caf\u00e9 cr\u00e8me"));
    doc->broadcastSelectPosition(positionOfLine(*doc, 1));
    EXPECT_EQ(paneText(pane), QStringLiteral("Caf\u00e9 \u20ac 5"));
    doc->broadcastSelectPosition(positionOfLine(*doc, 2));
    EXPECT_EQ(paneText(pane),
              QStringLiteral("See <b>bold</b> <a href=\"file:///etc/passwd\">open</a>"));
}

TEST(CurrentPane, RefreshShowsTheListCursorOrNothingWhenTheIndexIsEmpty)
{
    auto doc = documentOf(sampleLines);
    std::optional<int> listCursor;
    DocumentSignals events(*doc);
    TOneApptView pane(events, QFont(), [&listCursor] { return listCursor; });
    // Made without a list view: nothing shown.
    EXPECT_EQ(pane.shownLine(), -1);

    doc->broadcastSelectPosition(positionOfLine(*doc, 2));
    pane.refresh();
    EXPECT_EQ(paneText(pane), QStringLiteral("Review")); // no list: it keeps its line

    listCursor = positionOfLine(*doc, 1);
    pane.refresh();
    EXPECT_EQ(paneText(pane), QStringLiteral("Lunch with Ann"));

    // Screening for a text no line holds empties the index, and the pane.
    ViewFilters screen;
    screen.screening = true;
    screen.screenText = "no such text";
    doc->setViewFilters(screen);
    doc->Rescan();
    ASSERT_TRUE(doc->engine().index().empty());
    pane.refresh();
    EXPECT_EQ(pane.shownLine(), -1);
    EXPECT_TRUE(paneText(pane).isEmpty());
}

TEST(CurrentPane, IsMadeShowingTheListCursorLine)
{
    auto doc = documentOf(sampleLines);
    const int lunch = positionOfLine(*doc, 1);
    DocumentSignals events(*doc);
    TOneApptView pane(events, QFont(), [lunch] { return std::optional<int>(lunch); });
    EXPECT_EQ(pane.shownLine(), lunch);
    EXPECT_EQ(paneText(pane), QStringLiteral("Lunch with Ann"));
    EXPECT_EQ(pane.windowTitle(), QStringLiteral("Current"));
}

TEST(CurrentPane, OutlivingItsDocumentIsSafe)
{
    auto doc = documentOf(sampleLines);
    DocumentSignals events(*doc);
    TOneApptView pane(events, QFont());
    doc->broadcastSelectPosition(positionOfLine(*doc, 1));
    doc.reset();
    EXPECT_EQ(pane.document(), nullptr);
    pane.refresh();
    EXPECT_EQ(pane.shownLine(), -1);
    EXPECT_TRUE(paneText(pane).isEmpty());
}

TEST(CurrentPaneKeys, KeysInTheEditReachThePane)
{
    auto doc = documentOf(sampleLines);
    DocumentSignals events(*doc);
    TOneApptView pane(events, QFont());
    pane.show();
    doc->broadcastSelectPosition(positionOfLine(*doc, 0));
    QSignalSpy focusList(&pane, &TOneApptView::focusListRequested);
    QSignalSpy commands(&pane, &TOneApptView::commandRequested);
    QSignalSpy help(&pane, &TOneApptView::helpRequested);

    QTest::keyClick(pane.edit(), Qt::Key_Tab);
    QTest::keyClick(pane.edit(), Qt::Key_V);
    QTest::keyClick(pane.edit(), Qt::Key_F1);
    EXPECT_EQ(focusList.count(), 1);
    ASSERT_EQ(commands.count(), 1);
    EXPECT_EQ(commands.at(0).at(0).toInt(), 220);
    ASSERT_EQ(help.count(), 1);
    EXPECT_EQ(help.at(0).at(0).toInt(), 121);

    // Other keys move and select in the read-only text and never change it.
    // Ctrl+V is the edit's (nothing to paste into), not the calendar's V.
    QTest::keyClick(pane.edit(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(pane.edit(), Qt::Key_Down);
    QTest::keyClick(pane.edit(), Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(pane.edit(), Qt::Key_X);
    QTest::keyClick(pane.edit(), Qt::Key_Delete);
    EXPECT_EQ(pane.edit()->textCursor().selectedText(), QStringLiteral("bring the insurance card"));
    EXPECT_EQ(paneText(pane),
              QStringLiteral("9:00 Dentist\nbring the insurance card\nroom 4, second floor"));
    EXPECT_EQ(commands.count(), 1);
}

TEST(CurrentPane, EditFillsThePaneAndWrapsLongLines)
{
    auto doc = documentOf({"12/9/2026 " + std::string(400, 'w')});
    DocumentSignals events(*doc);
    TOneApptView pane(events, QFont());
    pane.resize(180, 300);
    pane.show();
    doc->broadcastSelectPosition(positionOfLine(*doc, 0));
    EXPECT_EQ(pane.edit()->geometry(), pane.rect());
    pane.resize(220, 260);
    EXPECT_EQ(pane.edit()->geometry(), QRect(0, 0, 220, 260));
    EXPECT_EQ(pane.edit()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(pane.edit()->horizontalScrollBar()->maximum(), 0);
    EXPECT_TRUE(pane.edit()->isReadOnly());
}
