// Every step of a save failing in turn, the way a database tests its I/O: whatever step
// fails, the appointment file is its old or its new version, the backup is complete, no
// temporary file is left, and the result says what happened.
#include "faultyops.h"
#include "store/fileio.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace dvw;
using namespace dvw::test;
using Names = std::set<std::string>;

namespace {

const std::string Old = "3/5/99 Dentist\r\n";
const std::string OldBackup = "older\r\n";

std::string newVersion()
{
    std::string bytes;
    for (int i = 0; i < 400; ++i)
        bytes
            += "?/" + std::to_string(i % 28 + 1) + " Pay rent, line " + std::to_string(i) + "\r\n";
    return bytes;
}

enum class Start { WithBackup, WithoutBackup, NewFile };

struct Scenario
{
    Start start;
    bool linkUnsupported;
    bool throughSymlink;
    bool tmpfileUnsupported = false;
    bool withAttribute = false; // the file carries an extended attribute the save copies
};

const char AttributeName[] = "user.dayvane.test";
const std::string AttributeValue = "kept";

std::string attributeOf(const std::string &path)
{
    char value[64] = {};
    const ssize_t n = ::getxattr(path.c_str(), AttributeName, value, sizeof value);
    return n < 0 ? std::string() : std::string(value, static_cast<std::size_t>(n));
}

// The directory's names, but an empty lock file that a failed release left: the next
// save takes it over.
Names namesWithoutLock(const TempDir &dir)
{
    Names names = dir.names();
    if (names.erase(".NOTES.APT.lock") != 0) {
        EXPECT_EQ(readBytes(dir.file(".NOTES.APT.lock")), "");
    }
    return names;
}

// What must hold after a save of `saved` that failed at one step (or at none).
void checkOutcome(const TempDir &dir, const Scenario &setup, const SaveResult &result,
                  const std::string &saved, const std::string &step)
{
    const std::string file = readBytes(dir.file("NOTES.APT"));
    const Names names = namesWithoutLock(dir);
    Names before {"NOTES.APT"};
    if (setup.start == Start::WithBackup)
        before.insert("NOTES.BAK");
    if (setup.start == Start::NewFile)
        before.clear();
    if (setup.throughSymlink)
        before.insert("link.APT");
    Names after = before;
    after.insert("NOTES.APT");
    if (setup.start != Start::NewFile)
        after.insert("NOTES.BAK");

    const bool inPlace = result.identity.has_value();
    EXPECT_EQ(inPlace, result.ok) << step;
    if (setup.withAttribute) {
        EXPECT_EQ(attributeOf(dir.file("NOTES.APT")), AttributeValue) << step;
    }
    if (result.ok) {
        EXPECT_EQ(file, saved) << step;
        if (setup.start != Start::NewFile) {
            EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), Old) << step;
        }
        EXPECT_EQ(names, after) << step;
    } else {
        if (setup.start != Start::NewFile) {
            EXPECT_EQ(file, Old) << step;
        }
        if (setup.start == Start::WithBackup) {
            EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), OldBackup) << step;
        }
        EXPECT_EQ(names, before) << step;
    }
    if (!result.ok) {
        EXPECT_NE(result.reason.find(dir.file(setup.throughSymlink ? "link.APT" : "NOTES.APT")),
                  std::string::npos)
            << step << ": " << result.reason;
        EXPECT_NE(result.reason.find("Input/output error"), std::string::npos)
            << step << ": " << result.reason;
    }
    // Only the final directory sync may fail once the new version is in place.
    if (result.ok && !result.warning.empty()) {
        EXPECT_NE(result.warning.find("may not survive"), std::string::npos) << step;
        EXPECT_NE(result.warning.find("Input/output error"), std::string::npos) << step;
    }
}

void prepare(const TempDir &dir, const Scenario &setup)
{
    if (setup.start != Start::NewFile)
        writeBytes(dir.file("NOTES.APT"), Old);
    if (setup.start == Start::WithBackup)
        writeBytes(dir.file("NOTES.BAK"), OldBackup);
    if (setup.throughSymlink)
        ::symlink("NOTES.APT", dir.file("link.APT").c_str());
    if (setup.withAttribute)
        ::setxattr(dir.file("NOTES.APT").c_str(), AttributeName, AttributeValue.data(),
                   AttributeValue.size(), 0);
}

bool attributesSupported()
{
    TempDir dir;
    writeBytes(dir.file("probe"), "");
    return ::setxattr(dir.file("probe").c_str(), AttributeName, "x", 1, 0) == 0;
}

