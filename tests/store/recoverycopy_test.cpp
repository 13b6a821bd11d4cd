#include "store/filerules.h"
#include "store/recoverycopy.h"
#include "tempdir.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <csignal>
#include <set>
#include <unistd.h>

using namespace dvw;
using dvw::test::readBytes;
using dvw::test::TempDir;
using dvw::test::writeBytes;

namespace {

// Line texts as a document holds them: bytes of any kind, continuations, leading "&".
std::vector<std::string> documentLines(const std::vector<std::string> &raw)
{
    std::vector<std::string> lines;
    for (const std::string &text : raw) {
        if (!text.empty() && text.find('\n') == std::string::npos)
            lines.push_back(text);
    }
    return lines;
}

} // namespace

// What a copy holds comes back as a save and a load of the file would give the lines.
RC_GTEST_PROP(RecoveryCopyProperty, ACopyReadsBackAsItsLinesWouldFromTheFile,
              (const std::string &path, const std::vector<std::string> &raw, bool hasBase,
               std::uint64_t dev, std::int64_t mtime, std::int64_t pid))
{
    RecoveryCopy copy;
    copy.path = path;
    if (hasBase)
        copy.base = FileIdentity {dev, 7, 120, mtime, mtime + 1};
    copy.pid = pid;
    copy.lines = documentLines(raw);
    const std::optional<RecoveryCopy> back = ReadRecoveryCopy(RecoveryCopyBytes(copy));
    RC_ASSERT(back.has_value());
    RC_ASSERT(back->path == copy.path);
    RC_ASSERT(back->base == copy.base);
    RC_ASSERT(back->pid == copy.pid);
    RC_ASSERT(back->lines == SplitFileText(JoinFileText(copy.lines)));
}

// A copy cut short (or any other file) is no copy, and reading it never fails otherwise.
RC_GTEST_PROP(RecoveryCopyProperty, ACopyCutShortIsNoCopy,
              (const std::vector<std::string> &raw, std::size_t cut))
{
    RecoveryCopy copy;
    copy.path = "/home/ann/NOTES.APT";
    copy.lines = documentLines(raw);
    copy.lines.push_back("12/7/2026 Meet");
    const std::string bytes = RecoveryCopyBytes(copy);
    RC_ASSERT(!ReadRecoveryCopy(std::string_view(bytes).substr(0, cut % bytes.size())));
    RC_ASSERT(!ReadRecoveryCopy(bytes + "x"));
}

TEST(RecoveryCopy, NamesTellFilesAndProfilesApart)
{
    const std::string a = RecoveryFileName("/home/ann/NOTES.APT", std::nullopt, "");
    EXPECT_EQ(a, RecoveryFileName("/home/ann/NOTES.APT", std::nullopt, "other"));
    struct Case
    {
        const char *name;
        std::string path;
        std::optional<std::uint32_t> profile;
        std::string untitled;
    };
    const Case cases[] = {
        {"same name, other folder", "/home/bob/NOTES.APT", std::nullopt, ""},
        {"other case", "/home/ann/notes.apt", std::nullopt, ""},
        {"profile 0", "/home/ann/NOTES.APT", 0U, ""},
        {"profile 1", "/home/ann/NOTES.APT", 1U, ""},
        {"profile 12", "/home/ann/NOTES.APT", 12U, ""},
        {"untitled 1", "", std::nullopt, "41-1"},
        {"untitled 2", "", std::nullopt, "41-2"},
    };
    std::set<std::string> names {a};
    for (const Case &c : cases) {
        const std::string name = RecoveryFileName(c.path, c.profile, c.untitled);
        EXPECT_TRUE(names.insert(name).second) << c.name << ": " << name;
        EXPECT_EQ(name.find('/'), std::string::npos) << c.name;
        EXPECT_TRUE(IsRecoveryFileOf(name, c.profile)) << c.name;
        for (const std::optional<std::uint32_t> other :
             {std::optional<std::uint32_t>(), std::optional<std::uint32_t>(1U),
              std::optional<std::uint32_t>(2U)}) {
            if (other != c.profile) {
                EXPECT_FALSE(IsRecoveryFileOf(name, other)) << c.name;
            }
        }
    }
    // A name of odd bytes keeps to plain characters.
    const std::string odd = RecoveryFileName("/tmp/a b\xc3\xa9\n.APT", std::nullopt, "");
    EXPECT_EQ(odd.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                    "0123456789._-"),
              std::string::npos);
    EXPECT_FALSE(IsRecoveryFileOf("main-x.recovery.lock", std::nullopt));
    EXPECT_FALSE(IsRecoveryFileOf("NOTES.APT", std::nullopt));
}

