// Every step of a save failing in turn, the way a database tests its I/O: whatever step
// fails, the appointment file is its old or its new version, the backup is complete, no
// temporary file is left, and the result says what happened.
#include "store/fileio.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
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

// The real calls, except that call number failAt fails with failErrno (the step is not
// done, except close and the syncs, which release or flush before they report), and that
// writes may be cut short or interrupted.
class FaultyOps : public FileOps
{
public:
    int failAt = 0;
    int failErrno = EIO;
    bool linkUnsupported = false; // every link fails as on a file system without links
    std::size_t maxWrite = 0; // 0: no limit
    bool interruptWrites = false; // every other write is interrupted before it starts

    int calls = 0;
    std::string failedCall;

    int open(const char *path, int flags, mode_t mode) override
    {
        return fault("open") ? -1 : FileOps::open(path, flags, mode);
    }
    ssize_t read(int fd, void *buffer, std::size_t count) override
    {
        return fault("read") ? -1 : FileOps::read(fd, buffer, count);
    }
    ssize_t write(int fd, const void *buffer, std::size_t count) override
    {
        if (interruptWrites && (m_writes++ % 2 == 0)) {
            errno = EINTR;
            return -1;
        }
        if (maxWrite != 0 && count > maxWrite)
            count = maxWrite;
        return fault("write") ? -1 : FileOps::write(fd, buffer, count);
    }
    int fdatasync(int fd) override
    {
        FileOps::fdatasync(fd);
        return fault("fdatasync") ? -1 : 0;
    }
    int fsync(int fd) override
    {
        FileOps::fsync(fd);
        return fault("fsync") ? -1 : 0;
    }
    int close(int fd) override
    {
        const int result = FileOps::close(fd);
        return fault("close") ? -1 : result;
    }
    int fstat(int fd, struct stat *info) override
    {
        return fault("fstat") ? -1 : FileOps::fstat(fd, info);
    }
    int lstat(const char *path, struct stat *info) override
    {
        return fault("lstat") ? -1 : FileOps::lstat(path, info);
    }
    ssize_t readlink(const char *path, char *buffer, std::size_t size) override
    {
        return fault("readlink") ? -1 : FileOps::readlink(path, buffer, size);
    }
    int fchown(int fd, uid_t owner, gid_t group) override
    {
        return fault("fchown") ? -1 : FileOps::fchown(fd, owner, group);
    }
    int fchmod(int fd, mode_t mode) override
    {
        return fault("fchmod") ? -1 : FileOps::fchmod(fd, mode);
    }
    int link(const char *from, const char *to) override
    {
        if (linkUnsupported) {
            errno = EPERM;
            return -1;
        }
        return fault("link") ? -1 : FileOps::link(from, to);
    }
    int rename(const char *from, const char *to) override
    {
        return fault("rename") ? -1 : FileOps::rename(from, to);
    }
    int unlink(const char *path) override { return fault("unlink") ? -1 : FileOps::unlink(path); }

private:
    bool fault(const char *call)
    {
        if (++calls != failAt)
            return false;
        failedCall = call;
        errno = failErrno;
        return true;
    }
    int m_writes = 0;
};

enum class Start { WithBackup, WithoutBackup, NewFile };

struct Scenario
{
    Start start;
    bool linkUnsupported;
    bool throughSymlink;
};

// What must hold after a save of `saved` that failed at one step (or at none).
void checkOutcome(const TempDir &dir, const Scenario &setup, const SaveResult &result,
                  const std::string &saved, const std::string &step)
{
    const std::string file = readBytes(dir.file("NOTES.APT"));
    const Names names = dir.names();
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
    if (result.ok || inPlace) {
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
    if (!result.ok && inPlace) {
        EXPECT_NE(result.reason.find("may not survive"), std::string::npos) << step;
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
        {Start::WithBackup, false, false}, {Start::WithoutBackup, false, false},
        {Start::NewFile, false, false},    {Start::WithBackup, true, false},
        {Start::WithBackup, false, true},
    };
    for (const Scenario &setup : setups) {
        SCOPED_TRACE(testing::Message()
                     << "start " << static_cast<int>(setup.start) << ", no links "
                     << setup.linkUnsupported << ", symlink " << setup.throughSymlink);
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
