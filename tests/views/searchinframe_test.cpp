// Search, screen, the filters, the categories and the view toggles in the main window:
// chosen as the menu chooses them, with the dialogs answered by the test.
#include "entryfakes.h"
#include "framefixture.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwmdichild.h"
#include "shell/dvwmdiclient.h"
#include "shell/windowlayout.h"
#include "store/startdate.h"
#include "views/categorydialogs.h"
#include "views/monthviews.h"
#include "views/searchdialogs.h"
#include "views/searchinstall.h"
#include "views/tapptview.h"
#include "viewtesthelpers.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

class SearchInFrame : public test::FrameFixture
{
protected:
    void writeFile(const QString &name, const QByteArray &text)
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void start(const QByteArray &fileText)
    {
        writeFile(QStringLiteral("NOTES.APT"), fileText);
        makeFrame({"dayvane", "NOTES.APT"});
        frame->resize(900, 700);
        FeatureServices services;
        services.beeper = beeper;
        services.runDialog = [this](QDialog &dialog) {
            ++dialogsRun;
            const bool ok = answer ? answer(dialog) : false;
            ok ? dialog.accept() : dialog.reject();
            return dialog.result() == QDialog::Accepted;
        };
        services = completeServices(*frame, services);
        InstallViews(*frame, services);
        InstallSearch(*frame, services);
        InstallEntryOps(*frame, services);
        frame->showAtStart();
        frame->openStartFile();
    }
    TApptDocument &doc(int i = 0) const { return *frame->documents().document(i); }
    dvwMDIChild *window(ViewSlot slot, int i = 0) const
    {
        return frame->documents().viewWindow(doc(i), slot);
    }
    TApptView *list(int i = 0) const
    {
        dvwMDIChild *w = window(ListViewSlot, i);
        return w ? qobject_cast<TApptView *>(w->widget()) : nullptr;
    }
    // Answers the next dialog by typing into its edit and pressing OK.
    void typeInto(const char *editName, const QString &text)
    {
        answer = [editName, text](QDialog &dialog) {
            auto *edit = dialog.findChild<QLineEdit *>(QString::fromLatin1(editName));
            EXPECT_NE(edit, nullptr) << editName;
            if (edit)
                edit->setText(text);
            return edit != nullptr;
        };
    }
    int entries(int i = 0) const
    {
        int n = 0;
        for (const IndexTy &e : doc(i).engine().index())
            n += e.kind == DatedEntry || e.kind == NoteEntry;
        return n;
    }
    int lineAtCursor() const
    {
        return doc().engine().index()[static_cast<std::size_t>(list()->cursorLine())].value;
    }

    std::shared_ptr<test::CountingBeeper> beeper = std::make_shared<test::CountingBeeper>();
    std::function<bool(QDialog &)> answer;
    int dialogsRun = 0;
};

// The cursor starts on the first entry, and Next looks after it.
const QByteArray dentistFile = "12/7/2026 first\r\n12/8/2026 Call the Dentist\r\n"
                               "12/9/2026 lunch \\*dentist code\r\n"
                               "12/10/2026 dentist again\r\n";

TEST_F(SearchInFrame, FindIgnoresCaseMatchesCodesAndNextStopsAtTheLastMatch)
{
    start(dentistFile);
    ASSERT_NE(list(), nullptr);
    typeInto("searchEdit", QStringLiteral("DENTIST"));
    frame->runCommand(Cm::Find);
    EXPECT_EQ(app->filters().searchText, "DENTIST");
    EXPECT_EQ(lineAtCursor(), 1);
    // The match's day heading is the top row.
    EXPECT_EQ(list()->topRow(), list()->rowRules().headingAbove(list()->cursorLine()));
    QTest::keyClick(list(), Qt::Key_N);
    EXPECT_EQ(lineAtCursor(), 2); // inside the category code
    frame->runCommand(Cm::FindNext);
    EXPECT_EQ(lineAtCursor(), 3);
    const int last = list()->cursorLine();
    frame->runCommand(Cm::FindNext);
    EXPECT_EQ(beeper->beeps, 1);
    EXPECT_EQ(list()->cursorLine(), last); // no wrap to the first match
    // Cancel keeps the search text.
    answer = nullptr;
    frame->runCommand(Cm::Find);
    EXPECT_EQ(app->filters().searchText, "DENTIST");
}

