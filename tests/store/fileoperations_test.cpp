// The file view's whole-file operations: marks, the lines appended to another file (with
// every file call failing in turn) and the lines taken from one.
#include "../testdocuments.h"
#include "faultyops.h"
#include "store/fileoperations.h"
#include "store/filerules.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace dvw;
using namespace dvw::test;

namespace {

const TDate Today(15, 6, 2024);

std::unique_ptr<TApptDocument> docOf(std::vector<std::string> lines, std::string path = {})
{
    auto doc = std::make_unique<TApptDocument>(windowSettings(Today, 30), std::move(path));
    for (std::string &line : lines)
        doc->lineTable().emplace_back(std::move(line));
    doc->Rescan();
    return doc;
}

std::vector<std::string> textsOf(const TApptDocument &doc)
{
    std::vector<std::string> texts;
    for (const TimeString &line : doc.lines())
        texts.push_back(line.text);
    return texts;
}

std::vector<bool> marksOf(const TApptDocument &doc)
{
    std::vector<bool> marks;
    for (const TimeString &line : doc.lines())
        marks.push_back(line.marked);
    return marks;
}

// No entry of the display index or of a cell names a line the table does not hold.
void expectNoStaleLine(const TApptDocument &doc)
{
    const auto count = static_cast<std::int32_t>(doc.lines().size());
    for (const IndexTy &e : doc.engine().index()) {
        if (e.kind == DatedEntry || e.kind == NoteEntry) {
            EXPECT_LT(e.value, count);
        }
    }
    for (const Appt &a : doc.engine().notes())
        EXPECT_LT(a.line, count);
}

} // namespace

TEST(MarkOutdated, EachKindByItsOwnRule)
{
    struct Row
    {
        const char *line;
        bool outdated;
    };
    const Row rows[] = {
        {"\\E5/31/2024 !mon Gym", true}, // weekly, ended last month
        {"\\E6/15/2024 !mon Gym", false}, // ends today
        {"!mon Gym", false}, // weekly without an end
        {"\\E1/1/2020 ?/15 Rent", true}, // monthly, ended
        {"\\B3/5/1960 Ann", false}, // a birthday never is
        {"\\N3/5/2020 Tax return", false}, // a single appointment that nags never is
        {"3/5/2020 Dentist", true},
        {"6/14/2024 Yesterday", true},
        {"6/15/2024 Today", false},
        {"6/13/2024 +1 Trip", true}, // its following days are over too
        {"6/13/2024 +2 Trip", false}, // its last following day is today
        {"?/15/2023 Rent", true}, // monthly in a year: December 15, 2023 has passed
        {"?/15/2024 Rent", false}, // December 15, 2024 has not
        {"\\E1/1/2020 !1M Every month", false}, // every n months never is
        {"* A note", false},
        {"Free text", false},
        {"~3/5/2020 Deleted", false}, // a deleted line is not offered for archiving
    };
    std::vector<std::string> lines;
    for (const Row &row : rows)
        lines.emplace_back(row.line);
    auto doc = docOf(lines);
    doc->lineTable()[2].marked = true; // a mark set before stays
    const int expectedNew = static_cast<int>(
        std::count_if(std::begin(rows), std::end(rows), [](const Row &r) { return r.outdated; }));
    EXPECT_EQ(MarkOutdated(*doc, Today), expectedNew);
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(doc->lines()[i].marked, rows[i].outdated || i == 2) << rows[i].line;
    EXPECT_EQ(MarkOutdated(*doc, Today), 0) << "marking again marks nothing new";
}

TEST(MarkMatching, FoldsCaseKeepsMarksAndAnEmptyTextMarksNothing)
{
    auto doc = docOf({"3/5/2020 Dentist", "?/15 pay RENT", "Rent reminder", "~old rent", "x"});
    EXPECT_EQ(MarkMatching(*doc, ""), 0);
    EXPECT_EQ(CountMarked(*doc), 0);
    doc->lineTable()[4].marked = true;
    EXPECT_EQ(MarkMatching(*doc, "rEnT"), 2);
    EXPECT_EQ(marksOf(*doc), (std::vector<bool> {false, true, true, false, true}));
    EXPECT_EQ(MarkedLines(*doc), (std::vector<std::int32_t> {1, 2, 4}));
    ClearMarks(*doc);
    EXPECT_EQ(CountMarked(*doc), 0);
}

