#include "core/linereader.h"
#include "store/tapptdocument.h"
#include "tempdir.h"
#include "testdocuments.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace dvw;

namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

DocumentSettings settings(bool allCategories = false)
{
    return test::windowSettings(TDate(7, 12, 2026), 30, allCategories);
}

std::vector<std::string> textsOf(TApptDocument &doc)
{
    std::vector<std::string> texts;
    for (const TimeString &line : doc.lineTable())
        texts.push_back(line.text);
    return texts;
}

} // namespace

TEST(ApptDocument, MissingFileStartsWithTheSeedLinesAndIsChanged)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    TApptDocument doc(settings(), path);
    const LoadLinesResult loaded = doc.LoadLines();
    EXPECT_TRUE(loaded.ok);
    EXPECT_TRUE(loaded.startedNew);
    EXPECT_TRUE(doc.isChanged());
    const std::vector<std::string> seed = {"12/7/2026  New appointments file " + path + " started.",
                                           "* Please see Help or press F1 for instructions."};
    EXPECT_EQ(textsOf(doc), seed);

    ASSERT_TRUE(doc.WriteLines().ok);
    EXPECT_FALSE(doc.isChanged());
    EXPECT_EQ(readBytes(path), seed[0] + "\r\n" + seed[1] + "\r\n");
}

TEST(ApptDocument, UntitledDocumentIsEmptyUnchangedAndSavedOnlyUnderANewName)
{
    TApptDocument doc(settings());
    EXPECT_TRUE(doc.LoadLines().ok);
    EXPECT_FALSE(doc.IsOpen());
    EXPECT_FALSE(doc.isChanged());
    doc.AppendLine("3/5/99 x");
    EXPECT_FALSE(doc.WriteLines().ok);

    TempDir dir;
    writeBytes(dir.file("TAKEN.APT"), "someone else's\r\n");
    doc.setPath(dir.file("TAKEN.APT"));
    EXPECT_TRUE(doc.WriteLines().changedOnDisk);
    EXPECT_EQ(readBytes(dir.file("TAKEN.APT")), "someone else's\r\n");
    doc.setPath(dir.file("FREE.APT"));
    EXPECT_TRUE(doc.WriteLines().ok);
    EXPECT_EQ(readBytes(dir.file("FREE.APT")), "3/5/99 x\r\n");
}

TEST(ApptDocument, UnreadableExistingFileIsNeitherNewNorEverOverwritten)
{
    TempDir dir;
    std::vector<std::string> paths = {dir.file("ADIR.APT"), dir.file("PIPE.APT")};
    ASSERT_EQ(mkdir(paths[0].c_str(), 0755), 0);
    ASSERT_EQ(mkfifo(paths[1].c_str(), 0644), 0);
    if (geteuid() != 0) { // root reads any mode
        paths.push_back(dir.file("LOCKED.APT"));
        writeBytes(paths.back(), "precious\r\n");
        ASSERT_EQ(chmod(paths.back().c_str(), 0), 0);
    }
    for (const std::string &path : paths) {
        SCOPED_TRACE(path);
        struct stat before
        { };
        ASSERT_EQ(lstat(path.c_str(), &before), 0);
        TApptDocument doc(settings(), path);
        const LoadLinesResult loaded = doc.LoadLines();
        EXPECT_FALSE(loaded.ok);
        EXPECT_FALSE(loaded.startedNew);
        EXPECT_NE(loaded.reason.find(path), std::string::npos) << loaded.reason;
        EXPECT_FALSE(doc.IsOpen());
        EXPECT_FALSE(doc.isChanged());

        doc.AppendLine("3/5/99 typed after the failed load");
        const SaveResult saved = doc.WriteLines(true);
        EXPECT_FALSE(saved.ok);
        EXPECT_TRUE(doc.isChanged());
        struct stat after
        { };
        ASSERT_EQ(lstat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
    }
}

TEST(ApptDocument, FileRulesSurviveLoadAndSave)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, "&first stays\r\n3/5/99 a\r\n&b\n\r\n&c\r\n~3/6/99 deleted\r\nlone\rCR\r\n");
    TApptDocument doc(settings(), path);
    ASSERT_TRUE(doc.LoadLines().ok);
    const std::vector<std::string> loaded
        = {"&first stays", "3/5/99 a\r\nb\r\nc", "~3/6/99 deleted", "lone\rCR"};
    EXPECT_EQ(textsOf(doc), loaded);

    doc.setChanged(true);
    ASSERT_TRUE(doc.WriteLines().ok);
    EXPECT_EQ(readBytes(path), "&first stays\r\n3/5/99 a\r\n&b\r\n&c\r\nlone\rCR\r\n");
    TApptDocument again(settings(), path);
    ASSERT_TRUE(again.LoadLines().ok);
    EXPECT_EQ(textsOf(again), (std::vector<std::string> {loaded[0], loaded[1], loaded[3]}));
}

