// Entry operations over a document: each changes one line's text and leaves the derived
// tables as a full rebuild makes them.
#include "../testdocuments.h"
#include "core/linereader.h"
#include "store/entryops.h"
#include "store/filerules.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <memory>

using namespace dvw;

namespace {

struct Setup
{
    bool european = false;
    int centuryBreak = 20;
};

std::unique_ptr<TApptDocument> docOf(std::vector<std::string> lines, TDate start, int days,
                                     Setup setup = {})
{
    DocumentSettings s = test::windowSettings(start, days);
    s.dateText.european = setup.european;
    s.dateText.centuryBreak = setup.centuryBreak;
    auto doc = std::make_unique<TApptDocument>(s);
    for (std::string &line : lines)
        doc->lineTable().emplace_back(std::move(line));
    doc->Rescan();
    return doc;
}

// Everything derived, as text, so two documents can be compared whole.
std::string derived(const TApptDocument &doc)
{
    std::string out;
    for (const IndexTy &e : doc.engine().index())
        out += std::to_string(e.kind) + ":" + std::to_string(e.value) + ":"
            + std::to_string(e.month) + "/" + std::to_string(e.day) + ":" + std::to_string(e.mark)
            + ":" + std::to_string(e.colour) + ":" + std::to_string(e.age) + " ";
    auto cell = [&out](const std::vector<Appt> &appts) {
        for (const Appt &a : appts)
            out += std::to_string(a.date.dayNumber) + "," + std::to_string(a.line) + ","
                + std::to_string(a.done) + ";";
        out += "|";
    };
    cell(doc.engine().notes());
    for (int d = 1; d <= 31; ++d)
        cell(doc.engine().leadInCell(d));
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d)
            cell(doc.engine().dayCell(m, d));
    return out;
}

std::string rebuiltDerived(const TApptDocument &doc)
{
    DocumentSettings s;
    s.dateText = doc.dateSettings();
    s.today = doc.window().today;
    s.start = doc.window().start;
    s.days = doc.window().days;
    TApptDocument fresh(s);
    for (const TimeString &line : doc.lines())
        fresh.lineTable().emplace_back(line.text);
    fresh.Rescan();
    return derived(fresh);
}

// The list as a reader sees it: headings and entries with their texts and marks.
std::string agendaOf(const TApptDocument &doc)
{
    std::string out;
    for (const IndexTy &e : doc.engine().index()) {
        out += std::to_string(e.kind) + " " + std::to_string(e.month) + "/" + std::to_string(e.day)
            + " " + std::to_string(e.mark) + " ";
        if (e.kind == DatedEntry || e.kind == NoteEntry)
            out += doc.lines()[static_cast<std::size_t>(e.value)].text;
        out += "\n";
    }
    return out;
}

const TDate feb3(3, 2, 2000);

struct ToggleCase
{
    const char *name;
    std::string line;
    bool inNotes;
    std::string after; // empty: nothing changes
    EntryStatus status;
    std::uint32_t day = 3; // of February 2000
};

TEST(EntryOpsTest, ToggleDoneChangesTheLineAsTheKindAsks)
{
    const ToggleCase cases[] = {
        {"weekly instance", "!THU Gym", false, "\\D2/3/00 !THU Gym", EntryStatus::Changed},
        {"completed line has no date to undo", ">!THU Gym", false, "", EntryStatus::Unchanged},
        {"undone behind completed mark", ">\\D2/3/00 !THU Gym", false, ">!THU Gym",
         EntryStatus::Changed},
        {"done instance undone", "\\D2/3/00 !THU Gym", false, "!THU Gym", EntryStatus::Changed},
        {"first of equal codes", "\\D2/3/00 \\D2/3/00 !THU Gym", false, "\\D2/3/00 !THU Gym",
         EntryStatus::Changed},
        {"kind 2 like repeating", "?/3/00 Rent", false, "\\D2/3/00 ?/3/00 Rent",
         EntryStatus::Changed},
        {"single toggles mark", "2/3/00 Dentist", false, ">2/3/00 Dentist", EntryStatus::Changed},
        {"single loses mark", ">2/3/00 Dentist", false, "2/3/00 Dentist", EntryStatus::Changed},
        {"note gains mark", "* call", true, ">* call", EntryStatus::Changed},
        {"note loses mark", ">* call", true, "* call", EntryStatus::Changed},
        {"nag of cycle", "\\S1/1/00 \\N!MON walk", true, "", EntryStatus::NagOfCycle},
        {"nag of single removed", "\\N1/20/00 Tax", true, "1/20/00 Tax", EntryStatus::Changed},
        {"nag removal keeps alarm apart", "\\(15\\N1/20/00 Tax", true, "\\(15\\()1/20/00 Tax",
         EntryStatus::Changed},
        {"nag in free text untouched", "\\N1/20/00 \\n Tax", true, "1/20/00 \\n Tax",
         EntryStatus::Changed},
    };
    for (const ToggleCase &c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = docOf({c.line}, feb3, 7);
        const auto target = targetOfLine(
            *doc, 0, c.inNotes ? std::nullopt : std::optional<TDate>(TDate(c.day, 2, 2000)));
        ASSERT_TRUE(target.has_value());
        const EntryOutcome outcome = ToggleDone(*doc, *target);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(doc->lines()[0].text, c.after.empty() ? c.line : c.after);
        EXPECT_EQ(doc->isChanged(), c.status == EntryStatus::Changed);
        EXPECT_EQ(derived(*doc), rebuiltDerived(*doc));
    }
}