TEST(NextMatchingLine, LooksForwardOnlyAndNeverWraps)
{
    auto doc = docOf({"Rent", "x", "rent again", "y"});
    struct Row
    {
        std::int32_t from;
        const char *what;
        std::int32_t found;
    };
    const Row rows[] = {{-1, "RENT", 0}, {0, "rent", 2}, {2, "rent", -1},
                        {3, "y", -1},    {0, "", -1},    {-5, "x", 1}};
    for (const Row &row : rows)
        EXPECT_EQ(NextMatchingLine(*doc, row.from, row.what), row.found)
            << row.from << " " << row.what;
}

TEST(AppendedFileBytes, JoinPointOfTheTarget)
{
    struct Row
    {
        const char *name;
        std::string old;
        std::vector<std::string> texts;
        std::string expected;
    };
    const Row rows[] = {
        {"empty target", "", {"a", "b"}, "a\r\nb\r\n"},
        {"ends in a line end", "x\r\n", {"a"}, "x\r\na\r\n"},
        {"ends in LF only", "x\n", {"a"}, "x\na\r\n"},
        {"no final line end", "x", {"a"}, "x\r\na\r\n"},
        {"ends in a lone CR", "x\r", {"a"}, "x\r\r\na\r\n"},
        {"Ctrl-Z after a line end", "x\r\n\x1a", {"a"}, "x\r\na\r\n"},
        {"Ctrl-Z ends the last line", "x\x1a", {"a"}, "x\r\na\r\n"},
        {"only a Ctrl-Z", "\x1a", {"a"}, "a\r\n"},
        {"continued text", "x\r\n", {"a\r\nb"}, "x\r\na\r\n&b\r\n"},
        {"text that would join the line before", "x\r\n", {"&a"}, "x\r\n &a\r\n"},
        {"first text of an empty target", "", {"&a"}, "&a\r\n"},
    };
    for (const Row &row : rows) {
        const std::string bytes = AppendedFileBytes(row.old, row.texts);
        EXPECT_EQ(bytes, row.expected) << row.name;
        // Read back, the target holds its old lines and then the texts appended.
        std::vector<std::string> wanted = SplitFileText(row.old);
        for (const std::string &text : row.texts)
            wanted.push_back(text.starts_with('&') && !wanted.empty() ? " " + text : text);
        EXPECT_EQ(SplitFileText(bytes), wanted) << row.name;
    }
}

TEST(ArchivePath, RelativeToTheDocument)
{
    EXPECT_EQ(ArchivePath("/home/u/NOTES.APT", "ARCHIVE.APT"), "/home/u/ARCHIVE.APT");
    EXPECT_EQ(ArchivePath("/home/u/NOTES.APT", "/tmp/OLD.APT"), "/tmp/OLD.APT");
    EXPECT_EQ(ArchivePath("NOTES.APT", "sub/ARCHIVE.APT"), "sub/ARCHIVE.APT");
}

TEST(AppendMarkedTo, RefusesOpenDocumentsAndTheirBackups)
{
    TempDir dir;
    const std::string file = dir.file("NOTES.APT");
    const std::string other = dir.file("OTHER.APT");
    writeBytes(file, "3/5/2020 a\r\n");
    writeBytes(other, "b\r\n");
    writeBytes(dir.file("OTHER.BAK"), "older\r\n");
    ASSERT_EQ(::link(file.c_str(), dir.file("hardlink.APT").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("OTHER.BAK").c_str(), dir.file("sym.APT").c_str()), 0);
    auto doc = docOf({"3/5/2020 a"}, file);
    doc->lineTable()[0].marked = true;
    const ProtectedFiles open = ProtectedFilesOf({file, other, ""});
    const std::string refused[] = {
        file,
        dir.file("NOTES.BAK"), // the backup name, although there is no backup yet
        dir.path() + "/./sub/../NOTES.APT",
        other,
        dir.file("OTHER.BAK"),
        dir.file("hardlink.APT"), // the document by device and inode
        dir.file("sym.APT"), // a link to another document's backup
    };
    for (const std::string &target : refused) {
        const std::string before = readBytes(target);
        const CopyMarkedResult r = AppendMarkedTo(*doc, target, open);
        EXPECT_FALSE(r.ok) << target;
        EXPECT_NE(r.reason.find(r.target + ": is an open appointment file"), std::string::npos)
            << r.reason;
        EXPECT_EQ(readBytes(target), before) << target;
    }
    const CopyMarkedResult archived = AppendMarkedTo(*doc, dir.file("ARCHIVE.APT"), open);
    EXPECT_TRUE(archived.ok) << archived.reason;
    EXPECT_EQ(archived.written, 1);
    EXPECT_EQ(archived.target, dir.file("ARCHIVE.APT"));
    EXPECT_EQ(readBytes(dir.file("ARCHIVE.APT")), "3/5/2020 a\r\n");
    EXPECT_FALSE(dir.names().contains("ARCHIVE.BAK")) << "the archive keeps no backup";
}

