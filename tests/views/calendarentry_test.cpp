// The calendar's popup commands: they act on the entry under the point where the popup
// opened, through the same entry operations as the list, and a rebuild while the popup is
// open (the midnight tick) never makes them change another line.
#include "core/datetext.h"
#include "shell/commands.h"
#include "platform/scriptedprompter.h"
#include "shell/documentsignals.h"
#include "store/tapptdocument.h"
#include "testdocuments.h"
#include "views/entryactions.h"
#include "views/monthviews.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

struct CountingBeeper : Beeper
{
    int beeps = 0;
    void beep() override { ++beeps; }
};

struct FakeClipboard : EntryClipboard
{
    std::optional<std::string> held;
    bool put(const std::string &bytes) override
    {
        held = bytes;
        return true;
    }
    std::optional<std::string> text() const override { return held; }
};

// What an operation left behind, for comparing two paths.
struct Result
{
    std::vector<std::string> lines;
    std::optional<std::string> clipboard;
    int beeps = 0;
    bool changed = false;
    bool operator==(const Result &) const = default;
};

// A document with its own prompter, clipboard and delete-dialog answer.
struct Side
{
    explicit Side(const std::vector<std::string> &lines, TDate start, TDate today)
        : doc(test::documentOf(lines, start, 30))
    {
        doc->setWindow(DateWindow::make(today, start, 30));
        doc->Rescan();
    }
    EntryContext context()
    {
        return {*doc, prompter, beeper, clipboard, [this] { return scope; }, true};
    }
    Result result() const
    {
        Result r;
        for (const TimeString &t : doc->lines())
            r.lines.push_back(t.text);
        r.clipboard = clipboard.held;
        r.beeps = beeper.beeps;
        r.changed = doc->isChanged();
        return r;
    }
    std::unique_ptr<TApptDocument> doc;
    ScriptedPrompter prompter;
    CountingBeeper beeper;
    FakeClipboard clipboard;
    std::optional<bool> scope;
};

// A calendar over a side's document, with every entry command installed.
struct Calendar
{
    explicit Calendar(Side &side)
        : events(*side.doc)
    {
        ViewHost host;
        host.entryContext = [&side](TApptDocument &, QWidget *) { return side.context(); };
        host.editLine = [this](TApptDocument &, int line, const std::string &text,
                               const TDate &date) {
            edits.push_back({line, text, date});
            return false;
        };
        host.documentChanged = [this] { ++changes; };
        view = std::make_unique<TCalendarView>(events, MonthViewSettings {}, host);
        view->resize(700, 500);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }
    // Opens the popup on the line's entry in its day's cell.
    QMenu *popupOn(int line, const TDate &date)
    {
        view->selectDate(date, false);
        const int day = static_cast<int>(date.DayOfMonth());
        const MonthGrid month = view->grid();
        const GridDay &cell = month.days[static_cast<std::size_t>(day - 1)];
        int index = 0;
        while (index < static_cast<int>(cell.entries.size())
               && cell.entries[static_cast<std::size_t>(index)].line != line)
            ++index;
        const GridGeometry g = view->geometry();
        QTest::mouseClick(view->viewport(), Qt::RightButton, {},
                          QPoint(g.cellRect(day).left + 5, g.entryTop(day, index) + 1));
        return view->findChild<QMenu *>(QStringLiteral("calendarPopup"));
    }
    // Chooses a popup item and closes the menu.
    static void choose(QMenu *menu, int command)
    {
        ASSERT_NE(menu, nullptr);
        auto *item = menu->findChild<QAction *>(QStringLiteral("popup%1").arg(command));
        if (item == nullptr) {
            for (QAction *a : menu->actions())
                if (a->objectName() == QStringLiteral("popup%1").arg(command))
                    item = a;
        }
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->isEnabled());
        item->trigger();
        delete menu;
    }

    struct Edit
    {
        int line;
        std::string text;
        TDate date;
    };
    DocumentSignals events;
    std::unique_ptr<TCalendarView> view;
    std::vector<Edit> edits;
    int changes = 0;
};

constexpr int calendarCopy = 655;
constexpr int calendarMarkDone = 660;
constexpr int calendarDelete = 665;

const TDate dec7(7, 12, 2026);
const TDate dec9(9, 12, 2026);

const std::vector<std::string> lines = {
    "12/9/2026 Dentist", "!WED Gym", ">12/9/2026 Filed", "\\D12/9/2026 !WED Choir", "12/10/2026 x",
};

struct Op
{
    const char *name;
    int command;
    std::optional<bool> scope; // the delete dialog's answer
};

