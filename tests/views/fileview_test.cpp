// The file view in the main window: rows of the line table, marks, the whole-file
// commands, and the other views reading the lines as they are afterwards.
#include "entryfakes.h"
#include "framefixture.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "store/fileoperations.h"
#include "views/filerows.h"
#include "views/fileview.h"
#include "views/tapptview.h"
#include "views/tfileview.h"

#include <QFile>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

class FileViewInFrame : public test::FrameFixture
{
protected:
    void start(const QByteArray &fileText)
    {
        writeFile(QStringLiteral("NOTES.APT"), fileText);
        makeFrame({"dayvane", "NOTES.APT"});
        frame->resize(900, 700);
        FeatureServices services;
        services.beeper = beeper;
        services.clipboard = clipboard;
        installAll(services);
        frame->showAtStart();
        frame->openStartFile();
        frame->runCommand(Cm::ViewFile);
        ASSERT_NE(view(), nullptr);
    }
    TApptDocument &doc() const { return *frame->documents().document(0); }
    TFileView *view() const { return fileViewOf(*frame, doc()); }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> t;
        for (const TimeString &line : doc().lines())
            t.push_back(line.text);
        return t;
    }
    QString fileText(const QString &name) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }

    std::shared_ptr<test::CountingBeeper> beeper = std::make_shared<test::CountingBeeper>();
    std::shared_ptr<test::FakeClipboard> clipboard = std::make_shared<test::FakeClipboard>();
};

} // namespace

TEST(FileRows, CursorStaysOnARowWhateverTheCount)
{
    struct Row
    {
        int count;
        int current;
        int newCount;
        int expected;
    };
    const Row rows[] = {{5, 4, 4, 3}, {5, 2, 4, 2}, {1, 0, 0, 0}, {0, 0, 3, 0}, {10, 9, 2, 1}};
    for (const Row &r : rows) {
        FileRows f;
        f.setCount(r.count);
        f.setCurrent(r.current);
        f.setCount(r.newCount);
        EXPECT_EQ(f.current(), r.expected) << r.count << "->" << r.newCount;
        EXPECT_GE(f.rows().topRow, 0);
        EXPECT_LE(f.rows().topRow, std::max(r.newCount - 1, 0));
    }
    EXPECT_EQ(FileRowText("a\r\nb\nc"), "a  b c");
}

TEST(FileRows, KeysRunTheCommandsOfTheView)
{
    struct Row
    {
        char key;
        bool ctrl;
        std::optional<int> command;
    };
    const Row rows[] = {
        {'i', false, Cm::InsertAppt}, {'E', false, Cm::EditAppt},
        {'d', false, Cm::EditCut},    {'.', false, Cm::EditCut},
        {'x', true, Cm::EditCut},     {'c', true, Cm::EditCopy},
        {'v', true, Cm::EditPaste},   {' ', false, Cm::FileToggleMark},
        {'f', false, Cm::Find},       {'F', true, Cm::Find},
        {'n', false, Cm::FindNext},   {'v', false, Cm::ViewAppointment},
        {'q', false, std::nullopt},   {'c', false, std::nullopt},
    };
    for (const Row &r : rows)
        EXPECT_EQ(FileViewCharacterCommand(r.key, r.ctrl), r.command) << r.key << r.ctrl;
}

TEST_F(FileViewInFrame, OpensAloneWithItsMenuAndClosesBackToTheList)
{
    start("* note\r\n12/8/2026 Dentist\r\n");
    EXPECT_EQ(frame->documents().viewWindow(doc(), ListViewSlot), nullptr);
    EXPECT_EQ(view()->fileRows().count(), 2);
    EXPECT_NE(frame->findChild<QAction *>(QStringLiteral("action%1").arg(Cm::FileSortByDate)),
              nullptr);
    EXPECT_FALSE(frame->commands().canRun(Cm::FileArchive)) << "nothing is marked";
    QTest::keyClick(view(), Qt::Key_V);
    EXPECT_EQ(view(), nullptr);
    EXPECT_NE(frame->documents().viewWindow(doc(), ListViewSlot), nullptr);
}

TEST_F(FileViewInFrame, MarksEnableArchiveAndCancelKeepsTheLinesMarked)
{
    start("3/5/2020 Old\r\n12/8/2026 Dentist\r\n");
    QTest::keyClick(view(), Qt::Key_Space);
    EXPECT_TRUE(doc().lines()[0].marked);
    EXPECT_TRUE(frame->commands().canRun(Cm::FileArchive));
    frame->runCommand(Cm::FileClearMarks);
    EXPECT_FALSE(frame->commands().canRun(Cm::FileArchive));

    frame->runCommand(Cm::FileMarkOutdated);
    EXPECT_EQ(CountMarked(doc()), 1);
    prompter.pushAnswer(Prompter::Answer::Cancel);
    frame->runCommand(Cm::FileArchive);
    EXPECT_EQ(fileText(QStringLiteral("ARCHIVE.APT")), QStringLiteral("3/5/2020 Old\r\n"));
    EXPECT_EQ(texts().size(), 2U);
    EXPECT_TRUE(doc().lines()[0].marked);

    prompter.pushAnswer(Prompter::Answer::Ok);
    frame->runCommand(Cm::FileArchive);
    EXPECT_EQ(texts(), std::vector<std::string> {"12/8/2026 Dentist"});
    EXPECT_EQ(view()->fileRows().count(), 1);
    EXPECT_TRUE(doc().isChanged());
    doc().setChanged(false);
}