TEST_F(SearchInFrame, NextInTheCalendarGoesToTheNextDayWithAMatch)
{
    start(dentistFile);
    frame->runCommand(Cm::ViewCalendar);
    auto *calendar = qobject_cast<TCalendarView *>(window(CalendarViewSlot)->widget());
    ASSERT_NE(calendar, nullptr);
    calendar->selectDate(TDate(8, 12, 2026), false);
    typeInto("searchEdit", QStringLiteral("dentist"));
    frame->runCommand(Cm::Find);
    EXPECT_EQ(calendar->selectedDate(), TDate(9, 12, 2026));
    QTest::keyClick(calendar, Qt::Key_N);
    EXPECT_EQ(calendar->selectedDate(), TDate(10, 12, 2026));
    QTest::keyClick(calendar, Qt::Key_N);
    EXPECT_EQ(beeper->beeps, 1);
    EXPECT_EQ(calendar->selectedDate(), TDate(10, 12, 2026));
}

TEST_F(SearchInFrame, ScreenOfNothingLeavesAnEmptyListUntilRestore)
{
    start(dentistFile);
    writeFile(QStringLiteral("OTHER.APT"), "12/8/2026 other file\r\n");
    ASSERT_TRUE(frame->documents().openPath(dir.filePath(QStringLiteral("OTHER.APT"))));
    ASSERT_EQ(frame->documents().count(), 2);
    EXPECT_FALSE(frame->action(Cm::Restore)->isEnabled());
    typeInto("screenEdit", QStringLiteral("no such text"));
    frame->runCommand(Cm::Screen);
    EXPECT_EQ(entries(0), 0);
    EXPECT_EQ(entries(1), 0); // every document at once
    EXPECT_TRUE(frame->action(Cm::Restore)->isEnabled());

    // Keys on the empty list change nothing and ask nothing.
    const std::string bytes = doc().FileBytes();
    frame->client()->setActiveSubWindow(window(ListViewSlot));
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_Space,
                        Qt::Key_Delete, Qt::Key_M})
        QTest::keyClick(list(), key);
    EXPECT_EQ(doc().FileBytes(), bytes);
    EXPECT_FALSE(doc().isChanged());
    EXPECT_TRUE(prompter.asked().empty());

    frame->runCommand(Cm::Restore);
    EXPECT_EQ(entries(0), 4);
    EXPECT_EQ(entries(1), 1);
    EXPECT_EQ(list()->cursorLine(), 1);
    EXPECT_FALSE(frame->action(Cm::Restore)->isEnabled());
    // The screen text stays for the next Screen, and a screen shows only its matches.
    EXPECT_EQ(app->filters().screenText, "no such text");
    typeInto("screenEdit", QStringLiteral("DENTIST"));
    frame->runCommand(Cm::Screen);
    EXPECT_EQ(entries(0), 3);
    EXPECT_EQ(list()->cursorLine(), 1);
}

TEST_F(SearchInFrame, TypedTextsAreCutOnWholeCharacters)
{
    start(dentistFile);
    const QString euros(150, QChar(0x20AC)); // three UTF-8 bytes each
    typeInto("searchEdit", euros);
    frame->runCommand(Cm::Find);
    typeInto("screenEdit", euros);
    frame->runCommand(Cm::Screen);
    EXPECT_EQ(QString::fromStdString(app->filters().searchText), QString(99, QChar(0x20AC)));
    EXPECT_EQ(QString::fromStdString(app->filters().screenText), QString(79, QChar(0x20AC)));
}

