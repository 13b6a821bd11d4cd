// Every way a view changes the lines, through the real commands and keys, undone and redone
// with Ctrl+Z and Ctrl+Shift+Z: the file's bytes come back exactly, the changed mark follows,
// and the Undo item names the operation. And the file view while its file changes on disk.
#include "alarm/alarms.h"
#include "edit/edit.h"
#include "edit/tapptdialog.h"
#include "entryfakes.h"
#include "framefixture.h"
#include "history/livefiles.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwmdichild.h"
#include "shell/dvwmdiclient.h"
#include "store/fileoperations.h"
#include "views/entryinstall.h"
#include "views/fileview.h"
#include "views/monthviews.h"
#include "views/tapptview.h"
#include "views/tfileview.h"
#include "viewtesthelpers.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace dvw;

namespace {

constexpr int calendarMarkDone = 660;
constexpr int calendarDelete = 665;
const TDate dec9(9, 12, 2026);

class UndoAcrossViews : public test::FrameFixture
{
protected:
    void start(const QByteArray &fileText)
    {
        frame.reset();
        app.reset();
        write(QStringLiteral("NOTES.APT"), fileText);
        makeFrame({"dayvane", "NOTES.APT"});
        frame->resize(900, 700);
        FeatureServices services;
        services.beeper = beeper;
        services.clipboard = clipboard;
        services.chooseScope = [](QWidget *) { return false; };
        services.runDialog = [this](QDialog &dialog) {
            auto &d = dynamic_cast<TApptDialog &>(dialog);
            auto *edit = static_cast<QPlainTextEdit *>(d.control(201));
            if (typed) {
                edit->clear();
                QTest::keyClicks(edit, *typed);
            }
            QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
            return d.accepted();
        };
        installAll(services);
        frame->showAtStart();
        // Keys reach the frame's shortcuts only once the window is active, which the
        // platform reports after the window is shown.
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        frame->openStartFile();
        ASSERT_EQ(frame->documents().count(), 1);
    }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray read(const QString &name) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    TApptDocument &doc() const { return *frame->documents().document(0); }
    template<typename View>
    View *viewIn(ViewSlot slot) const
    {
        dvwMDIChild *window = frame->documents().viewWindow(doc(), slot);
        return window ? qobject_cast<View *>(window->widget()) : nullptr;
    }
    TFileView *fileView() const { return fileViewOf(*frame, doc()); }
    QString undoText() const { return frame->action(Cm::EditUndo)->text(); }