TEST(ApptDocument, AppendedTextCannotMergeIntoOrVanishFromTheFile)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, "3/5/99 first\r\n");
    TApptDocument doc(settings(), path);
    ASSERT_TRUE(doc.LoadLines().ok);
    doc.AppendLine("&x");
    doc.AppendLine("~x");
    doc.AppendLine("two\nlines");
    EXPECT_TRUE(doc.isChanged());
    const std::vector<std::string> expected = {"3/5/99 first", " &x", " ~x", "two\r\nlines"};
    EXPECT_EQ(textsOf(doc), expected);
    ASSERT_TRUE(doc.WriteLines().ok);
    TApptDocument again(settings(), path);
    ASSERT_TRUE(again.LoadLines().ok);
    EXPECT_EQ(textsOf(again), expected);
}

TEST(ApptDocument, ChangeOnDiskIsNotOverwrittenUnlessForced)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, "3/5/99 mine\r\n");
    TApptDocument doc(settings(), path);
    ASSERT_TRUE(doc.LoadLines().ok);
    doc.AppendLine("3/6/99 added");
    writeBytes(path, "3/5/99 theirs, longer\r\n");

    const SaveResult refused = doc.WriteLines();
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.changedOnDisk);
    EXPECT_TRUE(doc.isChanged());
    EXPECT_EQ(readBytes(path), "3/5/99 theirs, longer\r\n");

    ASSERT_TRUE(doc.WriteLines(true).ok);
    EXPECT_EQ(readBytes(path), "3/5/99 mine\r\n3/6/99 added\r\n");
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), "3/5/99 theirs, longer\r\n");
    // Our own save is not taken for another program's change.
    doc.AppendLine("3/7/99 more");
    EXPECT_TRUE(doc.WriteLines().ok);
}

TEST(ApptDocument, SaveAsMovesTheDocumentOnlyWhenTheSaveWorked)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, "3/5/99 mine\r\n");
    TApptDocument doc(settings(), path);
    ASSERT_TRUE(doc.LoadLines().ok);
    doc.AppendLine("3/6/99 added");

    const SaveResult failed = doc.SaveAs(dir.file("missing-dir/OTHER.APT"));
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(doc.path(), path);
    EXPECT_TRUE(doc.isChanged());

    const std::string other = dir.file("OTHER.APT");
    writeBytes(other, "old other\r\n");
    ASSERT_TRUE(doc.SaveAs(other).ok);
    EXPECT_EQ(doc.path(), other);
    EXPECT_FALSE(doc.isChanged());
    EXPECT_EQ(readBytes(other), "3/5/99 mine\r\n3/6/99 added\r\n");
    EXPECT_EQ(readBytes(path), "3/5/99 mine\r\n");
    // The new file is now the one read: saving again needs no force.
    doc.AppendLine("3/7/99 more");
    EXPECT_TRUE(doc.WriteLines().ok);
}