struct DeleteCase
{
    const char *name;
    std::string line;
    bool inNotes;
    bool wholeCycle;
    Setup setup;
    TDate date;
    std::string after;
    DeleteQuestion question;
};

TEST(EntryOpsTest, DeleteMarksTheLineOrExcludesTheInstance)
{
    const TDate feb3of2025(3, 2, 2025);
    const DeleteCase cases[] = {
        {"instance, month first",
         "!THU Gym",
         false,
         false,
         {},
         feb3,
         "\\X2/3/00 !THU Gym",
         DeleteQuestion::InstanceOrCycle},
        {"instance, day first",
         "!THU Gym",
         false,
         false,
         {true, 20},
         feb3,
         "\\X3/2/00 !THU Gym",
         DeleteQuestion::InstanceOrCycle},
        {"instance, beyond the century break",
         "!MON Gym",
         false,
         false,
         {false, 20},
         feb3of2025,
         "\\X2/3/2025 !MON Gym",
         DeleteQuestion::InstanceOrCycle},
        {"instance behind completed mark",
         ">!THU Gym",
         false,
         false,
         {},
         feb3,
         ">\\X2/3/00 !THU Gym",
         DeleteQuestion::InstanceOrCycle},
        {"whole cycle",
         "!THU Gym",
         false,
         true,
         {},
         feb3,
         "~!THU Gym",
         DeleteQuestion::InstanceOrCycle},
        {"single",
         "2/3/00 Dentist",
         false,
         false,
         {},
         feb3,
         "~2/3/00 Dentist",
         DeleteQuestion::Confirm},
        {"note", "* call", true, false, {}, feb3, "~* call", DeleteQuestion::Confirm},
        {"parent of reminder",
         "\\N1/20/00 Tax",
         true,
         false,
         {},
         feb3,
         "~\\N1/20/00 Tax",
         DeleteQuestion::ParentOfReminder},
    };
    for (const DeleteCase &c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = docOf({"* first", c.line}, c.date, 7, c.setup);
        const auto target
            = targetOfLine(*doc, 1, c.inNotes ? std::nullopt : std::optional<TDate>(c.date));
        ASSERT_TRUE(target.has_value());
        EXPECT_EQ(deleteQuestion(*doc, *target), c.question);
        const EntryOutcome outcome = DeleteEntry(*doc, *target, c.wholeCycle);
        EXPECT_EQ(outcome.status, EntryStatus::Changed);
        EXPECT_EQ(doc->lines()[1].text, c.after);
        EXPECT_TRUE(doc->isChanged());
        EXPECT_EQ(derived(*doc), rebuiltDerived(*doc));
        EXPECT_FALSE(
            targetOfLine(*doc, 1, target->inNotes ? std::nullopt : std::optional<TDate>(c.date)));
    }
}

TEST(EntryOpsTest, AStaleTargetChangesNothing)
{
    auto doc = docOf({"2/3/00 Dentist", "2/3/00 Other"}, feb3, 7);
    const auto target = targetOfLine(*doc, 0, feb3);
    ASSERT_TRUE(target.has_value());
    // A rebuild while a question is open: a new window no longer shows the day.
    doc->setWindow(DateWindow::make(TDate(4, 3, 2000), TDate(4, 3, 2000), 7));
    doc->Rescan();
    EXPECT_EQ(DeleteEntry(*doc, *target, false).status, EntryStatus::Stale);
    EXPECT_EQ(ToggleDone(*doc, *target).status, EntryStatus::Stale);
    // Another program's edit of the line in between.
    auto other = docOf({"2/3/00 Dentist"}, feb3, 7);
    const auto captured = targetOfLine(*other, 0, feb3);
    other->lineTable()[0].text = "2/3/00 Dentist at 9";
    other->Rescan();
    EXPECT_EQ(DeleteEntry(*other, *captured, false).status, EntryStatus::Stale);
    EXPECT_EQ(other->lines()[0].text, "2/3/00 Dentist at 9");
    EXPECT_FALSE(other->isChanged());
}

