#include "platform/clock.h"
#include "platform/filechooser.h"
#include "platform/helpbook.h"
#include "platform/scriptedprompter.h"
#include "settings/platformprobe.h"
#include "shell/commands.h"
#include "shell/commandtable.h"
#include "shell/contexthelpfilter.h"
#include "shell/dvwaboutdlg.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdiclient.h"
#include "shell/hintstatusbar.h"
#include "shell/tdvdecoratedmdiframe.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>

using namespace dvw;

namespace {

class MainWindow : public ::testing::Test
{
protected:
    MainWindow()
        : clock(QDateTime(QDate(2026, 12, 7), QTime(9, 5)))
        , probe(1024, 0)
        , settingsDir(useOwnSettings())
        , app(ParseCommandLine({"dayvane"}),
              {prompter, files, clock, probe, QStringLiteral(DVW_HELP_SOURCE_DIR)})
        , frame(app)
    {
        frame.resize(900, 600);
        frame.show();
        (void)QTest::qWaitForWindowExposed(&frame);
    }

    QLabel *field(const char *name) const
    {
        return frame.findChild<QLabel *>(QString::fromLatin1(name));
    }
    QMenu *menu(const char *name) const
    {
        return frame.findChild<QMenu *>(QString::fromLatin1(name));
    }

    static std::unique_ptr<QTemporaryDir> useOwnSettings()
    {
        auto dir = std::make_unique<QTemporaryDir>();
        qputenv("DAYVANE_CONFIG_DIR", dir->path().toLocal8Bit());
        return dir;
    }

    ScriptedPrompter prompter;
    ScriptedFileChooser files;
    ManualClock clock;
    FixedProbe probe;
    std::unique_ptr<QTemporaryDir> settingsDir;
    dvwApp app;
    TDVDecoratedMDIFrame frame;
};

} // namespace

TEST_F(MainWindow, StatusBarShowsTheDateAndTimeOfEachClockTick)
{
    ASSERT_NE(field("dateField"), nullptr);
    EXPECT_EQ(field("dateField")->text(), QStringLiteral("Monday   December 7, 2026"));
    EXPECT_EQ(field("timeField")->text(), QStringLiteral("9:05 A.M."));

    clock.set(QDateTime(QDate(2027, 1, 1), QTime(14, 30)));
    frame.client()->tick();
    EXPECT_EQ(field("dateField")->text(), QStringLiteral("Friday   January 1, 2027"));
    EXPECT_EQ(field("timeField")->text(), QStringLiteral("2:30 P.M."));

    EXPECT_TRUE(frame.client()->clockTimer().isActive());
    EXPECT_EQ(frame.client()->clockTimer().interval(), 5000);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Dayvane"));
}