TEST(CalendarPopup, OperationsEqualTheListsOnTheSameEntry)
{
    const Op ops[] = {
        {"done", calendarMarkDone, std::nullopt},
        {"delete instance", calendarDelete, false},
        {"delete cycle", calendarDelete, true},
        {"delete cancelled", calendarDelete, std::nullopt},
        {"copy", calendarCopy, std::nullopt},
    };
    for (int line = 0; line < 4; ++line) {
        for (const Op &op : ops) {
            SCOPED_TRACE(lines[static_cast<std::size_t>(line)] + " " + op.name);
            Side list(lines, dec7, dec7);
            Side calendar(lines, dec7, dec7);
            for (Side *side : {&list, &calendar}) {
                side->scope = op.scope;
                side->prompter.pushAnswer(Prompter::Answer::Ok);
            }
            const auto target = targetOfLine(*list.doc, line, dec9);
            ASSERT_TRUE(target.has_value());
            // The list's cursor on the line's entry under 9 December.
            std::int32_t position = -1;
            for (std::int32_t p = 0; position < 0; ++p) {
                const auto at = targetAtPosition(*list.doc, p);
                if (at && at->line == line && !at->inNotes && at->date == dec9)
                    position = p;
                ASSERT_LT(p, 100);
            }
            EntryContext context = list.context();
            if (op.command == calendarMarkDone)
                MarkDoneAt(context, position);
            else if (op.command == calendarDelete)
                DeleteAt(context, position);
            else
                CopyAt(context, position);

            Calendar view(calendar);
            Calendar::choose(view.popupOn(line, dec9), op.command);
            EXPECT_EQ(calendar.result(), list.result());
            EXPECT_EQ(view.changes, calendar.doc->isChanged() ? 1 : 0);
        }
    }
}

TEST(CalendarPopup, DeletingASingleAppointmentAsksByItsText)
{
    Side side({"12/9/2026 Dentist with a very long description"}, dec7, dec7);
    Calendar view(side);
    side.prompter.pushAnswer(Prompter::Answer::Cancel);
    Calendar::choose(view.popupOn(0, dec9), calendarDelete);
    ASSERT_EQ(side.prompter.asked().size(), 1u);
    EXPECT_EQ(side.prompter.asked()[0].text, QStringLiteral("Delete Dentist with a very ...?"));
    EXPECT_EQ(side.doc->lines()[0].text, "12/9/2026 Dentist with a very long description");
}

TEST(CalendarPopup, EditAddAndPasteOpenTheDialogOnTheSelectedDay)
{
    Side side({"12/9/2026 Dentist"}, dec7, dec7);
    Calendar view(side);
    side.clipboard.held = "* call Bob";
    Calendar::choose(view.popupOn(0, dec9), Cm::EditAppt);
    Calendar::choose(view.popupOn(0, dec9), 670);
    Calendar::choose(view.popupOn(0, dec9), Cm::EditPaste);
    const std::string day = FormatDate(dec9, side.doc->dateSettings());
    ASSERT_EQ(view.edits.size(), 3u);
    EXPECT_EQ(view.edits[0].line, 0);
    EXPECT_EQ(view.edits[0].text, "12/9/2026 Dentist");
    EXPECT_EQ(view.edits[1].line, -1);
    EXPECT_EQ(view.edits[1].text, day);
    EXPECT_EQ(view.edits[2].line, -1);
    EXPECT_EQ(view.edits[2].text.find(day), 0u);
    EXPECT_NE(view.edits[2].text.find("call Bob"), std::string::npos);
    for (const Calendar::Edit &e : view.edits)
        EXPECT_EQ(e.date, dec9);
}

// The clock passes midnight while the popup is open and every document is rebuilt for the
// new day: the operation acts on the captured entry when it is still placed, and otherwise
// beeps and changes nothing.
TEST(CalendarPopup, MidnightWhileThePopupIsOpenChangesNoOtherLine)
{
    const TDate dec31(31, 12, 2026);
    const TDate jan1(1, 1, 2027);
    const std::vector<std::string> party = {"12/31/2026 Party", "1/1/2027 Brunch"};
    const struct
    {
        const char *name;
        TDate before;
        TDate after;
        bool stillPlaced; // the popup's day is still in the new window
    } days[] = {{"within the month", TDate(30, 12, 2026), dec31, true},
                {"into the new year", dec31, jan1, false}};
    const Op ops[] = {{"done", calendarMarkDone, std::nullopt},
                      {"delete", calendarDelete, std::nullopt},
                      {"copy", calendarCopy, std::nullopt},
                      {"edit", Cm::EditAppt, std::nullopt}};
    for (const auto &d : days) {
        for (const Op &op : ops) {
            SCOPED_TRACE(std::string(d.name) + " " + op.name);
            const TDate start = d.before;
            Side side(party, start, start);
            side.prompter.pushAnswer(Prompter::Answer::Ok);
            Calendar view(side);
            QMenu *menu = view.popupOn(0, dec31);
            ASSERT_TRUE(view.view->captured().has_value());
            side.doc->setWindow(DateWindow::make(d.after, d.after, 30));
            side.doc->Rescan();
            Calendar::choose(menu, op.command);
            EXPECT_EQ(side.doc->lines()[1].text, "1/1/2027 Brunch");
            if (d.stillPlaced) {
                EXPECT_EQ(side.beeper.beeps, 0);
                continue;
            }
            EXPECT_EQ(side.doc->lines()[0].text, "12/31/2026 Party");
            EXPECT_EQ(side.beeper.beeps, 1);
            EXPECT_FALSE(side.doc->isChanged());
            EXPECT_FALSE(side.clipboard.held.has_value());
            EXPECT_TRUE(view.edits.empty());
        }
    }
}

} // namespace
