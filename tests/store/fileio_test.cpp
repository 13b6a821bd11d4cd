#include "store/fileio.h"
#include "store/filerules.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
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
#include <sys/xattr.h>
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
    dir.id = identityOf(dir.file("NOTES.APT"));
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
    dir.id = identityOf(dir.file("NOTES.APT"));
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
    EXPECT_EQ(statOf(dir.file("NOTES.APT")).st_ino, dir.id->ino);
    // Its second name came and went: the identity to expect next is handed back.
    EXPECT_EQ(saved.unchangedIdentity, identityOf(dir.file("NOTES.APT")));
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

// Refuses either every open that creates a file (named or unnamed), or every open of a
// directory to sync it, as a directory that refuses it would.
class RefusingOps : public FileOps
{
public:
    explicit RefusingOps(bool creating)
        : m_creating(creating)
    { }
    int open(const char *path, int flags, mode_t mode) override
    {
        const bool unnamed = (flags & O_TMPFILE) == O_TMPFILE;
        const bool creates = unnamed || (flags & O_EXCL) != 0;
        const bool directory = !unnamed && (flags & O_DIRECTORY) != 0;
        if (m_creating ? creates : directory) {
            errno = EACCES;
            return -1;
        }
        return FileOps::open(path, flags, mode);
    }

private:
    bool m_creating;
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
        bool creating; // creating the file fails, else syncing the directory
        const char *wording;
    };
    const Case cases[] = {
        {"NOTES.APT", "", true, "cannot create a file in the directory "},
        {"./NOTES.APT", "", true, "cannot create a file in the directory "},
        {"sub/NOTES.APT", "/sub", true, "cannot create a file in the directory "},
        {"NOTES.APT", "", false, "the new version is in place, but the directory "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        TempDir dir;
        ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0700), 0);
        InDirectory here(dir.path());
        RefusingOps ops(c.creating);
        const SaveResult saved = SaveFileAtomically(c.path, "new", std::nullopt, false, ops);
        EXPECT_EQ(saved.ok, !c.creating);
        const std::string &message = saved.ok ? saved.warning : saved.reason;
        const std::string expected = c.wording + dir.path() + c.subdirectory;
        const std::size_t at = message.find(expected);
        ASSERT_NE(at, std::string::npos) << message;
        // The name ends there: no "/." or "/./" is left of the relative path.
        const char after = message[at + expected.size()];
        EXPECT_TRUE(after == ' ' || after == ':' || after == '\0') << message;
    }
}

namespace {

void setTimes(const std::string &path, const struct stat &from)
{
    const timespec times[2] = {from.st_atim, from.st_mtim};
    ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

} // namespace

TEST(SaveFileAtomically, AnEditInPlaceKeepingSizeAndModificationTimeIsNoticed)
{
    SavedBefore dir;
    const struct stat before = statOf(dir.file("NOTES.APT"));
    writeBytes(dir.file("NOTES.APT"), "OLD\r\n");
    setTimes(dir.file("NOTES.APT"), before);
    const SaveResult saved = SaveFileAtomically(dir.file("NOTES.APT"), "mine", dir.id, false);
    EXPECT_TRUE(saved.changedOnDisk) << saved.reason;
    EXPECT_EQ(readBytes(dir.file("NOTES.APT")), "OLD\r\n");
}

TEST(SaveFileAtomically, AFileTheUserMayNotWriteIsNotReplacedEvenWhenForced)
{
    // The owner's write bit decides, for root as for the owner.
    for (const mode_t mode : {0444u, 0400u, 0555u, 0644u, 0600u, 0200u}) {
        SavedBefore dir;
        ::chmod(dir.file("NOTES.APT").c_str(), mode);
        const bool writable = (mode & 0200) != 0;
        for (const bool force : {false, true}) {
            const SaveResult saved = SaveFileAtomically(dir.file("NOTES.APT"), "new",
                                                        identityOf(dir.file("NOTES.APT")), force);
            EXPECT_EQ(saved.ok, writable) << std::oct << mode << " " << saved.reason;
            EXPECT_EQ(saved.readOnly, !writable) << std::oct << mode;
            if (!writable) {
                EXPECT_NE(saved.reason.find("read-only"), std::string::npos) << saved.reason;
                EXPECT_EQ(readBytes(dir.file("NOTES.APT")), "old\r\n");
                EXPECT_EQ(dir.names(), (Names {"NOTES.APT", "NOTES.BAK"}));
            }
        }
    }
    // Someone else's file that only its owner may write, in a directory everyone may write.
    SavedBefore dir;
    ::chmod(dir.path().c_str(), 0777);
    ::chmod(dir.file("NOTES.APT").c_str(), 0644);
    if (::geteuid() != 0)
        GTEST_SKIP() << "another user's file needs root to set up";
    const std::string path = dir.file("NOTES.APT");
    const int status = inChild(
        [&path] {
            const SaveResult saved = SaveFileAtomically(path, "new", identityOf(path), true);
            return saved.readOnly && !saved.ok ? 0 : 1;
        },
        65534);
    ASSERT_NE(status, CouldNotSwitchUser) << "cannot become an ordinary user";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readBytes(path), "old\r\n");
}