TEST(RecoveryCopy, TheFolderIsTheUsersStateFolder)
{
    EXPECT_EQ(RecoveryDirectory("/s", "/h"), "/s/dayvane");
    EXPECT_EQ(RecoveryDirectory("relative", "/h"), "/h/.local/state/dayvane");
    EXPECT_EQ(RecoveryDirectory("", "/h"), "/h/.local/state/dayvane");
    EXPECT_EQ(RecoveryDirectory(nullptr, "/h"), "/h/.local/state/dayvane");
    EXPECT_EQ(RecoveryDirectory(nullptr, nullptr), "");
}

TEST(RecoveryCopy, DecisionOverTheFacts)
{
    const FileIdentity read {1, 2, 30, 400, 500};
    const FileIdentity later {1, 2, 31, 401, 501};
    struct Case
    {
        const char *name;
        RecoveryFacts facts;
        RecoveryAction action;
    };
    const Case cases[] = {
        {"file as read", {false, false, read, read, false}, RecoveryAction::Offer},
        {"file changed since", {false, false, read, later, false}, RecoveryAction::OfferChanged},
        {"file gone since", {false, false, read, std::nullopt, false}, RecoveryAction::OfferGone},
        {"new file never saved",
         {false, false, std::nullopt, std::nullopt, false},
         RecoveryAction::Offer},
        {"new file made since",
         {false, false, std::nullopt, later, false},
         RecoveryAction::OfferChanged},
        {"file holds the same lines", {false, false, read, later, true}, RecoveryAction::Discard},
        {"untitled", {true, false, std::nullopt, std::nullopt, false}, RecoveryAction::Offer},
        {"untitled and empty",
         {true, false, std::nullopt, std::nullopt, true},
         RecoveryAction::Discard},
        {"writer still runs", {false, true, read, later, false}, RecoveryAction::Leave},
        {"writer runs, same lines", {false, true, read, read, true}, RecoveryAction::Leave},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DecideRecovery(c.facts), c.action) << c.name;
}