// Every file call of an append failing in turn, for each kind of join point: the target is
// always its old bytes or its old bytes plus the whole marked lines, nothing else is left
// in the directory, the document keeps its lines and marks, and a failure names the path
// and the reason.
TEST(AppendMarkedTo, EveryFileCallFailingInTurn)
{
    const std::vector<std::string> lines = {"3/5/2020 a", "keep", "?/15/2019 b\r\nmore"};
    const std::optional<std::string> starts[]
        = {std::nullopt, std::string(""), "x\r\n", "x", "x\r\n\x1a"};
    for (const std::optional<std::string> &start : starts) {
        for (int failAt = 1;; ++failAt) {
            TempDir dir;
            const std::string target = dir.file("ARCHIVE.APT");
            if (start)
                writeBytes(target, *start);
            const auto before = dir.names();
            auto doc = docOf(lines);
            doc->lineTable()[0].marked = true;
            doc->lineTable()[2].marked = true;
            FaultyOps ops;
            ops.failAt = failAt;
            const CopyMarkedResult r = AppendMarkedTo(*doc, target, {}, ops);
            const std::string step = "start " + (start ? "'" + *start + "'" : "missing") + ", call "
                + std::to_string(failAt) + " (" + ops.failedCall + ")";
            const std::string old = start.value_or("");
            const std::string appended = AppendedFileBytes(old, {lines[0], lines[2]});
            auto names = dir.names();
            names.erase(".ARCHIVE.APT.lock");
            if (r.ok) {
                EXPECT_EQ(readBytes(target), appended) << step;
                EXPECT_EQ(r.written, 2) << step;
                auto after = before;
                after.insert("ARCHIVE.APT");
                EXPECT_EQ(names, after) << step;
            } else {
                EXPECT_EQ(readBytes(target), old) << step;
                EXPECT_EQ(names, before) << step;
                EXPECT_NE(r.reason.find(target), std::string::npos) << step << ": " << r.reason;
                EXPECT_NE(r.reason.find("Input/output error"), std::string::npos)
                    << step << ": " << r.reason;
            }
            EXPECT_EQ(textsOf(*doc), lines) << step;
            EXPECT_EQ(marksOf(*doc), (std::vector<bool> {true, false, true})) << step;
            if (ops.failedCall.empty())
                break; // the append ran through without reaching the failing call
        }
    }
}

TEST(AppendLinesFrom, ReadsAsTheDocumentReadsItsFile)
{
    TempDir dir;
    const std::string source = dir.file("MORE.APT");
    writeBytes(source, "3/5/2020 a\r\n&second\r\n\r\n~kept, not deleted\n&lead\x1a");
    auto doc = docOf({"first"});
    doc->setChanged(false);
    const AppendFromResult r = AppendLinesFrom(*doc, source);
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(r.added, 2);
    EXPECT_EQ(textsOf(*doc),
              (std::vector<std::string> {"first", "3/5/2020 a\r\nsecond",
                                         " ~kept, not deleted\r\nlead"}));
    EXPECT_TRUE(doc->isChanged());
    expectNoStaleLine(*doc);
}

