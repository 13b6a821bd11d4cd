// Undo in the main window, and documents that follow their file when another program
// writes it.
#include "framefixture.h"
#include "history/livefiles.h"
#include "history/undohistories.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwmdichild.h"
#include "views/tapptview.h"
#include "viewtesthelpers.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QFileSystemWatcher>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace dvw;

namespace {

const QByteArray startText = "12/7/2026 Dentist\r\n12/8/2026 Gym\r\n* A note\r\n";

// Another program's ways of writing the file.
void writeByRename(const QString &path, const QByteArray &bytes)
{
    const QString temp = path + QStringLiteral(".new");
    QFile file(temp);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    ASSERT_EQ(std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()),
              0);
}

void writeInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class LiveFile : public test::FrameFixture
{
protected:
    void start()
    {
        path = dir.filePath(QStringLiteral("NOTES.APT"));
        writeInPlace(path, startText);
        makeFrame({"dayvane", "NOTES.APT"});
        frame->resize(900, 700);
        installAll();
        frame->showAtStart();
        frame->openStartFile();
        live = frame->findChild<LiveFiles *>(QStringLiteral("liveFiles"));
    }
    TApptDocument &doc() const { return *frame->documents().document(0); }
    TApptView *list() const
    {
        dvwMDIChild *window = frame->documents().viewWindow(doc(), ListViewSlot);
        return window ? qobject_cast<TApptView *>(window->widget()) : nullptr;
    }
    bool holdsLine(const std::string &text) const
    {
        for (const TimeString &line : doc().lines()) {
            if (line.text == text)
                return true;
        }
        return false;
    }
    QPushButton *barButton(const char *name) const
    {
        return frame->findChild<QPushButton *>(QLatin1String(name));
    }

    QString path;
    LiveFiles *live = nullptr;
};

TEST_F(LiveFile, AnotherProgramsAppendShowsWithTheCursorKept)
{
    for (const auto write : {&writeByRename, &writeInPlace}) {
        start();
        ASSERT_NE(list(), nullptr);
        list()->setCursorLine(test::positionOfLine(doc(), 1));
        QByteArray bytes = startText + "* Added elsewhere\r\n";
        write(path, bytes);
        EXPECT_TRUE(QTest::qWaitFor([&] { return holdsLine("* Added elsewhere"); }, 1000));
        EXPECT_FALSE(doc().isChanged());
        // The cursor stays on the Gym line, which the new line did not move.
        EXPECT_EQ(list()->cursorLine(), test::positionOfLine(doc(), 1));
        // And the document keeps following: a second write by the same way.
        write(path, bytes + "* Once more\r\n");
        EXPECT_TRUE(QTest::qWaitFor([&] { return holdsLine("* Once more"); }, 1000));
        frame.reset();
        app.reset();
    }
}