TEST(ApptDocument, CategoriesComeFromTheLinesAndColourNotesToo)
{
    TApptDocument doc(settings());
    for (const char *text : {"*WORK call the office", "\\C WORK,5=Work", "\\C!HOME=Home"})
        doc.lineTable().emplace_back(text);
    doc.Rescan();
    ASSERT_EQ(doc.categories().size(), 2u);
    EXPECT_EQ(doc.categories()[1].line, 1u);
    TimeString &note = doc.lineTable()[0];
    ApptInfo info;
    ReadAppt(info, doc, note);
    EXPECT_EQ(note.kind, Note);
    EXPECT_EQ(note.shade, 5);

    // A definition appended later enters the tables at once.
    doc.AppendLine("\\C ZED,2=Last");
    EXPECT_EQ(doc.categories().size(), 3u);
    EXPECT_EQ(doc.FindCategory(doc.categories()[2].packedCode), 2);
}

TEST(ApptDocument, IsShownFollowsTheSelectionMode)
{
    TApptDocument doc(settings(false));
    for (const char *text : {"\\C!HOME=Home", "\\CWORK=Work"})
        doc.lineTable().emplace_back(text);
    doc.Rescan();
    const std::uint32_t home = doc.categories()[0].packedCode;
    const std::uint32_t work = doc.categories()[1].packedCode;
    const std::uint32_t undefined = 0x4E4F4E45; // "NONE"
    EXPECT_TRUE(doc.IsShown(0));
    EXPECT_TRUE(doc.IsShown(home));
    EXPECT_FALSE(doc.IsShown(work));
    EXPECT_FALSE(doc.IsShown(undefined));

    EXPECT_TRUE(doc.SetCategorySelected(1, true));
    EXPECT_TRUE(doc.isChanged());
    EXPECT_EQ(doc.lineTable()[1].text, "\\C!WORK=Work");
    EXPECT_TRUE(doc.IsShown(work));
    EXPECT_EQ(doc.lineTable()[1].text.substr(doc.categories()[1].descriptionPos), "Work");
    doc.Rescan(); // the selection lives in the line and survives a rebuild
    EXPECT_TRUE(doc.IsShown(work));

    doc.setShowDefaultCategory(false);
    EXPECT_FALSE(doc.IsShown(0));
    doc.SetCategorySelected(0, false);
    doc.SetCategorySelected(1, false);
    doc.setShowAllCategories(true); // "all" overrides every other choice
    for (std::uint32_t code : {0u, home, work, undefined})
        EXPECT_TRUE(doc.IsShown(code));

    // Tables older than the lines never rewrite a line that no longer defines the code.
    doc.lineTable()[0].text = "\\C HOUSE=edited by hand";
    EXPECT_FALSE(doc.SetCategorySelected(0, true));
    EXPECT_FALSE(doc.SetCategorySelected(7, true));
    EXPECT_EQ(doc.lineTable()[0].text, "\\C HOUSE=edited by hand");

    TApptDocument all(settings(true));
    EXPECT_TRUE(all.showsAllCategories());
    EXPECT_FALSE(all.showsDefaultCategory());
}

TEST(ApptDocument, SortLinesRebuildsCategoriesAndMarksChanged)
{
    TApptDocument doc(settings());
    for (const char *text : {"3/5/99 x", "* note", "\\C WORK=Work"})
        doc.lineTable().emplace_back(text);
    doc.Rescan();
    ASSERT_EQ(doc.categories()[0].line, 2u);
    doc.SortLines(SortMode::ByDate);
    EXPECT_EQ(textsOf(doc), (std::vector<std::string> {"\\C WORK=Work", "* note", "3/5/99 x"}));
    EXPECT_EQ(doc.categories()[0].line, 0u);
    EXPECT_TRUE(doc.isChanged());
}

TEST(ApptDocument, UnimportantDayIsAWeekday)
{
    DocumentSettings s = settings();
    s.unimportant = 9;
    EXPECT_EQ(TApptDocument(s).unimportantDay(), 2);
    s.unimportant = -1;
    EXPECT_EQ(TApptDocument(s).unimportantDay(), 6);
}