TEST_F(SearchInFrame, PriorityLevelAndUnprioritisedEntries)
{
    start("12/8/2026 none\r\n\\1 12/8/2026 one\r\n\\2 12/8/2026 two\r\n\\3 12/8/2026 three\r\n");
    EXPECT_EQ(frame->action(Cm::PriorityLevel)->text(), QStringLiteral("Priority level = 4"));
    // The dialog opens with 4 whatever the level is.
    for (const char *button : {"priority2", "priority1", "priority2"}) {
        answer = [button](QDialog &dialog) {
            EXPECT_TRUE(dialog.findChild<QRadioButton *>(QStringLiteral("priority4"))->isChecked());
            dialog.findChild<QRadioButton *>(QString::fromLatin1(button))->setChecked(true);
            return true;
        };
        frame->runCommand(Cm::PriorityLevel);
    }
    EXPECT_EQ(app->filters().priorityLevel, 2);
    EXPECT_EQ(frame->action(Cm::PriorityLevel)->text(), QStringLiteral("Priority level = 2"));
    EXPECT_EQ(entries(), 3);
    QAction *unprioritised = frame->action(Cm::ShowUnprioritized);
    EXPECT_TRUE(unprioritised->isChecked());
    unprioritised->trigger();
    EXPECT_FALSE(unprioritised->isChecked());
    EXPECT_EQ(entries(), 2);
    unprioritised->trigger();
    EXPECT_TRUE(unprioritised->isChecked());
    EXPECT_EQ(entries(), 3);
}

TEST_F(SearchInFrame, StartDateIgnoresIncompleteDatesAndMovesEveryWindow)
{
    start(dentistFile);
    writeFile(QStringLiteral("OTHER.APT"), "12/8/2026 other file\r\n");
    ASSERT_TRUE(frame->documents().openPath(dir.filePath(QStringLiteral("OTHER.APT"))));
    const TDate today = app->dateWindow().today;
    for (const char *typed : {"12/25", "?/15", "2/30/99", "1/1/99999", ""}) {
        answer = [typed](QDialog &dialog) {
            auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("startDateEdit"));
            edit->setText(QString::fromLatin1(typed));
            EXPECT_EQ(dialog.findChild<QLineEdit *>(QStringLiteral("weekdayEdit"))->text(),
                      QString())
                << typed;
            return true;
        };
        frame->runCommand(Cm::StartDate);
        EXPECT_EQ(app->dateWindow().start, today) << typed;
    }
    answer = [](QDialog &dialog) {
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("startDateEdit"));
        auto *weekday = dialog.findChild<QLineEdit *>(QStringLiteral("weekdayEdit"));
        EXPECT_EQ(weekday->text(), QStringLiteral("Mon")); // opens with today, 7 December
        edit->setText(QStringLiteral("12/24/2026"));
        EXPECT_EQ(weekday->text(), QStringLiteral("Thu"));
        dialog.findChild<QScrollBar *>(QStringLiteral("dayScrollBar"))
            ->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(weekday->text(), QStringLiteral("Fri"));
        return true;
    };
    frame->runCommand(Cm::StartDate);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(doc(i).window().start, TDate(25, 12, 2026));
        EXPECT_EQ(doc(i).window().leadInStart, TDate(1, 12, 2026));
    }
    EXPECT_EQ(
        frame->action(Cm::StartDate)->text(),
        QStringLiteral("Start date: ")
            + QString::fromStdString(StartDateText(TDate(25, 12, 2026), doc().dateSettings())));
}