TEST(AppendLinesFrom, SourcesThatAddNothing)
{
    TempDir dir;
    const std::string fifo = dir.file("pipe.APT");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::mkdir(dir.file("folder.APT").c_str(), 0700);
    writeBytes(dir.file("binary.APT"), std::string("ELF\0\x01\x02\r\nline", 13));
    struct Row
    {
        std::string source;
        const char *why;
    };
    const Row rows[] = {
        {fifo, "named pipe"},
        {dir.file("folder.APT"), "directory"},
        {dir.file("binary.APT"), "NUL"},
        {dir.file("missing.APT"), "No such file"},
    };
    for (const Row &row : rows) {
        auto doc = docOf({"first"});
        doc->setChanged(false);
        const AppendFromResult r = AppendLinesFrom(*doc, row.source);
        EXPECT_FALSE(r.ok) << row.source;
        EXPECT_NE(r.reason.find(row.source), std::string::npos) << r.reason;
        EXPECT_NE(r.reason.find(row.why), std::string::npos) << r.reason;
        EXPECT_EQ(textsOf(*doc), std::vector<std::string> {"first"});
        EXPECT_FALSE(doc->isChanged());
    }
}

TEST(AppendLinesFrom, TheDocumentItselfAddsItsSavedLinesOnce)
{
    TempDir dir;
    const std::string file = dir.file("NOTES.APT");
    writeBytes(file, "3/5/2020 a\r\nb\r\n");
    TApptDocument doc(windowSettings(Today, 30), file);
    ASSERT_TRUE(doc.LoadLines().ok);
    doc.AppendLine("unsaved");
    const AppendFromResult r = AppendLinesFrom(doc, file);
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(textsOf(doc),
              (std::vector<std::string> {"3/5/2020 a", "b", "unsaved", "3/5/2020 a", "b"}));
    EXPECT_EQ(readBytes(file), "3/5/2020 a\r\nb\r\n");
}

TEST(AppendLinesFrom, EveryFileCallFailingInTurn)
{
    TempDir dir;
    const std::string source = dir.file("MORE.APT");
    writeBytes(source, "3/5/2020 a\r\nb\r\n");
    for (int failAt = 1;; ++failAt) {
        auto doc = docOf({"first"});
        FaultyOps ops;
        ops.failAt = failAt;
        const AppendFromResult r = AppendLinesFrom(*doc, source, ops);
        if (r.ok) {
            EXPECT_EQ(textsOf(*doc), (std::vector<std::string> {"first", "3/5/2020 a", "b"}));
        } else {
            EXPECT_EQ(textsOf(*doc), std::vector<std::string> {"first"}) << failAt;
            EXPECT_NE(r.reason.find(source), std::string::npos) << r.reason;
            EXPECT_NE(r.reason.find("Input/output error"), std::string::npos) << r.reason;
        }
        if (ops.failedCall.empty())
            break;
    }
}

TEST(FileViewTableChanges, DerivedTablesFollowEveryChange)
{
    auto doc = docOf({"6/16/2024 a", "6/17/2024 b", "* note", "6/18/2024 c", "!mon Gym"});
    auto same = [](const TApptDocument &changed) {
        auto fresh = docOf(textsOf(changed));
        ASSERT_EQ(changed.engine().index().size(), fresh->engine().index().size());
        for (std::size_t i = 0; i < fresh->engine().index().size(); ++i)
            EXPECT_EQ(changed.engine().index()[i].value, fresh->engine().index()[i].value) << i;
        expectNoStaleLine(changed);
    };
    doc->RemoveLine(4);
    same(*doc);
    doc->RemoveLine(0);
    same(*doc);
    doc->InsertLine(0, "\n&pasted\nline");
    EXPECT_EQ(doc->lines()[0].text, " \r\n&pasted\r\nline");
    same(*doc);
    doc->lineTable()[1].marked = true;
    doc->lineTable()[3].marked = true;
    EXPECT_EQ(doc->RemoveMarkedLines(), 2);
    same(*doc);
    EXPECT_EQ(CountMarked(*doc), 0);
}

TEST(FileViewTableChanges, SortCarriesTheMarksWithTheLines)
{
    auto doc = docOf({"6/18/2024 c", "* note", "6/16/2024 a", "6/17/2024 b"});
    doc->lineTable()[0].marked = true;
    doc->lineTable()[3].marked = true;
    doc->SortLines(SortMode::ByDate);
    for (const TimeString &line : doc->lines())
        EXPECT_EQ(line.marked, line.text.ends_with("c") || line.text.ends_with("b")) << line.text;
    EXPECT_EQ(doc->lines().front().text, "* note");
}