TEST(RecoveryCopy, DifferenceListsRemovedAndAddedLinesUpToALimit)
{
    const std::vector<std::string> file {"a", "b", "c", "d"};
    struct Case
    {
        const char *name;
        std::vector<std::string> copy;
        std::size_t maxLines;
        std::string text;
    };
    const Case cases[] = {
        {"same", file, 8, ""},
        {"one added", {"a", "b", "new", "c", "d"}, 8, "+ new"},
        {"one replaced", {"a", "B", "c", "d"}, 8, "- b\n+ B"},
        {"cut short", {"x", "y", "z"}, 2, "- a\n- b\n(and 5 more lines)"},
        {"one left out", {"a", "b", "c"}, 0, "(and 1 more line)"},
        {"long line cut", {"a", "b", "c", "d", "0123456789abc\r\n&more"}, 8, "+ 0123456789"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RecoveryDifference(file, c.copy, c.maxLines, 10), c.text) << c.name;
}

// The folder and the ones above it are made; the copy is replaced whole, read back by the
// search at start, and goes when removed. A file of the folder that is no copy stays.
TEST(RecoveryCopy, WrittenCopiesAreFoundWithTheFactsAndRemoved)
{
    TempDir dir;
    const std::string folder = dir.file("state/dayvane");
    const std::string notes = dir.file("NOTES.APT");
    writeBytes(notes, "12/7/2026 Meet\r\n");
    const std::optional<FileIdentity> read = CurrentIdentity(notes);
    RecoveryCopy copy {notes, read, 0, {"12/7/2026 Meet", "12/8/2026 Lunch"}};
    const std::string name = RecoveryFileName(notes, std::nullopt, "");
    ASSERT_TRUE(WriteRecoveryCopy(folder, name, copy).ok);
    copy.lines.push_back("12/9/2026 Call");
    ASSERT_TRUE(WriteRecoveryCopy(folder, name, copy).ok);
    writeBytes(folder + "/notes-of-mine.txt", "not a copy");
    RecoveryCopy other {dir.file("GONE.APT"), read, 0, {"x"}};
    ASSERT_TRUE(WriteRecoveryCopy(folder, RecoveryFileName(other.path, 3U, ""), other).ok);

    std::vector<FoundRecovery> found = FindRecoveryCopies(folder, std::nullopt, 2);
    ASSERT_EQ(found.size(), 1U) << "profile 3's copy belongs to profile 3";
    EXPECT_EQ(found[0].fileName, name);
    EXPECT_EQ(found[0].copy.lines, copy.lines);
    EXPECT_EQ(found[0].fileLines, std::vector<std::string> {"12/7/2026 Meet"});
    EXPECT_EQ(DecideRecovery(found[0].facts), RecoveryAction::Offer);
    writeBytes(notes, "12/7/2026 Meet\r\n12/7/2026 More\r\n");
    found = FindRecoveryCopies(folder, std::nullopt, 2);
    EXPECT_EQ(DecideRecovery(found[0].facts), RecoveryAction::OfferChanged);
    ::unlink(notes.c_str());
    found = FindRecoveryCopies(folder, std::nullopt, 2);
    EXPECT_EQ(DecideRecovery(found[0].facts), RecoveryAction::OfferGone);
    found = FindRecoveryCopies(folder, 3U, 2);
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(DecideRecovery(found[0].facts), RecoveryAction::OfferGone);

    // Set aside, a copy keeps its profile and its content under a name of its own.
    const std::string aside = SetRecoveryCopyAside(folder, name, "77");
    EXPECT_NE(aside, name);
    EXPECT_EQ(RecoveryFileNames(folder, std::nullopt), std::vector<std::string> {aside});
    EXPECT_EQ(FindRecoveryCopies(folder, std::nullopt, 2)[0].copy.lines, copy.lines);
    EXPECT_TRUE(SetRecoveryCopyAside(folder, name, "78").empty()) << "nothing to set aside";
    EXPECT_TRUE(RemoveRecoveryCopy(folder, aside));
    EXPECT_TRUE(RemoveRecoveryCopy(folder, aside)) << "already gone is fine";
    EXPECT_TRUE(FindRecoveryCopies(folder, std::nullopt, 2).empty());
    EXPECT_EQ(readBytes(folder + "/notes-of-mine.txt"), "not a copy");
}

// A running writer's copy is its own; a writer that is gone left it for us.
TEST(RecoveryCopy, ACopyOfARunningProgramIsLeftAlone)
{
    TempDir dir;
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ASSERT_GT(gone, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(gone, &status, 0), gone);
    struct Case
    {
        const char *name;
        std::int64_t writer;
        bool running;
    };
    const Case cases[] = {
        {"another running program", static_cast<std::int64_t>(::getppid()), true},
        {"this program", static_cast<std::int64_t>(::getpid()), false},
        {"a program that ended", static_cast<std::int64_t>(gone), false},
        {"no writer", 0, false},
    };
    for (const Case &c : cases) {
        const RecoveryCopy copy {"", std::nullopt, c.writer, {"x"}};
        ASSERT_TRUE(WriteRecoveryCopy(dir.path(), "main-untitled-1.recovery", copy).ok);
        const std::vector<FoundRecovery> found
            = FindRecoveryCopies(dir.path(), std::nullopt, ::getpid());
        ASSERT_EQ(found.size(), 1U) << c.name;
        EXPECT_EQ(found[0].facts.writerRunning, c.running) << c.name;
    }
}

TEST(RecoveryCopy, AFolderThatCannotBeMadeIsAFailedWrite)
{
    TempDir dir;
    writeBytes(dir.file("plain"), "a file where the folder should be");
    const SaveResult result
        = WriteRecoveryCopy(dir.file("plain/dayvane"), "main-x.recovery", {"", {}, 1, {"x"}});
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("plain/dayvane"), std::string::npos) << result.reason;
    EXPECT_FALSE(WriteRecoveryCopy("", "main-x.recovery", {"", {}, 1, {"x"}}).ok);
}