namespace {

struct RecordingListener : DocumentListener
{
    std::vector<TDate> dates;
    std::vector<int> positions;
    bool gone = false;
    void goToDate(const TDate &date) override { dates.push_back(date); }
    void selectPosition(int position) override { positions.push_back(position); }
    void documentClosed() override { gone = true; }
};

} // namespace

TEST(ApptDocument, AppendLineExpandsTheLineAndTellsTheViewsWhereItIs)
{
    TApptDocument doc(settings(true));
    doc.lineTable().emplace_back("12/9/2026 Dentist");
    doc.lineTable().emplace_back("* Old note");
    doc.Rescan();
    RecordingListener views;
    doc.addListener(&views);

    doc.AppendLine("12/8/2026 9:00 Early");
    ASSERT_EQ(views.dates.size(), 1u);
    EXPECT_EQ(views.dates[0], TDate(8, 12, 2026));
    ASSERT_EQ(views.positions.size(), 1u);
    // Notes heading, the note, a blank; then 8 December's heading and the new entry.
    const auto &index = doc.engine().index();
    const auto at = static_cast<std::size_t>(views.positions[0]);
    ASSERT_LT(at, index.size());
    EXPECT_EQ(index[at].kind, DatedEntry);
    EXPECT_EQ(index[at].value, 2);
    EXPECT_EQ(index[at - 1].kind, DateHeading);
    EXPECT_EQ(index[at - 1].day, 8u);

    // A note sends the views to the window start and selects the note.
    doc.AppendLine("* New note");
    ASSERT_EQ(views.dates.size(), 2u);
    EXPECT_EQ(views.dates[1], doc.window().start);
    EXPECT_EQ(index[static_cast<std::size_t>(views.positions[1])].value, 3);

    // The incremental result is the one a full rebuild gives.
    const std::vector<IndexTy> incremental = index;
    doc.Rescan();
    ASSERT_EQ(doc.engine().index().size(), incremental.size());
    for (std::size_t i = 0; i < incremental.size(); ++i) {
        EXPECT_EQ(doc.engine().index()[i].kind, incremental[i].kind) << i;
        EXPECT_EQ(doc.engine().index()[i].value, incremental[i].value) << i;
    }
    doc.removeListener(&views);
}

TEST(ApptDocument, SelectPositionReachesEveryViewButTheSender)
{
    RecordingListener list;
    RecordingListener pane;
    {
        TApptDocument doc(settings(true));
        doc.addListener(&list);
        doc.addListener(&pane);
        doc.broadcastSelectPosition(3, &list);
        doc.broadcastSelectPosition(-1, nullptr);
        EXPECT_EQ(list.positions, std::vector<int>({-1}));
        EXPECT_EQ(pane.positions, std::vector<int>({3, -1}));
        doc.removeListener(&list);
        EXPECT_FALSE(list.gone);
    }
    // A view that outlives its document hears that it is gone, so it never calls it again.
    EXPECT_FALSE(list.gone);
    EXPECT_TRUE(pane.gone);
}

TEST(ApptDocument, CloseEmptiesEverythingDerived)
{
    TApptDocument doc(settings(true));
    doc.lineTable().emplace_back("12/9/2026 Dentist");
    doc.Rescan();
    EXPECT_FALSE(doc.engine().index().empty());
    doc.Close();
    EXPECT_FALSE(doc.IsOpen());
    EXPECT_TRUE(doc.engine().index().empty());
    EXPECT_TRUE(doc.engine().dayCell(12, 9).empty());
}

namespace {

// Records what it is told; optionally stops listening when told to select.
struct ViewRecorder : DocumentListener
{
    explicit ViewRecorder(TApptDocument &d)
        : doc(d)
    {
        doc.addListener(this);
    }
    ~ViewRecorder() override { doc.removeListener(this); }
    void goToDate(const TDate &date) override { dates.push_back(date.dayNumber); }
    void selectPosition(int position) override
    {
        positions.push_back(position);
        if (leaveOnSelect)
            doc.removeListener(this);
    }

