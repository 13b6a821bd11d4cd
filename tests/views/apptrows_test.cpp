#include "shell/commands.h"
#include "store/tapptdocument.h"
#include "testdocuments.h"
#include "views/apptrows.h"
#include "views/listinput.h"

#include <gtest/gtest.h>

using namespace dvw;
using Key = ApptRows::Key;

namespace {

// An index written as one letter per row: N notes heading, C category heading, n note
// entry, D date heading, e dated entry, _ blank.
std::vector<IndexTy> indexOf(std::string_view rows)
{
    std::vector<IndexTy> index;
    for (char c : rows) {
        IndexTy e;
        switch (c) {
        case 'N':
            e.kind = NotesHeading;
            break;
        case 'C':
            e.kind = CategoryHeading;
            break;
        case 'n':
            e.kind = NoteEntry;
            break;
        case 'D':
            e.kind = DateHeading;
            break;
        case 'e':
            e.kind = DatedEntry;
            break;
        default:
            e.kind = BlankLine;
            break;
        }
        index.push_back(e);
    }
    return index;
}

// Rows with a window of `page` whole rows.
struct Rows
{
    Rows(std::string_view rows, int page)
        : index(indexOf(rows))
        , rules(index)
    {
        rules.rows().pageRows = page;
    }
    std::vector<IndexTy> index;
    ApptRows rules;
};

// Notes, then four days: 21 rows, the last a blank.
constexpr std::string_view notesAndDays = "NnCnn_Dee_De_Deee_De_";
//                                         0123456789012345678901

} // namespace

TEST(ApptRows, SelectableLinesSkipHeadingsAndBlanks)
{
    Rows r(notesAndDays, 5);
    EXPECT_EQ(r.rules.lastLine(), 20);
    EXPECT_EQ(r.rules.nextSelectable(5), 7); // blank, heading, then an entry
    EXPECT_EQ(r.rules.nextSelectable(3), 3);
    EXPECT_EQ(r.rules.prevSelectable(6), 4);
    EXPECT_EQ(r.rules.prevSelectable(2), 1); // line 2 is a category heading
    EXPECT_EQ(r.rules.nextSelectable(0), 1);
    EXPECT_EQ(r.rules.prevSelectable(0), 1);
    // The last line is a blank: the answer is the line before it.
    EXPECT_EQ(r.rules.nextSelectable(20), 19);
    EXPECT_EQ(r.rules.headingAbove(8), 6);
    EXPECT_EQ(r.rules.headingAbove(4), 0);
    EXPECT_EQ(r.rules.headingAbove(1), 0);
    EXPECT_EQ(r.rules.headingAbove(500), 18); // past the end: the last day's heading
}

TEST(ApptRows, EmptyWindowTakesNoPagingOrArrowKeyAndNoClick)
{
    Rows r("", 5);
    EXPECT_EQ(r.rules.lastLine(), 0);
    for (Key k : {Key::PageUp, Key::PageDown, Key::Up, Key::Down})
        EXPECT_FALSE(r.rules.key(k));
    EXPECT_EQ(r.rules.rowAt(0, 16), -1);
    EXPECT_EQ(r.rules.kindAt(1), BlankLine); // reading past the end is safe
    EXPECT_FALSE(r.rules.isSelectable(r.rules.cursor()));
}

TEST(ApptRows, CursorNeverRestsOnNotesAndHomeGoesToLineOne)
{
    Rows r(notesAndDays, 5);
    r.rules.setCursor(8);
    r.rules.key(Key::Home);
    EXPECT_EQ(r.rules.cursor(), 1);
    EXPECT_EQ(r.rules.rows().topRow, 0);
    r.rules.key(Key::Up);
    EXPECT_EQ(r.rules.cursor(), 1);
    r.rules.key(Key::PageUp);
    EXPECT_EQ(r.rules.cursor(), 1);
}

TEST(ApptRows, ArrowKeysWalkTheEntriesAndScrollAtTheEdges)
{
    Rows r(notesAndDays, 5);
    std::vector<int> seen;
    for (int i = 0; i < 12; ++i) {
        r.rules.key(Key::Down);
        seen.push_back(r.rules.cursor());
        // The cursor stays on a wholly visible row.
        EXPECT_GE(r.rules.cursor(), r.rules.rows().topRow);
        EXPECT_LE(r.rules.cursor(), r.rules.rows().lastVisibleRow());
    }
    EXPECT_EQ(seen, (std::vector<int> {3, 4, 7, 8, 11, 14, 15, 16, 19, 19, 19, 19}));
    r.rules.key(Key::Up);
    EXPECT_EQ(r.rules.cursor(), 16);
    for (int i = 0; i < 9; ++i)
        r.rules.key(Key::Up);
    EXPECT_EQ(r.rules.cursor(), 1);
    EXPECT_EQ(r.rules.rows().topRow, 0);
}

TEST(ApptRows, PagingPutsTheRowAboveTheCursorOnTop)
{
    Rows r(notesAndDays, 5);
    r.rules.key(Key::PageDown);
    EXPECT_EQ(r.rules.cursor(), 7); // first entry at or after row 5
    EXPECT_EQ(r.rules.rows().topRow, 6);
    r.rules.key(Key::PageDown);
    EXPECT_EQ(r.rules.cursor(), 11);
    EXPECT_EQ(r.rules.rows().topRow, 10);
    r.rules.key(Key::PageUp);
    EXPECT_EQ(r.rules.cursor(), 7);
    r.rules.key(Key::End);
    EXPECT_EQ(r.rules.cursor(), 19);
    EXPECT_EQ(r.rules.rows().topRow, 19);
}