TEST_F(LiveFile, UnsavedChangesOfferTheBarAndKeepingLosesNothing)
{
    start();
    list()->setCursorLine(test::positionOfLine(doc(), 2));
    prompter.pushAnswer(Prompter::Answer::Ok);
    frame->runCommand(Cm::EditCut); // the note
    ASSERT_TRUE(doc().isChanged());
    const std::string deleted = doc().lines()[2].text;
    QSignalSpy offered(live, &LiveFiles::reloadOffered);
    writeByRename(path, startText + "* Theirs\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return barButton("keepButton") != nullptr; }, 1000));
    EXPECT_EQ(barButton("reloadButton")->text(), QStringLiteral("Reload (lose my changes)"));
    EXPECT_EQ(barButton("keepButton")->text(), QStringLiteral("Keep mine"));
    QTest::mouseClick(barButton("keepButton"), Qt::LeftButton);
    EXPECT_EQ(doc().lines()[2].text, deleted);
    EXPECT_TRUE(doc().isChanged());
    EXPECT_FALSE(holdsLine("* Theirs"));
    // The kept-over version does not ask again; a newer one does, and reloading takes it.
    QTest::qWait(3 * LiveFiles::SettleMs);
    EXPECT_EQ(offered.count(), 1);
    writeInPlace(path, startText + "* Newer\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return barButton("reloadButton") != nullptr; }, 1000));
    QTest::mouseClick(barButton("reloadButton"), Qt::LeftButton);
    EXPECT_TRUE(holdsLine("* Newer"));
    EXPECT_FALSE(doc().isChanged());
    EXPECT_FALSE(frame->action(Cm::EditUndo)->isEnabled()); // a reload ends the history
}

TEST_F(LiveFile, AFileDeletedKeepsItsLinesAndReloadsWhenItComesBack)
{
    start();
    QSignalSpy gone(live, &LiveFiles::fileGone);
    QSignalSpy reloaded(live, &LiveFiles::reloaded);
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QTest::qWaitFor([&] { return gone.count() == 1; }, 1000));
    EXPECT_EQ(doc().lines().size(), 3u);
    EXPECT_TRUE(doc().isChanged()); // closing now asks to save the lines
    writeInPlace(path, "* Recreated\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return reloaded.count() == 1; }, 1000));
    EXPECT_TRUE(holdsLine("* Recreated"));
    EXPECT_FALSE(doc().isChanged());
}

TEST_F(LiveFile, ABurstOfWritesReloadsABoundedNumberOfTimes)
{
    start();
    QSignalSpy reloaded(live, &LiveFiles::reloaded);
    QByteArray bytes = startText;
    for (int i = 0; i < 100; ++i) {
        bytes += "* Burst " + QByteArray::number(i) + "\r\n";
        (i % 2 ? writeInPlace : writeByRename)(path, bytes);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return holdsLine("* Burst 99"); }, 2000));
    QTest::qWait(3 * LiveFiles::SettleMs);
    EXPECT_GE(reloaded.count(), 1);
    EXPECT_LE(reloaded.count(), 5);
    EXPECT_EQ(doc().lines().size(), 103u);
}

TEST_F(LiveFile, AReloadWaitsForTheModalStepToEnd)
{
    start();
    QSignalSpy reloaded(live, &LiveFiles::reloaded);
    QDialog dialog(frame.get());
    dialog.setWindowModality(Qt::WindowModal);
    dialog.open();
    writeInPlace(path, startText + "* During the dialog\r\n");
    QTest::qWait(4 * LiveFiles::SettleMs);
    EXPECT_EQ(reloaded.count(), 0);
    EXPECT_FALSE(holdsLine("* During the dialog"));
    dialog.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return reloaded.count() == 1; }, 1000));
}

