// Recovery copies: an unsaved document's lines survive a crash of the program, and come
// back at the next start only when the user says so.
#include "edit/edit.h"
#include "edit/tapptdialog.h"
#include "framefixture.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/recoverycopies.h"
#include "store/filerules.h"
#include "store/linechange.h"
#include "store/tapptdocument.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace dvw;

namespace {

const QByteArray fileText = "* Buy milk\r\n12/8/2026 Dentist\r\n";
const std::vector<std::string> fileLines {"* Buy milk", "12/8/2026 Dentist"};

class Recovery : public test::FrameFixture
{
protected:
    QString notes() const { return dir.filePath(QStringLiteral("NOTES.APT")); }
    std::string folder() const
    {
        return QFile::encodeName(stateDir.filePath("dayvane")).toStdString();
    }
    void start()
    {
        makeFrame({"dayvane", "NOTES.APT"});
        FeatureServices services;
        services.runDialog = [this](QDialog &dialog) {
            auto &d = dynamic_cast<TApptDialog &>(dialog);
            static_cast<QPlainTextEdit *>(d.control(201))->setPlainText(typed);
            d.accept();
            return true;
        };
        installAll(services);
        frame->show();
        frame->openStartFile();
        copies = frame->findChild<RecoveryCopies *>(QStringLiteral("recoveryCopies"));
        ASSERT_NE(copies, nullptr);
        ASSERT_EQ(frame->documents().count(), 1);
    }
    TApptDocument &doc() const { return *frame->documents().document(0); }
    // Inserts an appointment through the dialog, as the user does.
    void insert(const QString &text)
    {
        typed = text;
        frame->runCommand(Cm::InsertAppt);
    }
    // The copies in the folder and the lines each holds.
    std::vector<FoundRecovery> copiesNow() const
    {
        return FindRecoveryCopies(folder(), std::nullopt, 0);
    }
    // A copy that a run which ended without closing left.
    void leaveCopy(std::vector<std::string> lines)
    {
        const std::string path = QFile::encodeName(notes()).toStdString();
        const RecoveryCopy copy {path, CurrentIdentity(path), 0, std::move(lines)};
        ASSERT_TRUE(WriteRecoveryCopy(folder(), RecoveryFileName(path, std::nullopt, ""), copy).ok);
    }

    QString typed;
    RecoveryCopies *copies = nullptr;
};

// Whether the process has a file-system watch on this file (Linux lists each inotify
// watch with the inode it watches).
bool watchesFile(qint64 pid, const QString &path)
{
    struct stat info
    { };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    const QByteArray inode = "ino:" + QByteArray::number(qulonglong(info.st_ino), 16) + " ";
    const QDir fds(QStringLiteral("/proc/%1/fdinfo").arg(pid));
    for (const QString &fd : fds.entryList(QDir::Files)) {
        QFile file(fds.filePath(fd));
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains(inode))
            return true;
    }
    return false;
}

} // namespace

// Each change is copied a moment later; a save and a close without saving take the copy
// away at once.
TEST_F(Recovery, AnUnsavedChangeKeepsACopyUntilSavedOrDiscarded)
{
    writeFile(QStringLiteral("NOTES.APT"), fileText);
    start();
    EXPECT_TRUE(copiesNow().empty());
    insert(QStringLiteral("12/9/2026 Call Ann"));
    EXPECT_TRUE(copies->timer().isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !copiesNow().empty(); }, 10000));
    EXPECT_EQ(copiesNow()[0].copy.lines, LineTexts(doc().lines()));
    insert(QStringLiteral("12/10/2026 Call Bob"));
    copies->sync();
    ASSERT_EQ(copiesNow().size(), 1U);
    EXPECT_EQ(copiesNow()[0].copy.lines.back(), "12/10/2026 Call Bob");

    frame->runCommand(Cm::FileSave);
    EXPECT_FALSE(doc().isChanged());
    EXPECT_TRUE(copiesNow().empty());

    insert(QStringLiteral("12/11/2026 Call Cy"));
    copies->sync();
    EXPECT_EQ(copiesNow().size(), 1U);
    prompter.pushAnswer(Prompter::Answer::No); // do not save
    frame->runCommand(Cm::FileClose);
    EXPECT_EQ(frame->documents().count(), 0);
    EXPECT_TRUE(copiesNow().empty());
}