TEST(ApptRows, KeepingTheCursorVisibleMovesItToAnEntryInItsDirection)
{
    Rows r(notesAndDays, 5);
    r.rules.setCursor(3);
    r.rules.rows().scrollTo(9); // the user scrolled down: rows 9..13 are visible
    EXPECT_TRUE(r.rules.setCursor(-1));
    EXPECT_EQ(r.rules.cursor(), 11);
    r.rules.rows().scrollTo(0); // and back up: the cursor comes up to row 4
    EXPECT_TRUE(r.rules.setCursor(-1));
    EXPECT_EQ(r.rules.cursor(), 4);
    EXPECT_FALSE(r.rules.setCursor(4)); // unchanged: nothing to repaint or tell
}

TEST(ApptRows, ClicksMapToRowsBelowTheTopRowAndNotPastTheEnd)
{
    Rows r(notesAndDays, 5);
    r.rules.rows().scrollTo(6);
    EXPECT_EQ(r.rules.rowAt(0, 16), 6);
    EXPECT_EQ(r.rules.rowAt(33, 16), 8);
    EXPECT_EQ(r.rules.rowAt(16 * 14, 16), 20);
    EXPECT_EQ(r.rules.rowAt(16 * 15, 16), -1);
}

TEST(ApptRows, SelectingAPositionPutsItsHeadingOnTop)
{
    Rows r(notesAndDays, 5);
    r.rules.selectPosition(16);
    EXPECT_EQ(r.rules.cursor(), 16);
    EXPECT_EQ(r.rules.rows().topRow, 13);
    r.rules.selectPosition(3);
    EXPECT_EQ(r.rules.rows().topRow, 0);
}

namespace { } // namespace

TEST(ApptRows, GoingToADateFindsThatDayOrTheNextOneWithEntries)
{
    // 15 November 2026 for 60 days: the last heading is 3 January 2027.
    const auto doc
        = test::documentOf({"11/20/2026 A", "11/25/2026 B", "1/3 C"}, TDate(15, 11, 2026), 60);
    ApptRows rules(doc->engine().index());
    rules.rows().pageRows = 3;
    ASSERT_EQ(rules.lastLine(), 8);
    EXPECT_TRUE(rules.goToDate(TDate(21, 11, 2026), doc->engine()));
    EXPECT_EQ(rules.cursor(), 4);
    EXPECT_EQ(rules.rows().topRow, 3);
    EXPECT_TRUE(rules.goToDate(TDate(1, 1, 2027), doc->engine()));
    EXPECT_EQ(rules.cursor(), 7);
    // Outside the window, or after its last day with entries: nothing moves.
    EXPECT_FALSE(rules.goToDate(TDate(14, 11, 2026), doc->engine()));
    EXPECT_FALSE(rules.goToDate(TDate(14, 1, 2027), doc->engine()));
    EXPECT_FALSE(rules.goToDate(TDate(4, 1, 2027), doc->engine()));
    EXPECT_EQ(rules.cursor(), 7);
}

TEST(ListInput, TypedKeysAskForTheirCommands)
{
    struct Case
    {
        char c;
        bool ctrl;
        bool big;
        int command;
    };
    const Case cases[] = {
        {'c', true, false, Cm::EditCopy},        {'f', true, false, Cm::Find},
        {'f', false, false, Cm::Find},           {'v', true, false, Cm::EditPaste},
        {'x', true, false, Cm::EditCut},         {'d', false, false, Cm::EditCut},
        {' ', false, false, Cm::MarkDone},       {'m', false, false, Cm::MarkDone},
        {'e', false, false, Cm::EditAppt},       {'i', false, false, Cm::InsertAppt},
        {'I', false, true, Cm::InsertWithDate},  {'n', false, false, Cm::FindNext},
        {'t', false, false, Cm::InsertWithDate}, {'v', false, false, Cm::ViewCalendar},
    };
    for (const Case &c : cases) {
        const auto action = CharacterAction(c.c, c.ctrl, c.big);
        ASSERT_TRUE(action.has_value()) << c.c;
        EXPECT_EQ(action->command, c.command) << c.c << (c.ctrl ? " with Ctrl" : "");
    }
    EXPECT_EQ(CharacterAction('\t', false, false)->kind, ListAction::Kind::FocusMonthPane);
    EXPECT_FALSE(CharacterAction('q', false, false).has_value());
    EXPECT_FALSE(CharacterAction('e', true, false).has_value());
}

TEST(ListInput, EditNeedsACursorRowPasteNeedsTextRestoreNeedsAScreen)
{
    EXPECT_FALSE(ListCommandAllowed(Cm::EditAppt, 0, true, true));
    EXPECT_TRUE(ListCommandAllowed(Cm::EditAppt, 3, false, false));
    EXPECT_FALSE(ListCommandAllowed(Cm::EditPaste, 3, false, false));
    EXPECT_TRUE(ListCommandAllowed(Cm::EditPaste, 3, true, false));
    EXPECT_FALSE(ListCommandAllowed(Cm::Restore, 3, true, false));
    EXPECT_TRUE(ListCommandAllowed(Cm::Restore, 3, true, true));
    EXPECT_TRUE(ListCommandAllowed(Cm::InsertAppt, 0, false, false));
}