TEST_F(MainWindow, MenuBarHasEveryCommandWithItsHint)
{
    const auto menus = frame.menuBar()->actions();
    ASSERT_EQ(menus.size(), 9);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(menus[7]->text(), QStringLiteral("Confi&Gure"));
    EXPECT_EQ(menus[0]->statusTip(), QStringLiteral("File/document operations"));

    for (int command : MenuCommands(MainMenu())) {
        QAction *act = frame.findChild<QAction *>(QStringLiteral("action%1").arg(command));
        ASSERT_NE(act, nullptr) << command;
        const MenuEntry *entry = FindCommand(MainMenu(), command);
        EXPECT_EQ(act->text().toStdString(), entry->text) << command;
        EXPECT_EQ(act->statusTip().toStdString(), entry->hint) << command;
    }
    EXPECT_EQ(frame.action(Cm::EditCut)->shortcut(), QKeySequence(QStringLiteral("Shift+Del")));
    EXPECT_EQ(frame.action(Cm::EditClear)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Del")));
    EXPECT_EQ(frame.action(Cm::Exit)->shortcut(), QKeySequence(QStringLiteral("Alt+F4")));
}

TEST_F(MainWindow, HighlightedItemShowsItsHintInTheMessageArea)
{
    frame.action(Cm::FilePrint)->showStatusText(&frame);
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Print this document"));
    frame.findChild<QMenu *>(QStringLiteral("menuConfiGure"))->menuAction()->showStatusText(&frame);
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Configuration options"));
}

TEST_F(MainWindow, ALongHintTakesTheFreeWidthAndIsElidedBeforeTheFields)
{
    auto *bar = qobject_cast<HintStatusBar *>(frame.statusBar());
    ASSERT_NE(bar, nullptr);
    QLabel *date = field("dateField");
    for (int width : {500, 640, 900, 1400}) {
        SCOPED_TRACE(width);
        frame.resize(width, 480);
        QApplication::processEvents();
        const QRect fields = date->geometry().united(field("alarmField")->geometry());
        bar->clearMessage();
        const QImage before = bar->grab(fields).toImage();
        for (const QString &hint :
             {QStringLiteral("Print this document"),
              QStringLiteral("Print this document, every day of the window, in columns ")
                  .repeated(4)}) {
            bar->showMessage(hint);
            // Nothing of the hint shows through the fields.
            EXPECT_EQ(bar->grab(fields).toImage(), before);
            const QRect area = bar->hintRect();
            EXPECT_LT(area.right(), date->x());
            const QString shown = bar->shownHint();
            EXPECT_LE(bar->fontMetrics().horizontalAdvance(shown), area.width());
            const bool fits = bar->fontMetrics().horizontalAdvance(hint) <= area.width();
            if (fits) {
                EXPECT_EQ(shown, hint);
            } else {
                EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
                EXPECT_TRUE(hint.startsWith(shown.chopped(1)));
            }
        }
    }
    // The free width is all left of the fields: a wider window shows more of the hint.
    EXPECT_GE(bar->hintRect().width(), date->x() - 20);
}

TEST_F(MainWindow, CommandsOfLaterWorkAreDisabledAndTheShellsOwnEnabled)
{
    for (int command : {Cm::FilePrint, Cm::InsertAppt, Cm::Find, Cm::ViewCalendar,
                        Cm::SelectCategories, Cm::ShowAlarms, 345, Cm::EditClear})
        EXPECT_FALSE(frame.action(command)->isEnabled()) << command;
    for (int command : {Cm::Exit, Cm::HelpContents, Cm::HelpUsing, Cm::HelpAbout})
        EXPECT_TRUE(frame.action(command)->isEnabled()) << command;
}

TEST_F(MainWindow, ButtonBarFollowsTheTable)
{
    auto *bar = frame.findChild<QToolBar *>(QStringLiteral("buttonBar"));
    ASSERT_NE(bar, nullptr);
    const auto actions = bar->actions();
    ASSERT_EQ(static_cast<std::size_t>(actions.size()), ButtonBar().size());
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const int command = ButtonBar()[static_cast<std::size_t>(i)];
        if (command == 0)
            EXPECT_TRUE(actions[i]->isSeparator()) << i;
        else
            EXPECT_EQ(actions[i], frame.action(command)) << i;
    }
}

TEST_F(MainWindow, ContextHelpShowsTheTopicOfTheChosenCommandInsteadOfRunningIt)
{
    QSignalSpy carriedOut(&frame, &TDVDecoratedMDIFrame::commandCarriedOut);
    QTest::keyClick(&frame, Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_TRUE(frame.inContextHelp());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
    // Even commands not available yet can be asked about.
    EXPECT_TRUE(frame.action(Cm::FilePrint)->isEnabled());

    QMenu *file = menu("menuFile");
    ASSERT_NE(file, nullptr);
    file->popup(frame.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); }));
    QTest::keyClick(file, Qt::Key_P); // "&Print..."

    ASSERT_TRUE(QTest::qWaitFor([this] { return app.help().window() != nullptr; }));
    EXPECT_EQ(app.help().currentPage(), QStringLiteral("topics.html#24337"));
    EXPECT_TRUE(app.help().window()->isVisible());
    EXPECT_FALSE(frame.inContextHelp());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(frame.action(Cm::FilePrint)->isEnabled());
    EXPECT_EQ(carriedOut.count(), 0);
}

TEST_F(MainWindow, ContextHelpOnExitKeepsTheWindowOpen)
{
    QTest::keyClick(&frame, Qt::Key_F1, Qt::ShiftModifier);
    frame.action(Cm::Exit)->trigger();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(app.help().currentPage(), QStringLiteral("topics.html#24310"));
}