    // The change made, Ctrl+Z gives back the file's bytes and clears the changed mark;
    // Ctrl+Shift+Z brings the change back.
    void undoAndRedo(QWidget *keys, const std::string &before, const QString &step)
    {
        const std::string after = doc().FileBytes();
        ASSERT_NE(after, before) << "the operation changed nothing";
        EXPECT_TRUE(doc().isChanged());
        EXPECT_EQ(undoText(), QStringLiteral("&Undo %1\tCtrl+Z").arg(step));
        QTest::keyClick(keys, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(doc().FileBytes(), before);
        EXPECT_FALSE(doc().isChanged());
        EXPECT_EQ(frame->action(Cm::EditRedo)->text(),
                  QStringLiteral("&Redo %1\tCtrl+Shift+Z").arg(step));
        QTest::keyClick(keys, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(doc().FileBytes(), after);
        EXPECT_TRUE(doc().isChanged());
        doc().setChanged(false); // closing asks nothing
    }

    // Opens the calendar's popup on the line's entry on the date and chooses the command.
    void choose(TCalendarView &calendar, int line, int command)
    {
        calendar.selectDate(dec9, false);
        const int day = static_cast<int>(dec9.DayOfMonth());
        const MonthGrid grid = calendar.grid();
        const auto &entries = grid.days[static_cast<std::size_t>(day - 1)].entries;
        int index = 0;
        while (index < static_cast<int>(entries.size())
               && entries[static_cast<std::size_t>(index)].line != line)
            ++index;
        const GridGeometry g = calendar.geometry();
        QTest::mouseClick(calendar.viewport(), Qt::RightButton, {},
                          QPoint(g.cellRect(day).left + 5, g.entryTop(day, index) + 1));
        auto *menu = calendar.findChild<QMenu *>(QStringLiteral("calendarPopup"));
        ASSERT_NE(menu, nullptr);
        auto *item = menu->findChild<QAction *>(QStringLiteral("popup%1").arg(command));
        ASSERT_NE(item, nullptr);
        item->trigger();
        delete menu;
        // The platform gives a shown popup the activation and takes it from every window
        // when the popup goes; a desktop hands it back to the main window.
        QApplication::processEvents();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }

    std::shared_ptr<test::CountingBeeper> beeper = std::make_shared<test::CountingBeeper>();
    std::shared_ptr<test::FakeClipboard> clipboard = std::make_shared<test::FakeClipboard>();
    std::optional<QString> typed; // what the edit dialog is given; none: accepted as opened
};

const QByteArray fileLines = "12/9/2026 b\r\n12/8/2026 a\r\n!WED Gym\r\n";

TEST_F(UndoAcrossViews, FileViewChangesUndoToTheSameBytes)
{
    const struct
    {
        const char *name;
        std::function<void()> act;
        QString step;
    } cases[] = {
        {"delete a row",
         [this] {
             fileView()->setCurrentRow(1);
             QTest::keyClick(fileView(), Qt::Key_D);
         },
         "Delete appointment"},
        {"insert a raw line",
         [this] {
             typed = QStringLiteral("12/10/2026 new");
             fileView()->setCurrentRow(1);
             QTest::keyClick(fileView(), Qt::Key_I);
         },
         "Insert appointment"},
        {"edit a raw line",
         [this] {
             typed = QStringLiteral("12/11/2026 moved");
             QTest::keyClick(fileView(), Qt::Key_E);
         },
         "Edit appointment"},
        {"sort by date", [this] { frame->runCommand(Cm::FileSortByDate); }, "Sort by Date"},
        {"archive marked",
         [this] {
             QTest::keyClick(fileView(), Qt::Key_Space);
             prompter.pushAnswer(Prompter::Answer::Ok);
             frame->runCommand(Cm::FileArchive);
         },
         "Archive"},
        {"append from a file",
         [this] {
             write(QStringLiteral("OTHER.APT"), "* one\r\n* two\r\n");
             files.push(dir.filePath(QStringLiteral("OTHER.APT")));
             frame->runCommand(Cm::FileAppendFrom);
         },
         "append From"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        start(fileLines);
        typed.reset();
        frame->app().changeSetting("PROMPT", false);
        frame->runCommand(Cm::ViewFile);
        ASSERT_NE(fileView(), nullptr);
        c.act();
        undoAndRedo(fileView(), fileLines.toStdString(), c.step);
        EXPECT_EQ(fileView()->fileRows().count(), static_cast<int>(doc().lines().size()));
    }
    // Undo puts the archived lines back into the document only: the archive keeps its
    // copy (nothing is lost), and redoing takes them out again without a second copy.
    EXPECT_EQ(read(QStringLiteral("ARCHIVE.APT")), QByteArray("12/9/2026 b\r\n"));
}

TEST_F(UndoAcrossViews, SortingSortedLinesChangesNothing)
{
    start("12/8/2026 a\r\n12/9/2026 b\r\n");
    frame->runCommand(Cm::ViewFile);
    for (const int command : {Cm::FileSortByDate, Cm::FileSortByCategory}) {
        frame->runCommand(command);
        EXPECT_FALSE(doc().isChanged()) << command;
        EXPECT_FALSE(frame->action(Cm::EditUndo)->isEnabled()) << command;
    }
}

TEST_F(UndoAcrossViews, CalendarAndPasteChangesUndoUnderTheirNames)
{
    const struct
    {
        const char *name;
        std::function<QWidget *()> act; // the view that takes the keys
        QString step;
    } cases[] = {
        {"calendar delete",
         [this]() -> QWidget * {
             frame->runCommand(Cm::ViewCalendar);
             auto *calendar = viewIn<TCalendarView>(CalendarViewSlot);
             prompter.pushAnswer(Prompter::Answer::Ok);
             choose(*calendar, 0, calendarDelete);
             return calendar;
         },
         "Delete"},
        {"calendar done",
         [this]() -> QWidget * {
             frame->runCommand(Cm::ViewCalendar);
             auto *calendar = viewIn<TCalendarView>(CalendarViewSlot);
             choose(*calendar, 2, calendarMarkDone);
             return calendar;
         },
         "Mark as done/undone"},
        {"calendar paste",
         [this]() -> QWidget * {
             frame->runCommand(Cm::ViewCalendar);
             auto *calendar = viewIn<TCalendarView>(CalendarViewSlot);
             choose(*calendar, 0, Cm::EditPaste);
             return calendar;
         },
         "Paste"},
        {"month pane paste",
         [this]() -> QWidget * {
             auto *pane = viewIn<TMonthView>(MonthPaneSlot);
             pane->selectDate(dec9, true);
             QTest::keyClick(pane, Qt::Key_V, Qt::ControlModifier);
             return pane;
         },
         "Paste"},
        {"list paste",
         [this]() -> QWidget * {
             frame->runCommand(Cm::EditPaste);
             return viewIn<TApptView>(ListViewSlot);
         },
         "Paste"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        start(fileLines);
        typed.reset();
        clipboard->held = "* call Bob";
        frame->updateActions();
        QWidget *keys = c.act();
        ASSERT_NE(keys, nullptr);
        QApplication::processEvents(); // the views' refresh records nothing more
        undoAndRedo(keys, fileLines.toStdString(), c.step);
    }
}

// The keys reach the frame's Undo and Redo from whichever view has the focus; a view's own
// key handling (the list's Ctrl+letter keys, the pane's text) must not take them first.
TEST_F(UndoAcrossViews, UndoKeysWorkInEveryView)
{
    const struct
    {
        const char *name;
        ViewSlot slot;
        int open; // the command that opens the view; 0: open from the start
    } cases[] = {
        {"list", ListViewSlot, 0},
        {"calendar", CalendarViewSlot, Cm::ViewCalendar},
        {"month pane", MonthPaneSlot, 0},
        {"current pane", CurrentPaneSlot, 0},
        {"file view", FileViewSlot, Cm::ViewFile},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        start(fileLines);
        auto *list = viewIn<TApptView>(ListViewSlot);
        ASSERT_NE(list, nullptr);
        list->setCursorLine(test::positionOfLine(doc(), 1));
        frame->runCommand(Cm::MarkDone);
        if (c.open != 0)
            frame->runCommand(c.open);
        dvwMDIChild *window = frame->documents().viewWindow(doc(), c.slot);
        ASSERT_NE(window, nullptr);
        frame->client()->setActiveSubWindow(window);
        QWidget *keys = window->widget();
        if (auto *text = keys->findChild<QPlainTextEdit *>())
            keys = text;
        keys->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([keys] { return keys->hasFocus(); }));
        undoAndRedo(keys, fileLines.toStdString(), QStringLiteral("Mark appointment as done"));
    }
}

// Another program rewrites the file while the file view shows it: the rows are the new
// lines, the cursor stays on one, the old marks go with the lines they marked, and the
// document stays silent for the alarm check.
TEST_F(UndoAcrossViews, FileViewFollowsItsFileAndStaysSilent)
{
    start("12/7/2026 9:15 Meet\r\n* a\r\n* b\r\n* c\r\n");
    frame->runCommand(Cm::ViewFile);
    QTest::keyClick(fileView(), Qt::Key_Space);
    fileView()->setCurrentRow(3);
    const auto pane
        = [this] { return frame->findChild<QLabel *>(QStringLiteral("alarmField"))->text(); };
    EXPECT_EQ(pane(), QStringLiteral("Alarms disabled in this view"));
    QSignalSpy reloaded(frame->findChild<LiveFiles *>(QStringLiteral("liveFiles")),
                        &LiveFiles::reloaded);
    write(QStringLiteral("NOTES.APT"), "12/7/2026 9:20 Theirs\r\n* a\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return reloaded.count() == 1; }, 2000));
    EXPECT_EQ(fileView()->fileRows().count(), 2);
    EXPECT_EQ(fileView()->currentRow(), 1);
    EXPECT_EQ(CountMarked(doc()), 0);
    EXPECT_FALSE(frame->action(Cm::FileArchive)->isEnabled());
    fileView()->viewport()->grab(); // paints every row
    clock.set(QDateTime(QDate(2026, 12, 7), QTime(9, 20)));
    frame->client()->tick();
    EXPECT_EQ(pane(), QStringLiteral("Alarms disabled in this view"));
    auto *alarms = frame->findChild<AlarmController *>(QStringLiteral("alarmController"));
    ASSERT_NE(alarms, nullptr);
    EXPECT_TRUE(alarms->openWindows().empty());
    EXPECT_FALSE(frame->action(Cm::EditUndo)->isEnabled());
}

} // namespace