struct PasteCase
{
    const char *name;
    std::string clipboard;
    bool inDayBlock;
    std::string line;
};

TEST(EntryOpsTest, PasteComposesALineThatKeepsThePastedText)
{
    const PasteCase cases[] = {
        {"sentence in a day block", "buy bread", true, "2/3/00 buy bread"},
        {"sentence in the notes", "buy bread", false, "* buy bread"},
        {"counts stay free text", "+5 apples", true, "2/3/00 -0 +0 +5 apples"},
        {"scheduled text kept", "!THU Gym", true, "!THU Gym"},
        {"cut at NUL", std::string("* call\0junk", 11), true, "* call"},
        {"several lines", "2/3/00 a\r\nb\r\nc", true, "2/3/00 a\r\nb\r\nc"},
    };
    for (const PasteCase &c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = docOf({"* first"}, feb3, 7);
        const std::string line = PastedLineText(*doc, c.clipboard, c.inDayBlock, feb3);
        EXPECT_EQ(line, c.line);
        const EntryOutcome outcome = AddEntryLine(*doc, line);
        EXPECT_GE(outcome.position, 0);
        EXPECT_EQ(doc->lines().back().text, c.line);
        EXPECT_EQ(derived(*doc), rebuiltDerived(*doc));
    }
}

TEST(EntryOpsTest, ClipboardTextRoundTripsThroughPaste)
{
    auto doc = docOf({"2/3/00 a\r\nb\r\nc"}, feb3, 7);
    const auto target = targetOfLine(*doc, 0, feb3);
    ASSERT_TRUE(target.has_value());
    const std::string clip = ClipboardText(*doc, *target) + std::string(1, '\0');
    AddEntryLine(*doc, PastedLineText(*doc, clip, true, feb3));
    EXPECT_EQ(doc->lines()[1].text, doc->lines()[0].text);
}

struct ClipboardCase
{
    const char *name;
    std::string clipboard;
    bool inDayBlock;
    std::string kept; // what the new line must hold byte for byte
};

// Whatever the clipboard holds, the pasted appointment keeps its text, stays one
// appointment, and the saved file reads back as the same appointments, one each.
TEST(EntryOpsTest, ClipboardInputsStayOneAppointment)
{
    const std::string large(10 * 1024 * 1024, 'x');
    const ClipboardCase cases[] = {
        {"bare LF", "2/3/00 a\nb", true, "2/3/00 a\r\nb"},
        {"bare LF in the notes", "a\nb", false, "a\r\nb"},
        {"trailing CR LF", "buy bread\r\n", true, "buy bread"},
        {"trailing LF of a scheduled line", "!THU Gym\n", true, "!THU Gym"},
        {"lone CR kept", "a\rb", true, "a\rb"},
        {"NUL ends the text", std::string("call\0\r\n&junk", 13), true, "call"},
        {"10 MB", large, true, large},
        {"leading tilde", "~gone", true, "~gone"},
        {"leading tilde in the notes", "~gone", false, "~gone"},
        {"leading ampersand", "&more", true, "&more"},
        {"leading ampersand in the notes", "&more", false, "&more"},
        {"line break first", "\r\nsecond", true, "second"},
        {"markup as text", "<b>bold</b> &amp;", true, "<b>bold</b> &amp;"},
    };
    for (const ClipboardCase &c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = docOf({"* first", "2/4/00 next"}, feb3, 7);
        const std::string line = PastedLineText(*doc, c.clipboard, c.inDayBlock, feb3);
        EXPECT_EQ(line.find('\0'), std::string::npos);
        AddEntryLine(*doc, line);
        ASSERT_EQ(doc->lines().size(), 3u);
        EXPECT_EQ(doc->lines()[1].text, "2/4/00 next");
        EXPECT_NE(doc->lines()[2].text.find(c.kept), std::string::npos);
        EXPECT_EQ(derived(*doc), rebuiltDerived(*doc));
        std::vector<std::string> texts;
        for (const TimeString &t : doc->lines())
            texts.push_back(t.text);
        EXPECT_TRUE(SplitFileText(doc->FileBytes()) == texts);
    }
}