TEST_F(MainWindow, EscEndsContextHelpAndTheNextChoiceRunsAgain)
{
    QTest::keyClick(&frame, Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_TRUE(frame.inContextHelp());
    QTest::keyClick(&frame, Qt::Key_Escape);
    EXPECT_FALSE(frame.inContextHelp());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QSignalSpy carriedOut(&frame, &TDVDecoratedMDIFrame::commandCarriedOut);
    frame.action(Cm::HelpUsing)->trigger();
    ASSERT_EQ(carriedOut.count(), 1);
    EXPECT_EQ(app.help().currentPage(), QStringLiteral("usinghelp.html"));
}

TEST_F(MainWindow, F1OpensTheHelpContents)
{
    QTest::keyClick(&frame, Qt::Key_F1);
    EXPECT_EQ(app.help().currentPage(), QStringLiteral("index.html"));
    EXPECT_TRUE(app.help().wasOpened());
    ASSERT_NE(app.help().window(), nullptr);
    EXPECT_TRUE(app.help().window()->toPlainText().contains(QStringLiteral("Dayvane help")));
}

TEST_F(MainWindow, ChoiceWhileF1IsHeldDownShowsTheTopic)
{
    QSignalSpy carriedOut(&frame, &TDVDecoratedMDIFrame::commandCarriedOut);
    QTest::keyPress(&frame, Qt::Key_F1);
    frame.action(Cm::HelpAbout)->trigger();
    EXPECT_EQ(app.help().currentPage(), QStringLiteral("topics.html#24389"));
    QTest::keyRelease(&frame, Qt::Key_F1);
    frame.action(Cm::HelpUsing)->trigger();
    EXPECT_EQ(app.help().currentPage(), QStringLiteral("usinghelp.html"));
    EXPECT_EQ(carriedOut.count(), 1);

    // A release lost to another program does not leave every choice showing help.
    QTest::keyPress(&frame, Qt::Key_F1);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(qApp, &deactivate);
    frame.action(Cm::HelpUsing)->trigger();
    EXPECT_EQ(carriedOut.count(), 2);
}

TEST_F(MainWindow, F1InAWindowWithAHelpContextShowsItsTopic)
{
    auto *view = new QLabel(QStringLiteral("list"));
    view->setFocusPolicy(Qt::StrongFocus);
    view->setProperty(ContextHelpFilter::helpContextProperty, 121);
    frame.client()->addSubWindow(view)->show();
    frame.activateWindow();
    view->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->hasFocus(); }));
    QTest::keyClick(view, Qt::Key_F1);
    EXPECT_EQ(app.help().currentPage(), QStringLiteral("topics.html#121"));
}

TEST_F(MainWindow, F1InAnOpenMenuShowsTheHighlightedItemsTopic)
{
    QMenu *help = menu("menuHelp");
    ASSERT_NE(help, nullptr);
    help->popup(frame.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitFor([help] { return help->isVisible(); }));
    help->setActiveAction(frame.action(Cm::HelpAbout));
    QTest::keyClick(help, Qt::Key_F1);
    EXPECT_EQ(app.help().currentPage(), QStringLiteral("topics.html#24389"));
    EXPECT_EQ(frame.findChild<dvwAboutDlg *>(), nullptr);
    EXPECT_FALSE(frame.inContextHelp());
}

TEST_F(MainWindow, AboutBoxShowsTheVersionLine)
{
    frame.runCommand(Cm::HelpAbout);
    auto *about = frame.findChild<dvwAboutDlg *>();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About dvw"));
    auto *version = about->findChild<QLabel *>(QStringLiteral("versionLine"));
    ASSERT_NE(version, nullptr);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Dayvane Version  \\d+\\.\\d+\\.\\d+$"))
                    .match(version->text())
                    .hasMatch())
        << version->text().toStdString();
    EXPECT_EQ(about->findChild<QLabel *>(QStringLiteral("productLine"))->text(),
              QStringLiteral("Dayvane"));
    about->accept();
}

TEST_F(MainWindow, ActiveViewMenuIsMergedAndRestored)
{
    MenuEntry edit {MenuEntry::Kind::Popup, "&Edit", 0, {}, {}, MenuGroup::Edit, {}};
    edit.entries = {{MenuEntry::Kind::Command,
                     "&Insert appointment",
                     Cm::InsertAppt,
                     {},
                     {},
                     MenuGroup::Edit,
                     {}}};
    frame.setViewMenu({edit});
    QMenu *merged = menu("menuEdit");
    ASSERT_NE(merged, nullptr);
    EXPECT_EQ(merged->actions().size(), 1);
    EXPECT_EQ(frame.menuBar()->actions().size(), 9);

    frame.setViewMenu({});
    EXPECT_EQ(menu("menuEdit")->actions().size(), 11);
}

TEST_F(MainWindow, ExitClosesTheMainWindow)
{
    frame.runCommand(Cm::Exit);
    EXPECT_FALSE(frame.isVisible());
}

TEST(HelpDirectory, ABuildFindsItsBookBesideItAndAnInstallUnderShare)
{
    struct Case
    {
        const char *name;
        QStringList made; // directories made under the temporary root
        QString expected; // relative to the root; empty: the source tree's book
    };
    const Case cases[] = {
        {"build tree", {"bin/help"}, "bin/help"},
        {"installed", {"bin", "share/dayvane/help"}, "share/dayvane/help"},
        {"both: the one beside wins", {"bin/help", "share/dayvane/help"}, "bin/help"},
        {"neither", {"bin", "share/dayvane"}, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        for (const QString &d : c.made)
            ASSERT_TRUE(QDir(root.path()).mkpath(d));
        const QString found = dvwApp::helpDirectoryFor(root.filePath(QStringLiteral("bin")));
        EXPECT_EQ(found,
                  c.expected.isEmpty() ? QStringLiteral(DVW_HELP_SOURCE_DIR)
                                       : QDir::cleanPath(root.filePath(c.expected)));
    }
}