// A copy left behind is offered once the start file is open; only Yes applies it, No
// throws it away and Cancel keeps it for the next start. The question says what differs,
// and whether the file changed since.
TEST_F(Recovery, ALeftCopyIsOfferedAndAppliedOnlyWhenAccepted)
{
    struct Case
    {
        const char *name;
        Prompter::Answer answer;
        bool fileChangedSince;
        std::vector<std::string> lines; // the document's afterwards
        bool copyStays;
    };
    std::vector<std::string> recovered = fileLines;
    recovered.push_back("12/9/2026 Call Ann");
    const Case cases[] = {
        {"yes", Prompter::Answer::Yes, false, recovered, true},
        {"no", Prompter::Answer::No, false, fileLines, false},
        {"cancel", Prompter::Answer::Cancel, false, fileLines, true},
        {"yes over a changed file", Prompter::Answer::Yes, true, recovered, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        frame.reset();
        QDir(stateDir.path()).removeRecursively();
        writeFile(QStringLiteral("NOTES.APT"), fileText);
        leaveCopy(recovered);
        if (c.fileChangedSince)
            writeFile(QStringLiteral("NOTES.APT"), fileText + "* Added elsewhere\r\n");
        prompter.clear();
        prompter.pushAnswer(c.answer);
        start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !prompter.asked().empty(); }));
        const QString question = prompter.asked()[0].text;
        EXPECT_TRUE(question.startsWith(QStringLiteral("Recover unsaved changes to NOTES.APT?")))
            << question.toStdString();
        EXPECT_TRUE(question.contains(QStringLiteral("+ 12/9/2026 Call Ann")));
        EXPECT_EQ(question.contains(QStringLiteral("changed by another program since")),
                  c.fileChangedSince);
        EXPECT_EQ(LineTexts(doc().lines()), c.lines);
        EXPECT_EQ(doc().isChanged(), c.lines != fileLines || c.fileChangedSince);
        EXPECT_EQ(copiesNow().size(), c.copyStays ? 1U : 0U);
        EXPECT_EQ(prompter.asked().size(), 1U);
    }
}

// A copy that holds nothing the file lacks is removed without a question.
TEST_F(Recovery, ACopyOfTheFilesOwnLinesIsDroppedSilently)
{
    writeFile(QStringLiteral("NOTES.APT"), fileText);
    leaveCopy(fileLines);
    start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return copiesNow().empty(); }));
    EXPECT_TRUE(prompter.asked().empty());
}

// The real program, killed outright while it holds the only copy of the lines (its file
// was removed under it), leaves a copy that the next start recovers line for line.
TEST_F(Recovery, AProgramKilledWithUnsavedLinesLosesNothing)
{
    const QByteArray lines = "* Buy milk\r\n12/8/2026 Dentist\r\n!mon 7:30 am Gym\r\n";
    const std::vector<std::string> expected = SplitFileText(lines.toStdString());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_STATE_HOME"), stateDir.path());
    env.insert(QStringLiteral("DAYVANE_CONFIG_DIR"), settingsDir.path());
    bool leftTheLines = false;
    for (int attempt = 0; attempt < 2 && !leftTheLines; ++attempt) {
        QDir(stateDir.path()).removeRecursively();
        writeFile(QStringLiteral("NOTES.APT"), lines);
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        program.start(QStringLiteral(DVW_DAYVANE_PROGRAM), {QStringLiteral("NOTES.APT")});
        ASSERT_TRUE(program.waitForStarted());
        // Once the program watches the file it has read it.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return watchesFile(program.processId(), notes()); }, 30000));
        ASSERT_TRUE(QFile::remove(notes()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !copiesNow().empty(); }, 30000))
            << program.readAllStandardError().toStdString();
        program.kill(); // SIGKILL: nothing of the program runs any more
        ASSERT_TRUE(program.waitForFinished());
        EXPECT_EQ(program.exitStatus(), QProcess::CrashExit);
        leftTheLines = copiesNow()[0].copy.lines == expected;
    }
    ASSERT_TRUE(leftTheLines);
    prompter.pushAnswer(Prompter::Answer::Yes);
    start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompter.asked().empty(); }));
    EXPECT_TRUE(prompter.asked()[0].text.contains(QStringLiteral("NOTES.APT is no longer there")));
    EXPECT_EQ(LineTexts(doc().lines()), expected);
    EXPECT_TRUE(doc().isChanged());
}