TEST_F(FileViewInFrame, AFailedArchiveSaysWhereAndWhyAndKeepsTheMarks)
{
    start("3/5/2020 Old\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ARCHIVE.APT")));
    QTest::keyClick(view(), Qt::Key_Space);
    frame->runCommand(Cm::FileArchive);
    ASSERT_FALSE(prompter.asked().empty());
    EXPECT_TRUE(prompter.asked().back().text.contains(QStringLiteral("is a directory")));
    EXPECT_TRUE(prompter.asked().back().text.contains(dir.filePath(QStringLiteral("ARCHIVE.APT"))));
    EXPECT_TRUE(doc().lines()[0].marked);
    EXPECT_EQ(texts().size(), 1U);
}

TEST_F(FileViewInFrame, DeletePutsTheRowOnTheClipboardAndPasteBringsItBack)
{
    start("a\r\nb\r\nc\r\n");
    frame->app().changeSetting("PROMPT", true);
    view()->setCurrentRow(2);
    prompter.pushAnswer(Prompter::Answer::Ok);
    QTest::keyClick(view(), Qt::Key_D);
    EXPECT_EQ(texts(), (std::vector<std::string> {"a", "b"}));
    EXPECT_EQ(clipboard->held, "c");
    EXPECT_EQ(view()->currentRow(), 1) << "the last row went: the cursor moves up";
    view()->setCurrentRow(0);
    QTest::keyClick(view(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(texts(), (std::vector<std::string> {"c", "a", "b"}));

    clipboard->held = "two\nlines";
    frame->runCommand(Cm::EditPaste);
    EXPECT_EQ(texts()[0], "two\r\nlines");
    EXPECT_EQ(doc().FileBytes(), "two\r\n&lines\r\nc\r\na\r\nb\r\n");
    doc().setChanged(false);
}

// V after deletes opens the list, which must read only lines that are still there.
TEST_F(FileViewInFrame, ListAfterDeletesReadsNoStaleLine)
{
    start("12/7/2026 a\r\n12/8/2026 b\r\n* note\r\n12/9/2026 c\r\n!MON Gym\r\n");
    frame->app().changeSetting("PROMPT", false);
    view()->setCurrentRow(4);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(view(), Qt::Key_Period);
    ASSERT_EQ(texts().size(), 2U);
    QTest::keyClick(view(), Qt::Key_V);
    dvwMDIChild *window = frame->documents().viewWindow(doc(), ListViewSlot);
    ASSERT_NE(window, nullptr);
    for (const IndexTy &e : doc().engine().index()) {
        if (e.kind == DatedEntry || e.kind == NoteEntry) {
            EXPECT_LT(e.value, 2);
        }
    }
    window->widget()->grab(); // paints every row
    doc().setChanged(false);
}

TEST_F(FileViewInFrame, SearchMarksAndFindsWithTheApplicationsText)
{
    start("Rent\r\nx\r\nrent again\r\n");
    prompter.pushText(QString());
    frame->runCommand(Cm::FileMarkString);
    EXPECT_EQ(CountMarked(doc()), 0) << "an empty search text marks nothing";
    prompter.pushText(QStringLiteral("RENT"));
    frame->runCommand(Cm::FileMarkString);
    EXPECT_EQ(MarkedLines(doc()), (std::vector<std::int32_t> {0, 2}));
    EXPECT_EQ(frame->app().filters().searchText, "RENT");
    QTest::keyClick(view(), Qt::Key_N);
    EXPECT_EQ(view()->currentRow(), 2);
    QTest::keyClick(view(), Qt::Key_N);
    EXPECT_EQ(view()->currentRow(), 2) << "the search does not wrap";
    EXPECT_EQ(beeper->beeps, 1);
}

TEST_F(FileViewInFrame, MarkedRowsAreDrawnInRed)
{
    start("WWWWWWWW\r\nWWWWWWWW\r\n");
    doc().lineTable()[1].marked = true;
    view()->setCurrentRow(0);
    const QImage image = view()->viewport()->grab().toImage();
    const int y = view()->rowHeight() + view()->rowHeight() / 2;
    bool red = false;
    for (int x = 0; x < 200 && !red; ++x)
        red = image.pixelColor(x, y) == QColor(255, 0, 0);
    EXPECT_TRUE(red);
}