    TApptDocument &doc;
    std::vector<std::uint32_t> dates;
    std::vector<int> positions;
    bool leaveOnSelect = false;
};

} // namespace

TEST(ApptDocumentViews, BroadcastsReachEveryViewButTheSender)
{
    TApptDocument doc(settings());
    ViewRecorder sender(doc), other(doc);
    doc.broadcastSelectPosition(4, &sender);
    doc.broadcastGoToDate(TDate(8, 12, 2026), &sender);
    EXPECT_TRUE(sender.positions.empty());
    EXPECT_TRUE(sender.dates.empty());
    EXPECT_EQ(other.positions, std::vector<int> {4});
    EXPECT_EQ(other.dates, std::vector<std::uint32_t> {TDate(8, 12, 2026).dayNumber});
}

TEST(ApptDocumentViews, TheLastCursorDateWaitsForTheNextView)
{
    TApptDocument doc(settings());
    EXPECT_FALSE(doc.hasPendingCursorDate());
    doc.broadcastCursorDate(TDate(9, 12, 2026), nullptr);
    EXPECT_TRUE(doc.hasPendingCursorDate());
    EXPECT_EQ(doc.lastCursorDate().dayNumber, TDate(9, 12, 2026).dayNumber);
}

TEST(ApptDocumentViews, AViewThatStopsListeningWhileToldIsNotToldAgain)
{
    TApptDocument doc(settings());
    ViewRecorder leaving(doc), staying(doc);
    leaving.leaveOnSelect = true;
    doc.broadcastSelectPosition(2, nullptr);
    doc.broadcastSelectPosition(3, nullptr);
    EXPECT_EQ(leaving.positions, std::vector<int> {2});
    EXPECT_EQ(staying.positions, (std::vector<int> {2, 3}));
}

namespace {

// Reading fails as on a failing disk.
class UnreadableOps : public FileOps
{
public:
    ssize_t read(int, void *, std::size_t) override
    {
        errno = EIO;
        return -1;
    }
};

} // namespace

TEST(ApptDocument, AFileThatFailsToReadIsNotOkAndIsNeverSavedOver)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, "3/5/99 mine\r\n");
    TApptDocument doc(settings(), path);
    UnreadableOps ops;
    const LoadLinesResult loaded = doc.LoadLines(ops);
    EXPECT_FALSE(loaded.ok);
    EXPECT_FALSE(loaded.startedNew);
    EXPECT_NE(loaded.reason.find(path), std::string::npos) << loaded.reason;
    EXPECT_NE(loaded.reason.find("Input/output error"), std::string::npos) << loaded.reason;
    doc.AppendLine("3/6/99 added");
    EXPECT_FALSE(doc.WriteLines(true).ok);
    EXPECT_EQ(readBytes(path), "3/5/99 mine\r\n");
}

TEST(ApptDocument, AFailedSaveDoesNotMakeTheNextOneSeeAChangeOnDisk)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, "3/5/99 mine\r\n");
    ASSERT_EQ(::mkdir(dir.file("NOTES.BAK").c_str(), 0700), 0);
    writeBytes(dir.file("NOTES.BAK/inside"), "x");
    TApptDocument doc(settings(), path);
    ASSERT_TRUE(doc.LoadLines().ok);
    doc.AppendLine("3/6/99 added");
    // The backup name is taken by a directory: the save fails after the file got its
    // second name for a moment.
    const SaveResult failed = doc.WriteLines();
    ASSERT_FALSE(failed.ok);
    EXPECT_FALSE(failed.changedOnDisk);

    ::unlink(dir.file("NOTES.BAK/inside").c_str());
    ::rmdir(dir.file("NOTES.BAK").c_str());
    const SaveResult saved = doc.WriteLines();
    EXPECT_TRUE(saved.ok) << saved.reason;
    EXPECT_EQ(readBytes(path), "3/5/99 mine\r\n3/6/99 added\r\n");
}