TEST(EntryOpsTest, PasteOntoADayMovesOrKeepsTheAppointment)
{
    const struct
    {
        const char *name;
        std::string clipboard;
        DayPaste where;
        std::int32_t kind; // on 3 February 2000; -1: the text stays as it is
        std::string freeText;
    } cases[] = {
        {"note on the calendar", "*WORK +5 apples", DayPaste::Calendar, Single, "+5 apples"},
        {"single moves", "\\(10 1/9/00 dentist", DayPaste::Calendar, Single, "dentist"},
        {"cycle stays on the calendar", "!THU Gym", DayPaste::Calendar, -1, "Gym"},
        {"following days stay on the calendar", "1/9/00 +2 trip", DayPaste::Calendar, -1, "trip"},
        {"following days move on the month pane", "1/9/00 +2 trip", DayPaste::MonthPane,
         SingleShowFollowing, "trip"},
        {"cycle on the month pane", "!THU Gym", DayPaste::MonthPane, Single, "Gym"},
        {"several lines", "1/9/00 a\r\nb\r\n", DayPaste::MonthPane, Single, "a\r\nb"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = docOf({"* first"}, feb3, 7);
        const std::string line = PastedOnDayText(*doc, c.clipboard, feb3, c.where);
        AddEntryLine(*doc, line);
        const TimeString &added = doc->lines()[1];
        // The description reads back as the free text it was.
        EXPECT_EQ(added.text.substr(static_cast<std::size_t>(added.textStart)), c.freeText);
        if (c.kind < 0) {
            EXPECT_EQ(line, c.clipboard);
        } else {
            EXPECT_EQ(added.kind, c.kind) << line;
            EXPECT_TRUE(targetOfLine(*doc, 1, feb3).has_value()) << line;
        }
    }
}

// Random lines and random operations: the tables always equal a fresh rebuild, and done
// followed by undone gives back the line byte for byte.
const char *const sampleLines[] = {
    "!THU Gym",
    ">!MON walk",
    "\\N!FRI nag",
    "2/5/00 Dentist",
    "\\N1/28/00 Tax",
    "* call",
    ">* done note",
    "?/7/00 rent",
    "!2D water",
    "\\(15\\N2/1/00 x",
    "2/4 birthdayish",
    "\\S1/1 \\D2/4/00 2/4 x",
    "\\D2/8/00 !TUE class",
    "\\X2/9/00 !1D daily",
};

RC_GTEST_PROP(EntryOpsProperty, OperationsKeepTablesEqualToARebuild,
              (const std::vector<std::uint8_t> &picks, const std::vector<std::uint8_t> &ops))
{
    {
        std::vector<std::string> lines;
        for (std::uint8_t p : picks)
            lines.push_back(sampleLines[p % std::size(sampleLines)]);
        if (lines.empty())
            lines.push_back("* only");
        auto doc = docOf(lines, feb3, 14);
        for (std::uint8_t op : ops) {
            const auto &index = doc->engine().index();
            if (index.empty())
                break;
            const auto position = static_cast<std::int32_t>(op % index.size());
            const auto target = targetAtPosition(*doc, position);
            if (!target)
                continue;
            switch (op % 4) {
            case 0: {
                const bool wasDone = index[static_cast<std::size_t>(position)].mark != 0;
                const EntryOutcome first = ToggleDone(*doc, *target);
                const bool removesNag = target->inNotes && targetKind(*doc, *target) == Single;
                if (first.status == EntryStatus::Changed && first.position >= 0 && !removesNag
                    && !wasDone) {
                    const auto again = targetAtPosition(*doc, first.position);
                    RC_ASSERT(again.has_value());
                    RC_ASSERT(ToggleDone(*doc, *again).status == EntryStatus::Changed);
                    RC_ASSERT(doc->lines()[static_cast<std::size_t>(target->line)].text
                              == target->text);
                }
                break;
            }
            case 1:
                DeleteEntry(*doc, *target, false);
                break;
            case 2:
                DeleteEntry(*doc, *target, true);
                break;
            default:
                AddEntryLine(*doc,
                             PastedLineText(*doc, ClipboardText(*doc, *target), !target->inNotes,
                                            target->date));
                break;
            }
            RC_ASSERT(derived(*doc) == rebuiltDerived(*doc));
        }
        // Saving drops the deleted lines; what is left shows the same list.
        std::vector<std::string> saved = SplitFileText(doc->FileBytes());
        auto reloaded = docOf(saved, feb3, 14);
        RC_ASSERT(agendaOf(*reloaded) == agendaOf(*doc));
    }
}

} // namespace