namespace {

// A POSIX access ACL in the kernel's extended attribute form: version 2, then entries
// of tag, permissions and id, ordered by tag.
std::string accessAcl(std::uint32_t namedUser)
{
    constexpr std::uint32_t none = 0xffffffff;
    const std::uint32_t header = 2;
    struct Entry
    {
        std::uint16_t tag, perm;
        std::uint32_t id;
    };
    // Owner rw, one more user rw, owning group r, mask rw (the mode's group bits), others
    // nothing.
    const Entry entries[] = {
        {0x01, 6, none}, {0x02, 6, namedUser}, {0x04, 4, none}, {0x10, 6, none}, {0x20, 0, none}};
    std::string acl(reinterpret_cast<const char *>(&header), sizeof header);
    return acl.append(reinterpret_cast<const char *>(entries), sizeof entries);
}

std::string attribute(const std::string &path, const char *name)
{
    std::string value(256, '\0');
    const ssize_t n = ::lgetxattr(path.c_str(), name, value.data(), value.size());
    return n < 0 ? std::string() : value.substr(0, static_cast<std::size_t>(n));
}

} // namespace

TEST(SaveFileAtomically, TheNewVersionKeepsExactModeBitsAndExtendedAttributes)
{
    for (const mode_t mode : {0600u, 0640u, 0604u, 0751u, 02640u}) {
        SavedBefore dir;
        ::chmod(dir.file("NOTES.APT").c_str(), mode);
        ASSERT_TRUE(SaveFileAtomically(dir.file("NOTES.APT"), "new",
                                       identityOf(dir.file("NOTES.APT")), false)
                        .ok);
        EXPECT_EQ(statOf(dir.file("NOTES.APT")).st_mode & 07777, mode) << std::oct << mode;
    }

    SavedBefore dir;
    const std::string path = dir.file("NOTES.APT");
    if (::setxattr(path.c_str(), "user.origin", "phone", 5, 0) != 0)
        GTEST_SKIP() << "no user extended attributes on " << dir.path() << ": "
                     << std::strerror(errno);
    const std::string acl = accessAcl(4242);
    const bool withAcl
        = ::setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
    const mode_t mode = statOf(path).st_mode & 07777;
    const SaveResult saved = SaveFileAtomically(path, "new", identityOf(path), false);
    ASSERT_TRUE(saved.ok) << saved.reason;
    EXPECT_EQ(attribute(path, "user.origin"), "phone");
    EXPECT_EQ(statOf(path).st_mode & 07777, mode);
    if (!withAcl)
        GTEST_SKIP() << "no ACLs on " << dir.path();
    EXPECT_EQ(mode, 0660u);
    EXPECT_EQ(attribute(path, "system.posix_acl_access"), acl);
}

namespace {

// Stands in for another program: the file goes away just before the save gives it its
// second name.
class RemovingOps : public FileOps
{
public:
    int link(const char *from, const char *to) override
    {
        FileOps::unlink(from);
        return FileOps::link(from, to);
    }
};

} // namespace

TEST(SaveFileAtomically, AFileRemovedAfterTheFirstCheckIsChangedOnDiskUnlessForced)
{
    for (const bool force : {false, true}) {
        SavedBefore dir;
        RemovingOps ops;
        const SaveResult saved
            = SaveFileAtomically(dir.file("NOTES.APT"), "new", dir.id, force, ops);
        EXPECT_EQ(saved.ok, force) << saved.reason;
        EXPECT_EQ(saved.changedOnDisk, !force) << saved.reason;
        EXPECT_EQ(readBytes(dir.file("NOTES.APT")), force ? "new" : "");
        EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), "older\r\n");
        const Names left = force ? Names {"NOTES.APT", "NOTES.BAK"} : Names {"NOTES.BAK"};
        EXPECT_EQ(dir.names(), left);
    }
}

TEST(SaveLock, APlantedLockNameIsNeverWrittenThrough)
{
    struct Case
    {
        const char *planted;
        bool saves;
    };
    // A link is not followed (the save says why); a pipe or a file there only serves as
    // the lock.
    for (const Case c : {Case {"symlink", false}, Case {"fifo", true}, Case {"file", true}}) {
        SavedBefore dir;
        writeBytes(dir.file("victim"), "precious");
        const std::string lock = dir.file(".NOTES.APT.lock");
        const std::string planted = c.planted;
        if (planted == "symlink")
            ASSERT_EQ(::symlink(dir.file("victim").c_str(), lock.c_str()), 0);
        else if (planted == "fifo")
            ASSERT_EQ(::mkfifo(lock.c_str(), 0600), 0);
        else
            ASSERT_EQ(::link(dir.file("victim").c_str(), lock.c_str()), 0);
        const SaveResult saved = SaveFileAtomically(dir.file("NOTES.APT"), "new", dir.id, false);
        EXPECT_EQ(saved.ok, c.saves) << planted << ": " << saved.reason;
        if (!c.saves) {
            EXPECT_NE(saved.reason.find(lock), std::string::npos) << saved.reason;
        }
        EXPECT_EQ(readBytes(dir.file("victim")), "precious") << planted;
        EXPECT_EQ(readBytes(dir.file("NOTES.APT")), c.saves ? "new" : "old\r\n") << planted;
    }
}