// The items of the selection dialog the next time it opens, and the answer it gets.
TEST_F(SearchInFrame, CategorySelectionTakesEffectOnOkAndCancelRestoresEverything)
{
    start("\\C!HOME,3= Family\r\n\\CGYM=no marker place\r\n\\*HOME 12/8/2026 dinner\r\n"
          "\\*GYM 12/8/2026 run\r\n12/8/2026 plain\r\n");
    const std::string bytes = doc().FileBytes();
    EXPECT_EQ(entries(), 2);
    const std::vector<IndexTy> index = doc().engine().index();

    // Cancel after several changes.
    answer = [](QDialog &dialog) {
        auto *list = dialog.findChild<QListWidget *>(QStringLiteral("categoryList"));
        EXPECT_EQ(list->count(), 4);
        list->item(0)->setSelected(true);
        list->item(1)->setSelected(false);
        list->item(2)->setSelected(false);
        list->item(3)->setSelected(true);
        return false;
    };
    frame->runCommand(Cm::SelectCategories);
    EXPECT_EQ(doc().FileBytes(), bytes);
    EXPECT_FALSE(doc().isChanged());
    EXPECT_FALSE(doc().showsAllCategories());
    EXPECT_TRUE(doc().showsDefaultCategory());
    ASSERT_EQ(doc().engine().index().size(), index.size());
    for (std::size_t i = 0; i < index.size(); ++i)
        EXPECT_EQ(doc().engine().index()[i].value, index[i].value);

    // OK: GYM (item 2, in code order) selected, where a marker place is made; HOME deselected.
    answer = [](QDialog &dialog) {
        auto *list = dialog.findChild<QListWidget *>(QStringLiteral("categoryList"));
        list->item(2)->setSelected(true);
        list->item(3)->setSelected(false);
        return true;
    };
    frame->runCommand(Cm::SelectCategories);
    EXPECT_EQ(doc().lines()[0].text, "\\C HOME,3= Family");
    EXPECT_EQ(doc().lines()[1].text, "\\C!GYM=no marker place");
    EXPECT_TRUE(doc().isChanged());
    EXPECT_EQ(entries(), 2);
    EXPECT_EQ(test::positionOfLine(doc(), 2), -1); // HOME's dinner has gone
    EXPECT_GE(test::positionOfLine(doc(), 3), 0);
    EXPECT_EQ(list()->cursorLine(), 1);
}

TEST_F(SearchInFrame, NewCategoryIsInTheSelectionListAtOnce)
{
    start(dentistFile);
    answer = [](QDialog &dialog) {
        dialog.findChild<QLineEdit *>(QStringLiteral("categoryCodeEdit"))->setText("trips");
        dialog.findChild<QLineEdit *>(QStringLiteral("categoryDescriptionEdit"))->setText("Travel");
        return true;
    };
    frame->runCommand(Cm::NewCategory);
    EXPECT_EQ(doc().lines().back().text, "\\C trip=Travel");
    EXPECT_TRUE(doc().isChanged());
    ASSERT_EQ(doc().categories().size(), 1u);
    QString shown;
    answer = [&shown](QDialog &dialog) {
        auto *list = dialog.findChild<QListWidget *>(QStringLiteral("categoryList"));
        EXPECT_EQ(list->count(), 3);
        shown = list->item(2)->data(TCatListBox::CodeRole).toString() + "|"
            + list->item(2)->data(TCatListBox::DescriptionRole).toString();
        EXPECT_FALSE(list->item(2)->isSelected());
        return false;
    };
    frame->runCommand(Cm::SelectCategories);
    EXPECT_EQ(shown, QStringLiteral("TRIP|Travel"));
}

