#include "store/fileio.h"
#include "store/filerules.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace dvw;
using namespace dvw::test;
using Names = std::set<std::string>;

namespace {

std::optional<FileIdentity> identityOf(const std::string &path)
{
    const LoadResult loaded = LoadFile(path);
    if (loaded.status != LoadResult::Loaded)
        return std::nullopt;
    return loaded.identity;
}

struct stat statOf(const std::string &path)
{
    struct stat info = {};
    ::lstat(path.c_str(), &info);
    return info;
}

// A directory with NOTES.APT ("old") and NOTES.BAK ("older"), as after an earlier save.
struct SavedBefore : TempDir
{
    SavedBefore()
    {
        writeBytes(file("NOTES.APT"), "old\r\n");
        writeBytes(file("NOTES.BAK"), "older\r\n");
        id = identityOf(file("NOTES.APT"));
    }
    std::optional<FileIdentity> id;
};

// Sets or clears the immutable flag, which stops even root from adding a file.
bool setImmutable(const std::string &path, bool on)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

} // namespace

TEST(LoadFile, ReadsTheBytesAndTheIdentity)
{
    TempDir dir;
    writeBytes(dir.file("NOTES.APT"), std::string("a\0b\r\n", 5));
    const LoadResult loaded = LoadFile(dir.file("NOTES.APT"));
    ASSERT_EQ(loaded.status, LoadResult::Loaded) << loaded.reason;
    EXPECT_EQ(loaded.bytes, std::string("a\0b\r\n", 5));
    EXPECT_EQ(loaded.identity.size, 5);
    EXPECT_EQ(loaded.identity.ino, statOf(dir.file("NOTES.APT")).st_ino);
}

TEST(LoadFile, OnlyAMissingPathIsMissing)
{
    TempDir dir;
    EXPECT_EQ(LoadFile(dir.file("NOTES.APT")).status, LoadResult::Missing);
    ASSERT_EQ(::symlink("nowhere", dir.file("dangling").c_str()), 0);
    EXPECT_EQ(LoadFile(dir.file("dangling")).status, LoadResult::Missing);

    writeBytes(dir.file("plain"), "x");
    const LoadResult throughFile = LoadFile(dir.file("plain/NOTES.APT"));
    EXPECT_EQ(throughFile.status, LoadResult::Failed);
    EXPECT_NE(throughFile.reason.find(dir.file("plain/NOTES.APT")), std::string::npos);
    EXPECT_NE(throughFile.reason.find(std::strerror(ENOTDIR)), std::string::npos);
}

TEST(LoadFile, DirectoriesPipesDevicesAndSocketsAreRefusedWithoutBlocking)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, dir.file("sock").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);

    const std::pair<std::string, const char *> cases[] = {
        {dir.path(), "is a directory"},
        {dir.file("fifo"), "named pipe"},
        {"/dev/null", "device"},
        {dir.file("sock"), "socket"},
    };
    for (const auto &[path, words] : cases) {
        const LoadResult loaded = LoadFile(path);
        EXPECT_EQ(loaded.status, LoadResult::Failed) << path;
        EXPECT_NE(loaded.reason.find(words), std::string::npos) << loaded.reason;
    }
    ::close(sock);
}

TEST(LoadFile, AnUnreadableFileIsFailedNotMissing)
{
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    writeBytes(dir.file("NOTES.APT"), "x");
    ::chmod(dir.file("NOTES.APT").c_str(), 0);
    // Root reads every file, so root looks at it as an ordinary user, in a child.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0)
            ::_exit(3);
        const LoadResult loaded = LoadFile(dir.file("NOTES.APT"));
        const bool named = loaded.reason.find(dir.file("NOTES.APT")) != std::string::npos
            && loaded.reason.find(std::strerror(EACCES)) != std::string::npos;
        ::_exit(loaded.status == LoadResult::Failed && named ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "cannot become an ordinary user";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(SaveFileAtomically, ReplacesTheFileAndKeepsThePreviousVersionAsBackup)
{
    SavedBefore dir;
    ::chmod(dir.file("NOTES.APT").c_str(), 0640);
    const SaveResult saved = SaveFileAtomically(dir.file("NOTES.APT"), "new\r\n", dir.id, false);
    ASSERT_TRUE(saved.ok) << saved.reason;
    EXPECT_EQ(readBytes(dir.file("NOTES.APT")), "new\r\n");
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), "old\r\n");
    EXPECT_EQ(dir.names(), (Names {"NOTES.APT", "NOTES.BAK"}));
    EXPECT_EQ(statOf(dir.file("NOTES.APT")).st_mode & 07777, 0640u);
    EXPECT_EQ(statOf(dir.file("NOTES.BAK")).st_mode & 07777, 0640u);
    // The identity handed back lets the next save go through.
    EXPECT_EQ(saved.identity, identityOf(dir.file("NOTES.APT")));
    EXPECT_TRUE(SaveFileAtomically(dir.file("NOTES.APT"), "newer", saved.identity, false).ok);
}

