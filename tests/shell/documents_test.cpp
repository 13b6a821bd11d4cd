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

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

using namespace dvw;
using Answer = Prompter::Answer;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A main window started with the given arguments, in a fresh directory that is the
// current one while the test runs.
class Documents : public test::FrameFixture
{
protected:
    void start(std::vector<std::string> args = {"dayvane"})
    {
        makeFrame(args);
        frame->showAtStart();
        frame->openStartFile();
    }

    QString file(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    DVDocManager &docs() const { return frame->documents(); }
    std::string currentPath() const
    {
        return docs().current() ? docs().current()->path() : std::string("<none>");
    }
    QString lastText() const
    {
        return prompter.asked().empty() ? QString() : prompter.asked().back().text;
    }
};

} // namespace

TEST_F(Documents, StartOpensTheFileNamedOnTheCommandLine)
{
    writeAll(file("notes2.apt"), "3/5/99 Dentist\r\n");
    start({"dayvane", file("notes2.apt").toStdString()});
    ASSERT_EQ(docs().count(), 1);
    EXPECT_EQ(currentPath(), file("notes2.apt").toStdString());
    EXPECT_FALSE(docs().current()->isChanged());
    auto *lines = docs().windowOf(*docs().current())->findChild<QPlainTextEdit *>();
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->toPlainText(), QStringLiteral("3/5/99 Dentist"));
}

TEST_F(Documents, StartWithoutAFileStartsNotesAptInTheCurrentDirectory)
{
    start();
    ASSERT_EQ(docs().count(), 1);
    EXPECT_EQ(currentPath(), "NOTES.APT");
    EXPECT_EQ(docs().current()->lineTable().size(), 2u);
    EXPECT_TRUE(docs().current()->isChanged());
    EXPECT_FALSE(QFile::exists(file("NOTES.APT")));
}

TEST_F(Documents, FileRightAfterTheMinimiseSwitchIsNotOpened)
{
    writeAll(file("work.apt"), "3/5/99 Work\r\n");
    start({"dayvane", "-M", "work.apt"});
    EXPECT_TRUE(app->commandLine().minimised);
    EXPECT_EQ(currentPath(), "NOTES.APT");
}

TEST_F(Documents, ProfileThenFileOpensTheFile)
{
    writeAll(file("work.apt"), "3/5/99 Work\r\n");
    start({"dayvane", "-R", "2", "work.apt"});
    EXPECT_EQ(app->commandLine().profile, 2u);
    EXPECT_EQ(currentPath(), "work.apt");
}

TEST_F(Documents, SavePromptYesWritesTheFileAndCloses)
{
    start();
    prompter.pushAnswer(Answer::Yes);
    frame->runCommand(Cm::FileClose);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text,
              QStringLiteral("The document has been changed.\n\nDo you want to save the changes?"));
    EXPECT_EQ(docs().count(), 0);
    EXPECT_TRUE(readAll(file("NOTES.APT")).contains("New appointments file NOTES.APT started."));
}

TEST_F(Documents, SavePromptNoClosesWithoutWritingAndCancelKeepsTheDocument)
{
    start();
    prompter.pushAnswer(Answer::Cancel);
    frame->runCommand(Cm::FileClose);
    EXPECT_EQ(docs().count(), 1);
    EXPECT_TRUE(docs().current()->isChanged());

    prompter.pushAnswer(Answer::No);
    frame->runCommand(Cm::FileClose);
    EXPECT_EQ(docs().count(), 0);
    EXPECT_FALSE(QFile::exists(file("NOTES.APT")));
    EXPECT_EQ(prompter.unanswered(), 0);
}