TEST_F(LiveFile, OurOwnSaveIsNoOutsideChangeAndKeepsTheHistory)
{
    start();
    QSignalSpy reloaded(live, &LiveFiles::reloaded);
    list()->setCursorLine(test::positionOfLine(doc(), 1));
    frame->runCommand(Cm::MarkDone);
    frame->runCommand(Cm::FileSave);
    EXPECT_FALSE(doc().isChanged());
    QTest::qWait(3 * LiveFiles::SettleMs);
    EXPECT_EQ(reloaded.count(), 0);
    EXPECT_EQ(frame->action(Cm::EditUndo)->text(),
              QStringLiteral("&Undo Mark appointment as done\tCtrl+Z"));
    // Undo leaves the saved lines: the document is changed again; redo returns to them.
    QTest::keyClick(list(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc().lines()[1].text, "12/8/2026 Gym");
    EXPECT_TRUE(doc().isChanged());
    QTest::keyClick(list(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NE(doc().lines()[1].text, "12/8/2026 Gym");
    EXPECT_FALSE(doc().isChanged());
}

TEST_F(LiveFile, UndoingToTheSavedLinesClosesWithoutAsking)
{
    start();
    list()->setCursorLine(test::positionOfLine(doc(), 0));
    prompter.pushAnswer(Prompter::Answer::Ok);
    frame->runCommand(Cm::EditCut);
    list()->setCursorLine(test::positionOfLine(doc(), 1));
    frame->runCommand(Cm::MarkDone);
    ASSERT_TRUE(doc().isChanged());
    frame->runCommand(Cm::EditUndo);
    EXPECT_EQ(frame->action(Cm::EditUndo)->text(),
              QStringLiteral("&Undo Delete appointment\tCtrl+Z"));
    frame->runCommand(Cm::EditUndo);
    EXPECT_FALSE(doc().isChanged());
    EXPECT_EQ(doc().FileBytes(), startText.toStdString());
    EXPECT_FALSE(frame->action(Cm::EditUndo)->isEnabled());
    // No save prompt is scripted: the close must not ask.
    EXPECT_TRUE(frame->documents().close(doc()));
}

} // namespace

// One watcher serves every open document: it watches each file and its folder while the
// document is open, and another program's write reaches the document it concerns only.
TEST_F(LiveFile, OneWatcherFollowsEveryOpenDocumentAndForgetsAClosedOne)
{
    start();
    QTemporaryDir otherDir;
    const QString other = otherDir.filePath(QStringLiteral("WORK.APT"));
    writeInPlace(other, "* Work note\r\n");
    ASSERT_TRUE(frame->documents().openPath(other));
    ASSERT_EQ(frame->documents().count(), 2);
    const auto watchers = live->findChildren<QFileSystemWatcher *>();
    ASSERT_EQ(watchers.size(), 1);
    const QStringList watchedFiles = watchers[0]->files();
    const QStringList folders = watchers[0]->directories();
    EXPECT_TRUE(watchedFiles.contains(path) || watchedFiles.contains(QStringLiteral("NOTES.APT")));
    EXPECT_TRUE(watchedFiles.contains(other));
    EXPECT_TRUE(folders.contains(dir.path()));
    EXPECT_TRUE(folders.contains(otherDir.path()));

    TApptDocument &work = *frame->documents().document(1);
    std::vector<const TApptDocument *> reloaded;
    QObject::connect(live, &LiveFiles::reloaded,
                     [&reloaded](TApptDocument *d) { reloaded.push_back(d); });
    writeByRename(other, "* Work note\r\n* Theirs\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return reloaded.size() == 1; }, 1000));
    EXPECT_EQ(reloaded[0], &work);
    EXPECT_EQ(work.lines().size(), 2u);
    EXPECT_EQ(doc().lines().size(), 3u);

    ASSERT_TRUE(frame->documents().close(work));
    EXPECT_FALSE(watchers[0]->files().contains(other));
    EXPECT_FALSE(watchers[0]->directories().contains(otherDir.path()));
    EXPECT_TRUE(watchers[0]->directories().contains(dir.path()));
}

// The document manager reads a file again and announces it: the undo history starts
// again from the new lines before the views re-read them, and the list's cursor goes back
// to its entry.
TEST_F(LiveFile, TheDocumentManagerReloadsAndAnnouncesIt)
{
    start();
    list()->setCursorLine(test::positionOfLine(doc(), 0));
    frame->runCommand(Cm::MarkDone);
    ASSERT_TRUE(frame->action(Cm::EditUndo)->isEnabled());
    list()->setCursorLine(test::positionOfLine(doc(), 1));
    writeInPlace(path, "* New first\r\n" + startText);
    DVDocManager &docs = frame->documents();
    std::vector<std::string> heard;
    QObject::connect(&docs, &DVDocManager::documentReloaded, [&](TApptDocument *d) {
        heard.push_back(d == &doc() ? "reloaded" : "other");
        heard.push_back(frame->action(Cm::EditUndo)->isEnabled() ? "undo" : "no undo");
    });
    QObject::connect(&docs, &DVDocManager::documentsRefreshed,
                     [&] { heard.push_back("refreshed"); });
    EXPECT_EQ(docs.reload(doc()).status, ReloadResult::Reloaded);
    EXPECT_EQ(heard, (std::vector<std::string> {"reloaded", "no undo", "refreshed"}));
    EXPECT_FALSE(doc().isChanged());
    // The Gym line moved down by one; the cursor is on it still.
    EXPECT_EQ(list()->cursorLine(), test::positionOfLine(doc(), 2));
    // The same bytes again change nothing and announce nothing.
    heard.clear();
    EXPECT_EQ(docs.reload(doc()).status, ReloadResult::Same);
    EXPECT_TRUE(heard.empty());
}