// Runs the save once per step, failing that step; returns how many steps a save has.
int failEveryStep(const Scenario &setup)
{
    const std::string saved = newVersion();
    for (int failAt = 1; failAt < 200; ++failAt) {
        TempDir dir;
        prepare(dir, setup);
        const std::string path = dir.file(setup.throughSymlink ? "link.APT" : "NOTES.APT");
        std::optional<FileIdentity> expected;
        if (setup.start != Start::NewFile)
            expected = LoadFile(path).identity;

        FaultyOps ops;
        ops.failAt = failAt;
        ops.linkUnsupported = setup.linkUnsupported;
        ops.tmpfileUnsupported = setup.tmpfileUnsupported;
        ops.maxWrite = 1000;
        const SaveResult result = SaveFileAtomically(path, saved, expected, false, ops);
        const std::string step = "step " + std::to_string(failAt) + " (" + ops.failedCall + ")";
        EXPECT_FALSE(result.changedOnDisk) << step;
        checkOutcome(dir, setup, result, saved, step);
        if (ops.failedCall.empty()) {
            EXPECT_TRUE(result.ok) << result.reason;
            return ops.calls;
        }
    }
    ADD_FAILURE() << "the save never finished";
    return 0;
}

} // namespace

TEST(SaveFaults, EveryStepFailingLeavesOldOrNewVersionAndNoTemporaryFile)
{
    const Scenario setups[] = {
        {Start::WithBackup, false, false},
        {Start::WithoutBackup, false, false},
        {Start::NewFile, false, false},
        {Start::WithBackup, true, false},
        {Start::WithBackup, false, true},
        {Start::WithBackup, false, false, true},
        {Start::NewFile, false, false, true},
        {Start::WithBackup, true, false, true},
        {Start::WithBackup, false, false, false, true},
    };
    const bool attributes = attributesSupported();
    for (const Scenario &setup : setups) {
        if (setup.withAttribute && !attributes)
            continue; // reported by the attribute test of fileio_test
        SCOPED_TRACE(testing::Message()
                     << "start " << static_cast<int>(setup.start) << ", no links "
                     << setup.linkUnsupported << ", symlink " << setup.throughSymlink
                     << ", no unnamed files " << setup.tmpfileUnsupported << ", attribute "
                     << setup.withAttribute);
        // Several writes, the sync, the link or copy, both renames, the directory sync.
        EXPECT_GT(failEveryStep(setup), setup.start == Start::NewFile ? 9 : 14);
    }
}

TEST(SaveFaults, InterruptedAndShortWritesAreCompleted)
{
    TempDir dir;
    writeBytes(dir.file("NOTES.APT"), Old);
    FaultyOps ops;
    ops.interruptWrites = true;
    ops.maxWrite = 7;
    const std::string saved = newVersion();
    const SaveResult result = SaveFileAtomically(
        dir.file("NOTES.APT"), saved, LoadFile(dir.file("NOTES.APT")).identity, false, ops);
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(readBytes(dir.file("NOTES.APT")), saved);
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), Old);
}

// A real file size limit, in a child process so the limit dies with it. The signal the
// limit raises is ignored, so writes past it fail with EFBIG as on a full disk.
TEST(SaveFaults, FileSizeLimitSweptAcrossTheNewVersion)
{
    const std::string saved = newVersion();
    const rlim_t size = saved.size();
    for (rlim_t limit = 0; limit <= size + 1; limit += (limit + 3 >= size ? 1 : size / 17)) {
        TempDir dir;
        writeBytes(dir.file("NOTES.APT"), Old);
        writeBytes(dir.file("NOTES.BAK"), OldBackup);
        const std::optional<FileIdentity> expected = LoadFile(dir.file("NOTES.APT")).identity;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit cap {limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &cap);
            const SaveResult result
                = SaveFileAtomically(dir.file("NOTES.APT"), saved, expected, false);
            const bool honest
                = result.ok || result.reason.find("File too large") != std::string::npos;
            ::_exit(result.ok ? 0 : honest ? 1 : 2);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "limit " << limit;
        const int exitCode = WEXITSTATUS(status);
        EXPECT_EQ(exitCode, limit >= size ? 0 : 1) << "limit " << limit;
        const bool savedOk = exitCode == 0;
        EXPECT_EQ(readBytes(dir.file("NOTES.APT")), savedOk ? saved : Old) << "limit " << limit;
        EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), savedOk ? Old : OldBackup) << "limit " << limit;
        EXPECT_EQ(dir.names(), (Names {"NOTES.APT", "NOTES.BAK"})) << "limit " << limit;
    }
}