TEST_F(Documents, CancelAtExitKeepsTheProgramRunning)
{
    start();
    prompter.pushAnswer(Answer::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(docs().count(), 1);

    prompter.pushAnswer(Answer::Yes);
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(QFile::exists(file("NOTES.APT")));
}

TEST_F(Documents, FailedSaveNamesThePathAndKeepsTheDocumentOpenAndChanged)
{
    const QString path = file("gone/NOTES.APT");
    start({"dayvane", path.toStdString()});
    ASSERT_EQ(docs().count(), 1);

    prompter.pushAnswer(Answer::Yes);
    frame->runCommand(Cm::FileClose);

    ASSERT_EQ(prompter.asked().size(), 2u);
    EXPECT_EQ(prompter.asked()[1].kind, ScriptedPrompter::Asked::Kind::Info);
    EXPECT_EQ(prompter.asked()[1].icon, Prompter::Icon::Stop);
    EXPECT_TRUE(lastText().contains(QStringLiteral("could not be saved")));
    EXPECT_TRUE(lastText().contains(path)) << lastText().toStdString();
    EXPECT_EQ(docs().count(), 1);
    EXPECT_TRUE(docs().current()->isChanged());
}

TEST_F(Documents, FileChangedOnDiskIsOverwrittenOnlyWhenTheUserAgrees)
{
    const QString path = file("NOTES.APT");
    writeAll(path, "3/5/99 mine\r\n");
    start();
    docs().current()->AppendLine("3/6/99 added");
    writeAll(path, "3/5/99 theirs, changed meanwhile\r\n");

    prompter.pushAnswer(Answer::No);
    frame->runCommand(Cm::FileSave);
    EXPECT_EQ(readAll(path), QByteArray("3/5/99 theirs, changed meanwhile\r\n"));
    EXPECT_TRUE(docs().current()->isChanged());
    EXPECT_TRUE(lastText().contains(QStringLiteral("changed by another program")));

    prompter.pushAnswer(Answer::Yes);
    frame->runCommand(Cm::FileSave);
    EXPECT_EQ(readAll(path), QByteArray("3/5/99 mine\r\n3/6/99 added\r\n"));
    EXPECT_EQ(readAll(file("NOTES.BAK")), QByteArray("3/5/99 theirs, changed meanwhile\r\n"));
    EXPECT_FALSE(docs().current()->isChanged());
}

TEST_F(Documents, ReadOnlyFileIsNotSavedAndSaveAsIsOffered)
{
    const QString path = file("NOTES.APT");
    writeAll(path, "3/5/99 mine\r\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    start();
    docs().current()->AppendLine("3/6/99 added");

    prompter.pushAnswer(Answer::Yes);
    files.push(file("copy"));
    frame->runCommand(Cm::FileSave);
    ASSERT_FALSE(prompter.asked().empty());
    EXPECT_TRUE(prompter.asked().front().text.contains(QStringLiteral("read-only")));
    EXPECT_EQ(readAll(path), QByteArray("3/5/99 mine\r\n"));
    EXPECT_EQ(readAll(file("copy.APT")), QByteArray("3/5/99 mine\r\n3/6/99 added\r\n"));
    EXPECT_EQ(currentPath(), file("copy.APT").toStdString());
    EXPECT_FALSE(docs().current()->isChanged());
}

TEST_F(Documents, SaveAsWritesTheNewFileAndRetitlesTheWindow)
{
    start();
    files.push(file("other"));
    frame->runCommand(Cm::FileSaveAs);
    EXPECT_EQ(currentPath(), file("other.APT").toStdString());
    EXPECT_TRUE(QFile::exists(file("other.APT")));
    EXPECT_EQ(docs().windowOf(*docs().current())->windowTitle(), QStringLiteral("other.APT[*]"));
    EXPECT_EQ(docs().windowOf(*docs().current())->statusTip(),
              QDir::toNativeSeparators(file("other.APT")));
    EXPECT_FALSE(docs().current()->isChanged());
}

TEST_F(Documents, NewIsUntitledAndSavingItAsksForAName)
{
    start();
    frame->runCommand(Cm::FileNew);
    ASSERT_EQ(docs().count(), 2);
    EXPECT_EQ(currentPath(), "");
    EXPECT_FALSE(docs().current()->isChanged());
    frame->runCommand(Cm::FileSave); // the name dialog is cancelled
    EXPECT_EQ(files.asked(), 1);
    EXPECT_EQ(currentPath(), "");
}

TEST_F(Documents, OpenAsksForAnAppointmentFileAndTilesSeveralDocuments)
{
    writeAll(file("b.apt"), "3/5/99 B\r\n");
    start();
    files.push(file("b.apt"));
    frame->runCommand(Cm::FileOpen);
    ASSERT_EQ(docs().count(), 2);
    EXPECT_EQ(currentPath(), file("b.apt").toStdString());
    // Opening it again shows the window it already has.
    EXPECT_TRUE(docs().openPath(file("b.apt")));
    EXPECT_EQ(docs().count(), 2);
    EXPECT_EQ(DVDocManager::filter(), QStringLiteral("Appointment Files (*.APT)"));
}

TEST_F(Documents, FileThatExistsButCannotBeReadIsNotOpened)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.APT")));
    start({"dayvane", file("folder.APT").toStdString()});
    EXPECT_EQ(docs().count(), 0);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_TRUE(lastText().contains(QStringLiteral("could not be opened")));
    EXPECT_TRUE(lastText().contains(file("folder.APT")));
}

TEST_F(Documents, DroppedFilesOpenOnlyWhenTheyAreAppointmentFiles)
{
    writeAll(file("list.txt"), "not appointments\n");
    writeAll(file("extra.apt"), "3/5/99 Extra\r\n");
    start();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file("list.txt")), QUrl::fromLocalFile(file("extra.apt"))});
    // A drop reaches the window its drag entered.
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &drop);
    ASSERT_EQ(docs().count(), 2);
    EXPECT_EQ(docs().document(1)->path(), file("extra.apt").toStdString());
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(Documents, WindowTitlesShowFileNamesAsTyped)
{
    const QString path = file("<b>x<i>[*].APT");
    writeAll(path, "3/5/99 A\r\n");
    start({"dayvane", path.toStdString()});
    ASSERT_EQ(docs().count(), 1);
    auto *window = docs().windowOf(*docs().current());
    // The name is shown as it is; only the last "[*]" is the changed mark.
    EXPECT_EQ(window->windowTitle(), QStringLiteral("<b>x<i>[*][*].APT[*]"));
}