TEST(SaveFileAtomically, ANewFileHasNoBackupAndTheUsualMode)
{
    TempDir dir;
    const mode_t mask = ::umask(022);
    const SaveResult saved
        = SaveFileAtomically(dir.file("NOTES.APT"), "x\r\n", std::nullopt, false);
    ::umask(mask);
    ASSERT_TRUE(saved.ok) << saved.reason;
    EXPECT_EQ(dir.names(), (Names {"NOTES.APT"}));
    EXPECT_EQ(statOf(dir.file("NOTES.APT")).st_mode & 07777, 0644u);
}

TEST(SaveFileAtomically, AnotherProgramsChangeIsNotOverwrittenUnlessForced)
{
    SavedBefore dir;
    writeBytes(dir.file("NOTES.APT"), "theirs\r\n");
    const SaveResult refused = SaveFileAtomically(dir.file("NOTES.APT"), "mine", dir.id, false);
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.changedOnDisk);
    EXPECT_NE(refused.reason.find(dir.file("NOTES.APT")), std::string::npos);
    EXPECT_EQ(readBytes(dir.file("NOTES.APT")), "theirs\r\n");
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), "older\r\n");
    EXPECT_EQ(dir.names(), (Names {"NOTES.APT", "NOTES.BAK"}));

    const SaveResult forced = SaveFileAtomically(dir.file("NOTES.APT"), "mine", dir.id, true);
    EXPECT_TRUE(forced.ok) << forced.reason;
    EXPECT_EQ(readBytes(dir.file("NOTES.APT")), "mine");
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), "theirs\r\n");
}

TEST(SaveFileAtomically, AFileCreatedOrRemovedSinceReadingCountsAsChanged)
{
    SavedBefore dir;
    EXPECT_TRUE(SaveFileAtomically(dir.file("NOTES.APT"), "x", std::nullopt, false).changedOnDisk);
    ::unlink(dir.file("NOTES.APT").c_str());
    EXPECT_TRUE(SaveFileAtomically(dir.file("NOTES.APT"), "x", dir.id, false).changedOnDisk);
    EXPECT_EQ(dir.names(), (Names {"NOTES.BAK"}));
}

TEST(SaveFileAtomically, ASymlinkedFileIsReplacedAtItsTargetWithTheBackupBesideIt)
{
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.file("real.d").c_str(), 0700), 0);
    writeBytes(dir.file("real.d/NOTES.APT"), "old");
    ASSERT_EQ(::symlink("real.d/NOTES.APT", dir.file("link.APT").c_str()), 0);
    const SaveResult saved
        = SaveFileAtomically(dir.file("link.APT"), "new", identityOf(dir.file("link.APT")), false);
    ASSERT_TRUE(saved.ok) << saved.reason;
    EXPECT_TRUE(S_ISLNK(statOf(dir.file("link.APT")).st_mode));
    EXPECT_EQ(readBytes(dir.file("link.APT")), "new");
    EXPECT_EQ(readBytes(dir.file("real.d/NOTES.BAK")), "old");
    EXPECT_EQ(dir.names(), (Names {"link.APT", "real.d"}));

    // A dangling link makes its target the new file.
    ASSERT_EQ(::symlink("real.d/NEW.APT", dir.file("new.APT").c_str()), 0);
    ASSERT_TRUE(SaveFileAtomically(dir.file("new.APT"), "n", std::nullopt, false).ok);
    EXPECT_EQ(readBytes(dir.file("real.d/NEW.APT")), "n");
}

TEST(SaveFileAtomically, APlantedBackupSymlinkIsReplacedNotFollowed)
{
    SavedBefore dir;
    writeBytes(dir.file("victim"), "precious");
    ::unlink(dir.file("NOTES.BAK").c_str());
    ASSERT_EQ(::symlink(dir.file("victim").c_str(), dir.file("NOTES.BAK").c_str()), 0);
    ASSERT_TRUE(SaveFileAtomically(dir.file("NOTES.APT"), "new", dir.id, false).ok);
    EXPECT_EQ(readBytes(dir.file("victim")), "precious");
    EXPECT_TRUE(S_ISREG(statOf(dir.file("NOTES.BAK")).st_mode));
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), "old\r\n");
}

TEST(SaveFileAtomically, ABackupThatIsAlreadyAHardLinkOfTheFileLeavesNoStrayName)
{
    SavedBefore dir;
    ::unlink(dir.file("NOTES.BAK").c_str());
    ASSERT_EQ(::link(dir.file("NOTES.APT").c_str(), dir.file("NOTES.BAK").c_str()), 0);
    ASSERT_TRUE(SaveFileAtomically(dir.file("NOTES.APT"), "new", dir.id, false).ok);
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), "old\r\n");
    EXPECT_EQ(dir.names(), (Names {"NOTES.APT", "NOTES.BAK"}));
}

TEST(SaveFileAtomically, TargetsThatAreNotRegularFilesAreRefused)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0700), 0);
    ASSERT_EQ(::symlink("fifo", dir.file("to-fifo").c_str()), 0);
    for (const char *name : {"fifo", "sub", "to-fifo"}) {
        const SaveResult saved = SaveFileAtomically(dir.file(name), "x", std::nullopt, true);
        EXPECT_FALSE(saved.ok) << name;
        EXPECT_NE(saved.reason.find(dir.file(name)), std::string::npos) << saved.reason;
    }
    EXPECT_EQ(dir.names(), (Names {"fifo", "sub", "to-fifo"}));
}