namespace {

// Another program replaces the file while the new version is being written.
class RacingOps : public FileOps
{
public:
    explicit RacingOps(std::string path)
        : m_path(std::move(path))
    { }
    int fdatasync(int fd) override
    {
        writeBytes(m_path + ".theirs", "theirs\r\n");
        FileOps::rename((m_path + ".theirs").c_str(), m_path.c_str());
        return FileOps::fdatasync(fd);
    }

private:
    std::string m_path;
};

} // namespace

TEST(SaveFaults, AChangeDuringTheSaveIsNeverOverwrittenSilently)
{
    for (const bool force : {false, true}) {
        TempDir dir;
        writeBytes(dir.file("NOTES.APT"), Old);
        writeBytes(dir.file("NOTES.BAK"), OldBackup);
        RacingOps ops(dir.file("NOTES.APT"));
        const SaveResult result = SaveFileAtomically(
            dir.file("NOTES.APT"), "mine", LoadFile(dir.file("NOTES.APT")).identity, force, ops);
        EXPECT_EQ(result.ok, force) << result.reason;
        EXPECT_EQ(result.changedOnDisk, !force);
        EXPECT_EQ(readBytes(dir.file("NOTES.APT")), force ? "mine" : "theirs\r\n");
        EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), force ? "theirs\r\n" : OldBackup);
        EXPECT_EQ(dir.names(), (Names {"NOTES.APT", "NOTES.BAK"}));
    }
}

namespace {

// A save that is killed at the first call of `step` (the process ends there).
class KilledOps : public FaultyOps
{
public:
    std::string step;
    int rename(const char *from, const char *to) override
    {
        die("rename");
        return FaultyOps::rename(from, to);
    }
    int fdatasync(int fd) override
    {
        die("fdatasync");
        return FaultyOps::fdatasync(fd);
    }

private:
    void die(const char *call)
    {
        if (step == call)
            ::_exit(9);
    }
};

} // namespace

TEST(SaveFaults, ASaveKilledBeforeItsRenameLeavesNoCopyAfterTheNextSave)
{
    struct Case
    {
        bool tmpfileUnsupported;
        const char *killedAt;
        bool namesLeft; // the killed save left names of its own behind
    };
    const Case cases[] = {
        {false, "fdatasync", false},
        {false, "rename", true},
        {true, "fdatasync", true},
        {true, "rename", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "no unnamed files " << c.tmpfileUnsupported
                                        << ", killed at " << c.killedAt);
        TempDir dir;
        const std::string path = dir.file("NOTES.APT");
        writeBytes(path, Old);
        writeBytes(dir.file("NOTES.BAK"), OldBackup);
        // Names of the same pattern that must stay: a live process's (pid 1), and an
        // older version that is not the file itself.
        writeBytes(dir.file(".NOTES.APT.1-0.tmp"), "live");
        writeBytes(dir.file(".NOTES.APT.999999999-0.old"), "only copy");
        const Names kept
            = {"NOTES.APT", "NOTES.BAK", ".NOTES.APT.1-0.tmp", ".NOTES.APT.999999999-0.old"};
        const int status = inChild([&] {
            KilledOps ops;
            ops.tmpfileUnsupported = c.tmpfileUnsupported;
            ops.step = c.killedAt;
            SaveFileAtomically(path, newVersion(), LoadFile(path).identity, false, ops);
            return 0;
        });
        ASSERT_EQ(status, 9);
        EXPECT_EQ(readBytes(path), Old);
        Names left = dir.names();
        left.erase(".NOTES.APT.lock");
        EXPECT_EQ(left != kept, c.namesLeft);

        const SaveResult result = SaveFileAtomically(path, "next", LoadFile(path).identity, false);
        ASSERT_TRUE(result.ok) << result.reason;
        EXPECT_EQ(dir.names(), kept);
        EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), Old);
    }
}

namespace {

// The backup cannot be made and the previous version cannot be put back.
class TwoRenamesFailOps : public FileOps
{
public:
    int rename(const char *from, const char *to) override
    {
        if (++m_renames >= 2) {
            errno = EIO;
            return -1;
        }
        return FileOps::rename(from, to);
    }

private:
    int m_renames = 0;
};

} // namespace