TEST_F(SearchInFrame, ViewTogglesNeverCloseTheDocumentOrAsk)
{
    start(dentistFile);
    doc().setChanged(true);
    TApptDocument *const opened = &doc();
    const auto fixedHolds = [this] {
        const FixedLayout fixed = FixedLayoutFor(frame->client()->viewport()->size(), 200, 200);
        EXPECT_EQ(window(ListViewSlot)->geometry(), fixed.list);
        EXPECT_EQ(window(MonthPaneSlot)->geometry(), fixed.month);
        EXPECT_EQ(window(CurrentPaneSlot)->geometry(), fixed.current);
    };
    ASSERT_NE(window(MonthPaneSlot), nullptr);
    fixedHolds();
    for (int round = 0; round < 2; ++round) {
        frame->runCommand(Cm::ViewCalendar);
        ASSERT_NE(window(CalendarViewSlot), nullptr);
        EXPECT_EQ(window(ListViewSlot), nullptr);
        EXPECT_TRUE(frame->action(Cm::ViewCalendar)->isChecked());
        EXPECT_FALSE(frame->action(Cm::ViewAppointment)->isChecked());
        frame->runCommand(round == 0 ? Cm::ViewCalendar : Cm::ViewAppointment);
        EXPECT_EQ(window(CalendarViewSlot), nullptr);
        ASSERT_NE(list(), nullptr);
        EXPECT_TRUE(frame->action(Cm::ViewAppointment)->isChecked());
        fixedHolds();
    }
    // The file view takes the document alone in the same way, and gives it back.
    frame->runCommand(Cm::ViewFile);
    ASSERT_NE(window(FileViewSlot), nullptr);
    EXPECT_EQ(window(ListViewSlot), nullptr);
    EXPECT_TRUE(frame->action(Cm::ViewFile)->isChecked());
    frame->runCommand(Cm::ViewFile);
    EXPECT_EQ(window(FileViewSlot), nullptr);
    ASSERT_NE(list(), nullptr);
    EXPECT_FALSE(frame->action(Cm::ViewFile)->isChecked());
    fixedHolds();
    EXPECT_EQ(frame->documents().count(), 1);
    EXPECT_EQ(&doc(), opened);
    EXPECT_TRUE(doc().isChanged());
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(SearchInFrame, DocumentLeftWithItsCurrentPaneGetsItsListBack)
{
    start(dentistFile);
    for (ViewSlot slot : {ListViewSlot, MonthPaneSlot}) {
        window(slot)->close();
        QTest::qWait(0);
    }
    ASSERT_EQ(frame->documents().count(), 1);
    ASSERT_EQ(list(), nullptr);
    EXPECT_FALSE(frame->action(Cm::ViewAppointment)->isChecked());
    frame->runCommand(Cm::ViewAppointment);
    ASSERT_NE(list(), nullptr);
    ASSERT_NE(window(MonthPaneSlot), nullptr);
    EXPECT_TRUE(frame->action(Cm::ViewAppointment)->isChecked());

    // The V key: from the pane to the calendar, and from there to the list.
    window(ListViewSlot)->close();
    window(MonthPaneSlot)->close();
    QTest::qWait(0);
    QWidget *pane = window(CurrentPaneSlot)->widget();
    QTest::keyClick(pane->focusProxy() ? pane->focusProxy() : pane, Qt::Key_V);
    ASSERT_NE(window(CalendarViewSlot), nullptr);
    QTest::keyClick(window(CalendarViewSlot)->widget(), Qt::Key_V);
    EXPECT_NE(list(), nullptr);
    EXPECT_EQ(window(CalendarViewSlot), nullptr);
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(SearchInFrame, SecondDocumentClosesThePanes)
{
    start(dentistFile);
    ASSERT_NE(window(MonthPaneSlot), nullptr);
    writeFile(QStringLiteral("OTHER.APT"), "12/8/2026 other file\r\n");
    ASSERT_TRUE(frame->documents().openPath(dir.filePath(QStringLiteral("OTHER.APT"))));
    for (int i = 0; i < 2; ++i) {
        EXPECT_NE(window(ListViewSlot, i), nullptr) << i;
        EXPECT_EQ(window(MonthPaneSlot, i), nullptr) << i;
        EXPECT_EQ(window(CurrentPaneSlot, i), nullptr) << i;
    }
    // With two documents the appointment view opens no panes.
    frame->client()->setActiveSubWindow(window(ListViewSlot, 0));
    frame->runCommand(Cm::ViewAppointment);
    EXPECT_EQ(window(MonthPaneSlot, 0), nullptr);
}

} // namespace