TEST(SaveFileAtomically, ABackupNameTakenByADirectoryFailsAndChangesNothing)
{
    SavedBefore dir;
    ::unlink(dir.file("NOTES.BAK").c_str());
    ASSERT_EQ(::mkdir(dir.file("NOTES.BAK").c_str(), 0700), 0);
    writeBytes(dir.file("NOTES.BAK/inside"), "x");
    const SaveResult saved = SaveFileAtomically(dir.file("NOTES.APT"), "new", dir.id, false);
    EXPECT_FALSE(saved.ok);
    EXPECT_NE(saved.reason.find("NOTES.BAK"), std::string::npos) << saved.reason;
    EXPECT_EQ(readBytes(dir.file("NOTES.APT")), "old\r\n");
    EXPECT_EQ(identityOf(dir.file("NOTES.APT")), dir.id);
    EXPECT_EQ(dir.names(), (Names {"NOTES.APT", "NOTES.BAK"}));
}

TEST(SaveFileAtomically, AsRootTheOwnerGroupAndModeAreKept)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    SavedBefore dir;
    ASSERT_EQ(::chown(dir.file("NOTES.APT").c_str(), 4242, 4343), 0);
    ASSERT_EQ(::chmod(dir.file("NOTES.APT").c_str(), 0604), 0);
    const SaveResult saved = SaveFileAtomically(dir.file("NOTES.APT"), "new",
                                                identityOf(dir.file("NOTES.APT")), false);
    ASSERT_TRUE(saved.ok) << saved.reason;
    for (const char *name : {"NOTES.APT", "NOTES.BAK"}) {
        const struct stat info = statOf(dir.file(name));
        EXPECT_EQ(info.st_uid, 4242u) << name;
        EXPECT_EQ(info.st_gid, 4343u) << name;
        EXPECT_EQ(info.st_mode & 07777, 0604u) << name;
    }
}

TEST(SaveFileAtomically, AsRootADirectoryThatCannotBeWrittenIsAFailedSave)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "the immutable flag needs root";
    SavedBefore dir;
    if (!setImmutable(dir.path(), true))
        GTEST_SKIP() << "this file system has no immutable flag";
    const SaveResult saved = SaveFileAtomically(dir.file("NOTES.APT"), "new", dir.id, false);
    setImmutable(dir.path(), false);
    EXPECT_FALSE(saved.ok);
    EXPECT_NE(saved.reason.find("cannot create a file in the directory " + dir.path()),
              std::string::npos)
        << saved.reason;
    EXPECT_EQ(readBytes(dir.file("NOTES.APT")), "old\r\n");
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), "older\r\n");
    EXPECT_EQ(dir.names(), (Names {"NOTES.APT", "NOTES.BAK"}));
}

namespace {

// Fails every open whose flags include `failing`, as a directory that refuses it would.
class RefusingOps : public FileOps
{
public:
    explicit RefusingOps(int failing)
        : m_failing(failing)
    { }
    int open(const char *path, int flags, mode_t mode) override
    {
        if ((flags & m_failing) == m_failing) {
            errno = EACCES;
            return -1;
        }
        return FileOps::open(path, flags, mode);
    }

private:
    int m_failing;
};

// Runs in `dir` as the current directory and goes back afterwards.
struct InDirectory
{
    explicit InDirectory(const std::string &dir) { std::filesystem::current_path(dir); }
    ~InDirectory() { std::filesystem::current_path(m_previous); }
    std::filesystem::path m_previous = std::filesystem::current_path();
};

} // namespace

TEST(SaveFileAtomically, AFailureNamesTheAbsoluteDirectoryOfARelativePath)
{
    struct Case
    {
        const char *path;
        const char *subdirectory; // of the temporary directory, "" for itself
        int failing;
        const char *wording;
    };
    const Case cases[] = {
        {"NOTES.APT", "", O_EXCL, "cannot create a file in the directory "},
        {"./NOTES.APT", "", O_EXCL, "cannot create a file in the directory "},
        {"sub/NOTES.APT", "/sub", O_EXCL, "cannot create a file in the directory "},
        {"NOTES.APT", "", O_DIRECTORY, "the new version is in place, but the directory "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        TempDir dir;
        ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0700), 0);
        InDirectory here(dir.path());
        RefusingOps ops(c.failing);
        const SaveResult saved = SaveFileAtomically(c.path, "new", std::nullopt, false, ops);
        EXPECT_FALSE(saved.ok);
        const std::string expected = c.wording + dir.path() + c.subdirectory;
        const std::size_t at = saved.reason.find(expected);
        ASSERT_NE(at, std::string::npos) << saved.reason;
        // The name ends there: no "/." or "/./" is left of the relative path.
        const char after = saved.reason[at + expected.size()];
        EXPECT_TRUE(after == ' ' || after == ':' || after == '\0') << saved.reason;
    }
}