TEST_F(Documents, CloseAllAsksForEachChangedDocument)
{
    start();
    frame->runCommand(Cm::FileNew);
    docs().current()->AppendLine("3/5/99 unsaved");
    prompter.pushAnswer(Answer::No);
    prompter.pushAnswer(Answer::No);
    frame->runCommand(Cm::CloseAll);
    EXPECT_EQ(docs().count(), 0);
    EXPECT_EQ(prompter.asked().size(), 2u);
    EXPECT_FALSE(frame->action(Cm::FileSave)->isEnabled());
    EXPECT_FALSE(frame->action(Cm::FileClose)->isEnabled());
    EXPECT_TRUE(frame->action(Cm::FileNew)->isEnabled());
}

namespace {

QWidget *viewNamed(const char *name)
{
    auto *view = new QLabel(QString::fromLatin1(name));
    view->setObjectName(QString::fromLatin1(name));
    return view;
}

} // namespace

TEST_F(Documents, ThreePanesOfOneDocumentKeepTheirFixedPlacesWhenTheWindowIsResized)
{
    start();
    TApptDocument &doc = *docs().current();
    dvwMDIChild *list = docs().addView(doc, ListViewSlot, viewNamed("list"));
    dvwMDIChild *month = docs().addView(doc, MonthPaneSlot, viewNamed("month"));
    dvwMDIChild *current = docs().addView(doc, CurrentPaneSlot, viewNamed("current"));
    ASSERT_TRUE(list && month && current);

    for (const QSize size : {QSize(1000, 700), QSize(700, 650)}) {
        frame->resize(size);
        QWidget *viewport = frame->client()->viewport();
        ASSERT_TRUE(QTest::qWaitFor([&] { return month->x() == viewport->width() - 200; }))
            << size.width();
        const FixedLayout expected = FixedLayoutFor(viewport->size(), 200, 200);
        EXPECT_EQ(list->geometry(), expected.list);
        EXPECT_EQ(month->geometry(), expected.month);
        EXPECT_EQ(current->geometry(), expected.current);
    }

    // Tile puts them back after the user moved one.
    list->setGeometry(10, 10, 100, 100);
    frame->runCommand(Cm::Tile);
    EXPECT_EQ(list->geometry(), FixedLayoutFor(frame->client()->viewport()->size(), 200, 200).list);
}

TEST_F(Documents, ResizeLeavesOtherSetsOfViewsAlone)
{
    start();
    dvwMDIChild *list = docs().addView(*docs().current(), ListViewSlot, viewNamed("list"));
    list->setGeometry(5, 5, 300, 200);
    frame->resize(1000, 700);
    QApplication::processEvents();
    EXPECT_EQ(list->geometry(), QRect(5, 5, 300, 200));
    EXPECT_FALSE(docs().layOutFixed());
}

TEST_F(Documents, OnlyTheLastWindowOfADocumentAsksToSave)
{
    start();
    TApptDocument &doc = *docs().current();
    dvwMDIChild *list = docs().addView(doc, ListViewSlot, viewNamed("list"));
    EXPECT_TRUE(list->close());
    EXPECT_TRUE(prompter.asked().empty());
    EXPECT_EQ(docs().viewWindow(doc, ListViewSlot), nullptr);
    EXPECT_EQ(docs().count(), 1);

    prompter.pushAnswer(Answer::No);
    EXPECT_TRUE(docs().windowOf(doc)->close());
    EXPECT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(docs().count(), 0);
}

