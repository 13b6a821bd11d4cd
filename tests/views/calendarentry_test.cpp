// The calendar's popup commands act on the entry under the point where the popup opened,
// through the list's entry operations; a rebuild while the popup is open (the midnight
// tick) never makes them change another line.
#include "entryfakes.h"
#include "platform/scriptedprompter.h"
#include "shell/commands.h"
#include "shell/documentsignals.h"
#include "testdocuments.h"
#include "views/monthviews.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

constexpr int calendarCopy = 655;
constexpr int calendarMarkDone = 660;
constexpr int calendarDelete = 665;
const TDate dec7(7, 12, 2026);
const TDate dec9(9, 12, 2026);

// A document with its own prompter (answering OK), clipboard and delete-dialog answer, and
// what an operation left in them.
struct Side
{
    Side(const std::vector<std::string> &lines, TDate start)
        : doc(test::documentOf(lines, start, 30))
    {
        prompter.pushAnswer(Prompter::Answer::Ok);
    }
    EntryContext context()
    {
        return {*doc, prompter, beeper, clipboard, [this] { return scope; }, true};
    }
    auto result() const
    {
        std::vector<std::string> lines;
        for (const TimeString &t : doc->lines())
            lines.push_back(t.text);
        return std::tuple(lines, clipboard.held, beeper.beeps, doc->isChanged());
    }
    std::unique_ptr<TApptDocument> doc;
    ScriptedPrompter prompter;
    test::CountingBeeper beeper;
    test::FakeClipboard clipboard;
    std::optional<bool> scope;
};

// A calendar over a side's document with every entry command installed; its edit dialog
// records what it was opened on.
struct Calendar
{
    explicit Calendar(Side &side)
        : events(*side.doc)
    {
        ViewHost host;
        host.entryContext = [&side](TApptDocument &, QWidget *) { return side.context(); };
        host.editLine = [this](TApptDocument &, int line, const std::string &, const TDate &) {
            edited.push_back(line);
            return false;
        };
        view = std::make_unique<TCalendarView>(events, MonthViewSettings {}, host);
        view->resize(700, 500);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }
    // Opens the popup on the line's entry in its day's cell and chooses the command,
    // running `meanwhile` while the popup is open.
    void choose(int line, const TDate &date, int command, const std::function<void()> &meanwhile)
    {
        view->selectDate(date, false);
        const int day = static_cast<int>(date.DayOfMonth());
        const MonthGrid month = view->grid();
        const auto &entries = month.days[static_cast<std::size_t>(day - 1)].entries;
        int index = 0;
        while (index < static_cast<int>(entries.size())
               && entries[static_cast<std::size_t>(index)].line != line)
            ++index;
        const GridGeometry g = view->geometry();
        QTest::mouseClick(view->viewport(), Qt::RightButton, {},
                          QPoint(g.cellRect(day).left + 5, g.entryTop(day, index) + 1));
        auto *menu = view->findChild<QMenu *>(QStringLiteral("calendarPopup"));
        ASSERT_NE(menu, nullptr);
        auto *item = menu->findChild<QAction *>(QStringLiteral("popup%1").arg(command));
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->isEnabled());
        if (meanwhile)
            meanwhile();
        item->trigger();
        delete menu;
    }
    DocumentSignals events;
    std::unique_ptr<TCalendarView> view;
    std::vector<int> edited;
};

TEST(CalendarPopup, OperationsEqualTheListsOnTheSameEntry)
{
    const std::vector<std::string> lines
        = {"12/9/2026 Dentist", "!WED Gym", ">12/9/2026 Filed", "\\D12/9/2026 !WED Choir"};
    const struct
    {
        const char *name;
        int command;
        std::optional<bool> scope; // the delete dialog's answer
    } ops[] = {{"done", calendarMarkDone, std::nullopt},
               {"delete instance", calendarDelete, false},
               {"delete cycle", calendarDelete, true},
               {"delete cancelled", calendarDelete, std::nullopt},
               {"copy", calendarCopy, std::nullopt}};
    for (int line = 0; line < static_cast<int>(lines.size()); ++line) {
        for (const auto &op : ops) {
            SCOPED_TRACE(lines[static_cast<std::size_t>(line)] + " " + op.name);
            Side list(lines, dec7);
            Side calendar(lines, dec7);
            list.scope = calendar.scope = op.scope;
            std::int32_t position = 0;
            for (std::optional<EntryTarget> at; (!at || at->line != line) && position < 99;)
                at = targetAtPosition(*list.doc, ++position);
            EntryContext context = list.context();
            if (op.command == calendarMarkDone)
                MarkDoneAt(context, position);
            else if (op.command == calendarDelete)
                DeleteAt(context, position);
            else
                CopyAt(context, position);
            Calendar(calendar).choose(line, dec9, op.command, {});
            EXPECT_EQ(calendar.result(), list.result());
        }
    }
}

TEST(CalendarPopup, DeletingASingleAppointmentAsksByItsText)
{
    Side side({"12/9/2026 Dentist with a very long description"}, dec7);
    Calendar(side).choose(0, dec9, calendarDelete, {});
    ASSERT_EQ(side.prompter.asked().size(), 1u);
    EXPECT_EQ(side.prompter.asked()[0].text, QStringLiteral("Delete Dentist with a very ...?"));
    EXPECT_EQ(side.doc->lines()[0].text, "~12/9/2026 Dentist with a very long description");
}

// The clock passes midnight while the popup is open and the document is rebuilt for the
// new day: the command acts on the captured entry while it is still placed, and otherwise
// beeps and changes nothing.
TEST(CalendarPopup, MidnightWhileThePopupIsOpenChangesNoOtherLine)
{
    const TDate dec31(31, 12, 2026);
    const struct
    {
        const char *name;
        TDate before, after;
        bool stillPlaced;
    } days[] = {{"within the month", TDate(30, 12, 2026), dec31, true},
                {"into the new year", dec31, TDate(1, 1, 2027), false}};
    for (const auto &d : days) {
        for (int command : {calendarMarkDone, calendarDelete, calendarCopy, Cm::EditAppt}) {
            SCOPED_TRACE(std::string(d.name) + " " + std::to_string(command));
            Side side({"12/31/2026 Party", "1/1/2027 Brunch"}, d.before);
            Calendar calendar(side);
            calendar.choose(0, dec31, command, [&] {
                side.doc->setWindow(DateWindow::make(d.after, d.after, 30));
                side.doc->Rescan();
            });
            EXPECT_EQ(side.doc->lines()[1].text, "1/1/2027 Brunch");
            EXPECT_EQ(side.beeper.beeps, d.stillPlaced ? 0 : 1);
            EXPECT_EQ(calendar.edited.size(), d.stillPlaced && command == Cm::EditAppt ? 1u : 0u);
            if (!d.stillPlaced) {
                EXPECT_EQ(side.doc->lines()[0].text, "12/31/2026 Party");
                EXPECT_FALSE(side.doc->isChanged());
                EXPECT_FALSE(side.clipboard.held.has_value());
            }
        }
    }
}

} // namespace