TEST(SaveFaults, BackupAndItsUndoFailingIsASaveThatSaysWhereEachVersionIs)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, Old);
    writeBytes(dir.file("NOTES.BAK"), OldBackup);
    TwoRenamesFailOps ops;
    const SaveResult result = SaveFileAtomically(path, "new", LoadFile(path).identity, false, ops);
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(readBytes(path), "new");
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), OldBackup);
    // The one other name left holds the previous version, and the warning gives it.
    Names names = dir.names();
    names.erase("NOTES.APT");
    names.erase("NOTES.BAK");
    ASSERT_EQ(names.size(), 1u);
    const std::string kept = dir.file(*names.begin());
    EXPECT_EQ(readBytes(kept), Old);
    EXPECT_NE(result.warning.find("kept as " + kept), std::string::npos) << result.warning;
    EXPECT_NE(result.warning.find(dir.file("NOTES.BAK")), std::string::npos) << result.warning;
}

namespace {

// Counts the pauses of a save waiting for the lock, without waiting.
class ImpatientOps : public FileOps
{
public:
    int pauses = 0;
    int nanosleep(const struct timespec *) override
    {
        ++pauses;
        return 0;
    }
};

} // namespace

TEST(SaveLock, ASaveWaitsForAnotherSaveOfTheFileAndGivesUpSayingSo)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, Old);
    ::symlink("NOTES.APT", dir.file("link.APT").c_str());
    const std::optional<FileIdentity> read = LoadFile(path).identity;
    {
        const SaveLock other = LockForSave(path);
        ASSERT_TRUE(other.held()) << other.reason();
        // The lock is the file's, whichever name leads to it.
        for (const std::string &name : {path, dir.file("link.APT")}) {
            ImpatientOps ops;
            const SaveResult result = SaveFileAtomically(name, "mine", read, false, ops);
            EXPECT_FALSE(result.ok);
            EXPECT_NE(result.reason.find(name), std::string::npos) << result.reason;
            EXPECT_NE(result.reason.find("locked"), std::string::npos) << result.reason;
            // Waited about SaveLockWaitSeconds in pauses of a fiftieth of a second.
            EXPECT_EQ(ops.pauses, SaveLockWaitSeconds * 50);
            EXPECT_EQ(readBytes(path), Old);
        }
        // The holder of the lock saves without waiting for itself.
        ImpatientOps ops;
        const SaveResult mine = SaveFileAtomically(path, "mine", read, false, ops, &other);
        EXPECT_TRUE(mine.ok) << mine.reason;
        EXPECT_EQ(ops.pauses, 0);
    }
    EXPECT_EQ(dir.names(), (Names {"NOTES.APT", "NOTES.BAK", "link.APT"}));
    EXPECT_TRUE(SaveFileAtomically(path, "after", LoadFile(path).identity, false).ok);
}

// Several programs reading, changing and saving one file at once: a save may be refused
// as changed on disk, but none that reports success is lost.
TEST(SaveLock, ConcurrentSavesNeverLoseOneThatReportedSuccess)
{
    constexpr int Writers = 3;
    constexpr int Rounds = 40;
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, "");
    const int acknowledged = sumOfChildren(Writers, [&path](int writer) {
        int saved = 0;
        for (int round = 0; round < Rounds; ++round) {
            const LoadResult loaded = LoadFile(path);
            const std::string line = std::to_string(writer) + "/" + std::to_string(round) + "\r\n";
            saved += SaveFileAtomically(path, loaded.bytes + line, loaded.identity, false).ok;
        }
        return saved;
    });
    const std::string text = readBytes(path);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), acknowledged);
    EXPECT_GT(acknowledged, 0);
}

TEST(LoadFaults, EveryStepFailingIsAFailedLoadNamingTheCause)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    const std::string saved = newVersion();
    writeBytes(path, saved);
    for (int failAt = 1; failAt < 50; ++failAt) {
        FaultyOps ops;
        ops.failAt = failAt;
        const LoadResult loaded = LoadFile(path, ops);
        const std::string step = "step " + std::to_string(failAt) + " (" + ops.failedCall + ")";
        if (ops.failedCall.empty() || ops.failedCall == "close") {
            EXPECT_EQ(loaded.status, LoadResult::Loaded) << step;
            EXPECT_EQ(loaded.bytes, saved) << step;
            if (ops.failedCall.empty())
                return;
            continue;
        }
        EXPECT_EQ(loaded.status, LoadResult::Failed) << step;
        EXPECT_EQ(loaded.bytes, "") << step;
        EXPECT_NE(loaded.reason.find(path), std::string::npos) << step;
        EXPECT_NE(loaded.reason.find("Input/output error"), std::string::npos) << step;
    }
    ADD_FAILURE() << "the load never finished";
}