TEST_F(Documents, ClosingLeavesOneDocumentWithItsListAskingForItsPanes)
{
    start();
    docs().addView(*docs().current(), ListViewSlot, viewNamed("list"));
    frame->runCommand(Cm::FileNew);
    QSignalSpy commands(&docs(), &DVDocManager::clientCommand);
    frame->runCommand(Cm::FileClose); // the untitled one, unchanged
    ASSERT_EQ(commands.count(), 2);
    EXPECT_EQ(commands[0][0].toInt(), Cm::ShowMonthPane);
    EXPECT_EQ(commands[1][0].toInt(), Cm::ShowCurrentPane);
}

TEST_F(Documents, ActiveViewBringsItsMenuAndTheMainMenuComesBack)
{
    start();
    TApptDocument &doc = *docs().current();
    MenuEntry edit {MenuEntry::Kind::Popup, "&Edit", 0, {}, {}, MenuGroup::Edit, {}};
    edit.entries
        = {{MenuEntry::Kind::Command, "&Paste", Cm::EditPaste, {}, {}, MenuGroup::Edit, {}}};
    dvwMDIChild *calendar = docs().addView(doc, CalendarViewSlot, viewNamed("calendar"));
    calendar->setViewMenu({edit});
    dvwMDIChild *lines = docs().windowOf(doc);

    const auto editItems = [this] {
        return frame->findChild<QMenu *>(QStringLiteral("menuEdit"))->actions().size();
    };
    frame->client()->setActiveSubWindow(lines);
    frame->client()->setActiveSubWindow(calendar);
    EXPECT_EQ(editItems(), 1);
    frame->client()->setActiveSubWindow(lines);
    EXPECT_EQ(editItems(), 11); // Undo, Redo, a separator and the eight before
}

TEST_F(Documents, ClosingTheMainWindowClosesTheHelpWindow)
{
    start();
    QTest::keyClick(frame.get(), Qt::Key_F1, Qt::ShiftModifier);
    frame->action(Cm::HelpAbout)->trigger();
    ASSERT_NE(app->help().window(), nullptr);
    EXPECT_TRUE(app->help().window()->isVisible());
    prompter.pushAnswer(Answer::No);
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(app->help().window()->isVisible());
}

TEST_F(Documents, EveryWayOfOpeningCaptionsTheFileNameWithItsPathAsTheHint)
{
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    for (const char *name : {"typed.APT", "chosen.APT", "sub/dropped.APT", "saved.APT"})
        writeAll(file(name), "3/5/99 A\r\n");
    start({"dayvane", "typed.APT"}); // relative, as typed on the command line
    files.push(file("chosen.APT"));
    frame->runCommand(Cm::FileOpen);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file("sub/dropped.APT"))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &drop);
    files.push(file("saved"));
    frame->runCommand(Cm::FileNew);
    frame->runCommand(Cm::FileSaveAs);
    ASSERT_EQ(docs().count(), 4);
    const std::vector<std::pair<QString, QString>> expected = {
        {QStringLiteral("typed.APT[*]"), file("typed.APT")},
        {QStringLiteral("chosen.APT[*]"), file("chosen.APT")},
        {QStringLiteral("dropped.APT[*]"), file("sub/dropped.APT")},
        {QStringLiteral("saved.APT[*]"), file("saved.APT")},
    };
    for (int i = 0; i < docs().count(); ++i) {
        const dvwMDIChild *window = docs().windowOf(*docs().document(i));
        const auto &[title, path] = expected[static_cast<std::size_t>(i)];
        EXPECT_EQ(window->windowTitle(), title);
        EXPECT_EQ(window->statusTip(), QDir::toNativeSeparators(path)) << title.toStdString();
    }
}

TEST_F(Documents, TheTitleShowsTheChangedMarkUntilTheDocumentIsSaved)
{
    writeAll(file("NOTES.APT"), "3/5/99 A\r\n");
    start({"dayvane", "NOTES.APT"});
    TApptDocument &doc = *docs().current();
    dvwMDIChild *window = docs().windowOf(doc);
    EXPECT_FALSE(window->isWindowModified());
    doc.AppendLine("3/6/99 B");
    // Any command brings the mark up to date.
    frame->runCommand(Cm::HelpAbout);
    EXPECT_TRUE(window->isWindowModified());
    frame->runCommand(Cm::FileSave);
    EXPECT_FALSE(doc.isChanged());
    EXPECT_FALSE(window->isWindowModified());
}
