#include "fileio.h"

#include "filerules.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

namespace dvw {

namespace {

// A symbolic link chain longer than this is taken as a loop, as the system does.
constexpr int MaxLinkHops = 40;
// Tries at a fresh temporary name before giving up on a directory full of them.
constexpr int MaxNameTries = 100;
constexpr std::size_t ReadChunk = 64 * 1024;
// The save lock is asked for LockPolls times, LockPollPause apart: SaveLockWaitSeconds.
constexpr long LockPollPauseNs = 20'000'000;
constexpr int LockPolls = static_cast<int>(SaveLockWaitSeconds * 1'000'000'000L / LockPollPauseNs);
// An attribute list or value that keeps growing while it is read is given up after this.
constexpr int MaxAttributeTries = 5;
// The new version's temporary name, and the previous version's second name until it
// becomes the backup.
constexpr std::string_view NewSuffix = ".tmp";
constexpr std::string_view PreviousSuffix = ".old";
constexpr std::string_view AclAttribute = "system.posix_acl_access";

std::string errorText(int err)
{
    return std::generic_category().message(err);
}

const char *kindOfNonFile(mode_t mode)
{
    if (S_ISDIR(mode))
        return "is a directory";
    if (S_ISFIFO(mode))
        return "is a named pipe, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "is a device, not a file";
    if (S_ISSOCK(mode))
        return "is a socket, not a file";
    return "is not a regular file";
}

std::string directoryOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// The directory as the user can find it: a relative one ("." for a bare file name) is
// named from the current directory. Only for messages; the save itself works on `dir`.
std::string absoluteDirectory(const std::string &dir)
{
    if (dir.starts_with('/'))
        return dir;
    std::vector<char> buffer(4096);
    if (::getcwd(buffer.data(), buffer.size()) == nullptr)
        return dir;
    const std::string cwd(buffer.data());
    if (dir == ".")
        return cwd;
    return (cwd == "/" ? "" : cwd) + "/" + (dir.starts_with("./") ? dir.substr(2) : dir);
}

std::string fileNameOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "dir/.NAME." : what the names of a save's own files beside `path` begin with. The file
// name is kept short so that they stay within NAME_MAX.
std::string ownPrefix(const std::string &path)
{
    std::string dir = directoryOf(path);
    if (dir != "/")
        dir += '/';
    return dir + "." + fileNameOf(path).substr(0, 100) + ".";
}

std::string lockPathOf(const std::string &target)
{
    return ownPrefix(target) + "lock";
}

// A name in the directory of `path` that no save uses at the same time:
// ".NAME.<pid>-<n><suffix>". The caller creates it exclusively and asks again when it
// exists.
std::string temporaryName(const std::string &path, std::string_view suffix)
{
    static std::atomic<unsigned> counter {0};
    return ownPrefix(path) + std::to_string(getpid()) + "-" + std::to_string(counter.fetch_add(1))
        + std::string(suffix);
}

// The process id in a name temporaryName gave for `fileName` with this suffix, else 0.
pid_t ownerOfTemporary(const std::string &name, const std::string &fileName,
                       std::string_view suffix)
{
    const std::string prefix = "." + fileName.substr(0, 100) + ".";
    if (!name.starts_with(prefix) || !name.ends_with(suffix))
        return 0;
    const std::string_view middle
        = std::string_view(name).substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    const std::size_t dash = middle.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == middle.size())
        return 0;
    const auto digits = [](std::string_view text) {
        return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(middle.substr(0, dash)) || !digits(middle.substr(dash + 1)) || dash > 9)
        return 0;
    return static_cast<pid_t>(std::stol(std::string(middle.substr(0, dash))));
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The same version apart from the change time, which a second name given to the file
// moves.
bool sameVersion(const FileIdentity &a, const FileIdentity &b)
{
    return a.dev == b.dev && a.ino == b.ino && a.size == b.size && a.mtime == b.mtime;
}

// Reads all of fd; false with errno set on a read error.
bool readAll(FileOps &ops, int fd, std::string &out, std::size_t expectedSize)
{
    out.clear();
    out.resize(expectedSize + 1);
    std::size_t length = 0;
    for (;;) {
        if (length == out.size())
            out.resize(out.size() * 2 + ReadChunk);
        const ssize_t n = ops.read(fd, out.data() + length, out.size() - length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        length += static_cast<std::size_t>(n);
    }
    out.resize(length);
    return true;
}

// Writes all of bytes, retrying short writes; false with errno set on failure.
bool writeAll(FileOps &ops, int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ops.write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            errno = ENOSPC; // no progress on a regular file means no room
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file `path` names with its symbolic links followed; a dangling link leads to a new
// file at its target. False with errno set and `failedAt` naming the link or path.
bool resolveLinks(FileOps &ops, const std::string &path, std::string &target, struct stat &info,
                  bool &exists, std::string &failedAt)
{
    std::string current = path;
    for (int hops = 0;; ++hops) {
        failedAt = current;
        if (ops.lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT)
                return false;
            exists = false;
            break;
        }
        if (!S_ISLNK(info.st_mode)) {
            exists = true;
            break;
        }
        if (hops == MaxLinkHops) {
            errno = ELOOP;
            return false;
        }
        std::vector<char> buffer(static_cast<std::size_t>(std::max<off_t>(info.st_size, 255)) + 1);
        const ssize_t n = ops.readlink(current.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return false;
        if (static_cast<std::size_t>(n) >= buffer.size()) {
            errno = ENAMETOOLONG;
            return false;
        }
        std::string next(buffer.data(), static_cast<std::size_t>(n));
        if (!next.starts_with('/'))
            next = directoryOf(current) + "/" + next;
        current = std::move(next);
    }
    target = current;
    return true;
}

// A value read with the size-query-then-read protocol of the xattr calls; false with
// errno set.
template<typename Read>
bool readGrowing(std::vector<char> &out, Read read)
{
    for (int tries = 0; tries < MaxAttributeTries; ++tries) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return false;
        out.resize(static_cast<std::size_t>(size));
        if (size == 0)
            return true;
        const ssize_t n = read(out.data(), out.size());
        if (n >= 0) {
            out.resize(static_cast<std::size_t>(n));
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
    errno = ERANGE;
    return false;
}

bool locksUnsupported(int err)
{
    return err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS;
}

} // namespace

class SaveLockTaker
{
public:
    static SaveLock refused(std::string reason)
    {
        SaveLock lock;
        lock.m_reason = std::move(reason);
        return lock;
    }

    // `path` is what the user named, for the reason; `target` the file it resolves to.
    static SaveLock take(FileOps &ops, const std::string &path, const std::string &target)
    {
        SaveLock lock;
        lock.m_ops = &ops;
        lock.m_target = target;
        lock.m_lockPath = lockPathOf(target);
        const std::string &lockPath = lock.m_lockPath;
        auto failed = [&](int err) {
            lock.m_reason = path + ": cannot lock the file for saving with " + lockPath + ": "
                + errorText(err);
            return std::move(lock);
        };
        for (int polls = 0;;) {
            // Opened for reading only and never written: a planted link is not followed, a
            // planted pipe does not block, and another file linked there is not harmed.
            // Readable by all, so that one left by a killed save of another user (root)
            // does not keep the owner from saving.
            const int fd = ops.open(
                lockPath.c_str(),
                O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
            if (fd < 0)
                return failed(errno);
            int locked = ops.flock(fd, LOCK_EX | LOCK_NB);
            while (locked != 0 && errno == EWOULDBLOCK && polls < LockPolls) {
                ++polls;
                const timespec pause {0, LockPollPauseNs};
                ops.nanosleep(&pause);
                locked = ops.flock(fd, LOCK_EX | LOCK_NB);
            }
            if (locked != 0 && !locksUnsupported(errno)) {
                const int err = errno;
                ops.close(fd);
                if (err != EWOULDBLOCK)
                    return failed(err);
                lock.m_reason = path + ": another program kept the file locked for saving for "
                    + std::to_string(SaveLockWaitSeconds) + " seconds; not saved";
                return lock;
            }
            // The save that held the lock before removes the lock file: a lock on a file
            // no longer at the path guards nothing, so take the one there now.
            struct stat mine = {};
            struct stat there = {};
            if (ops.fstat(fd, &mine) != 0 || ops.lstat(lockPath.c_str(), &there) != 0) {
                const int err = errno;
                ops.close(fd);
                if (err != ENOENT || ++polls > LockPolls)
                    return failed(err);
                continue;
            }
            if (sameFile(mine, there)) {
                lock.m_fd = fd;
                return lock;
            }
            ops.close(fd);
            if (++polls > LockPolls)
                return failed(EWOULDBLOCK);
        }
    }
};

SaveLock::SaveLock(SaveLock &&other) noexcept
    : m_ops(other.m_ops)
    , m_fd(std::exchange(other.m_fd, -1))
    , m_target(std::move(other.m_target))
    , m_lockPath(std::move(other.m_lockPath))
    , m_reason(std::move(other.m_reason))
{ }

SaveLock &SaveLock::operator=(SaveLock &&other) noexcept
{
    if (this != &other) {
        release();
        m_ops = other.m_ops;
        m_fd = std::exchange(other.m_fd, -1);
        m_target = std::move(other.m_target);
        m_lockPath = std::move(other.m_lockPath);
        m_reason = std::move(other.m_reason);
    }
    return *this;
}

void SaveLock::release()
{
    if (m_fd < 0)
        return;
    // Removed while still locked, so a save waiting on this file sees that it is gone.
    m_ops->unlink(m_lockPath.c_str());
    m_ops->close(m_fd);
    m_fd = -1;
}

SaveLock LockForSave(const std::string &path, FileOps &ops)
{
    std::string target;
    std::string failedAt;
    struct stat info = {};
    bool exists = false;
    if (!resolveLinks(ops, path, target, info, exists, failedAt))
        return SaveLockTaker::refused(path + ": cannot look up " + failedAt + ": "
                                      + errorText(errno));
    return SaveLockTaker::take(ops, path, target);
}

namespace {

// One save, as a sequence of named steps. Each step returns false after recording the
// failure; run() then undoes what the earlier steps left. The new version is written
// before the lock is taken, so the lock is held only for the checks and renames.
class Saver
{
public:
    Saver(FileOps &ops, const std::string &path, std::string_view bytes,
          const std::optional<FileIdentity> &expected, bool force, const SaveLock *lock,
          Backup backup)
        : m_ops(ops)
        , m_path(path)
        , m_bytes(bytes)
        , m_expected(expected)
        , m_force(force)
        , m_heldLock(lock)
        , m_backup(backup)
    { }

    SaveResult run()
    {
        const bool saved = resolveTarget() && checkTarget() && writeTemporary() && lockTarget()
            && checkUnderLock() && keepPreviousVersion() && nameTemporary() && replaceTarget()
            && installBackup();
        if (!saved) {
            cleanUp();
            return m_result;
        }
        m_ownLock.release();
        syncDirectory();
        return m_result;
    }

private:
    bool fail(const std::string &what, int err)
    {
        m_result.ok = false;
        m_result.reason = m_path + ": " + what + ": " + errorText(err);
        return false;
    }

    bool changed()
    {
        m_result.ok = false;
        m_result.changedOnDisk = true;
        m_result.reason
            = m_path + ": the file was changed by another program since it was read; not saved";
        return false;
    }

    bool refuse(const std::string &why)
    {
        m_result.ok = false;
        m_result.reason = m_path + ": " + why + "; not saved";
        return false;
    }

    bool resolveTarget()
    {
        std::string failedAt;
        if (!resolveLinks(m_ops, m_path, m_target, m_targetInfo, m_exists, failedAt)) {
            const int err = errno;
            return fail((failedAt == m_path ? "cannot look up " : "cannot follow the link ")
                            + failedAt,
                        err);
        }
        m_directory = directoryOf(m_target);
        return true;
    }

    // What can be told before anything is written; checkUnderLock decides.
    bool checkTarget()
    {
        if (m_exists && !S_ISREG(m_targetInfo.st_mode))
            return refuse(kindOfNonFile(m_targetInfo.st_mode));
        if (m_exists && !checkWritable())
            return false;
        if (!m_force && !isExpected(m_exists ? &m_targetInfo : nullptr))
            return changed();
        return true;
    }

    bool isExpected(const struct stat *info) const
    {
        if (info == nullptr || !m_expected)
            return info == nullptr && !m_expected;
        return IdentityOf(*info) == *m_expected;
    }

    // A file the user may not write is not replaced, although the directory would allow
    // it. Root may write anything, so for root that is a file with no write bit at all.
    bool checkWritable()
    {
        bool readOnlySystem = false;
        if (::geteuid() == 0) {
            if ((m_targetInfo.st_mode & 0222) != 0)
                return true;
        } else if (m_ops.eaccess(m_target.c_str(), W_OK) == 0) {
            return true;
        } else if (errno == EROFS) {
            readOnlySystem = true;
        } else if (errno != EACCES && errno != EPERM) {
            return fail("cannot look up " + m_target, errno);
        }
        m_result.readOnly = true;
        return refuse(readOnlySystem ? "the file is on a read-only file system"
                                     : "the file is read-only");
    }

    // The new version, complete and synced, with the owner, group, extended attributes
    // and mode of the file it replaces: unnamed (O_TMPFILE) where the file system allows,
    // else under a fresh name beside the target.
    bool writeTemporary()
    {
        // A new file gets the usual mode for new files; an existing one gets its own
        // mode below, and nobody else may read the temporary file before that.
        const mode_t createMode = m_exists ? 0600 : 0666;
        if (!createTemporary(createMode))
            return false;
        if (!writeAll(m_ops, m_fd, m_bytes))
            return fail("cannot write the temporary file " + temporaryLabel(), errno);
        if (m_exists) {
            if (m_ops.fchown(m_fd, m_targetInfo.st_uid, m_targetInfo.st_gid) != 0)
                return fail("cannot give the new version the file's owner and group", errno);
            if (!copyAttributes())
                return false;
            // Last: the mode bits exactly, which an ACL's mask set above must not change.
            if (m_ops.fchmod(m_fd, m_targetInfo.st_mode & 07777) != 0)
                return fail("cannot give the new version the file's permissions", errno);
        }
        if (m_ops.fdatasync(m_fd) != 0)
            return fail("cannot flush the temporary file " + temporaryLabel() + " to disk", errno);
        struct stat info = {};
        if (m_ops.fstat(m_fd, &info) != 0)
            return fail("cannot look up the temporary file " + temporaryLabel(), errno);
        m_newIdentity = IdentityOf(info);
        return m_unnamed || closeTemporary();
    }

    std::string temporaryLabel() const
    {
        return m_unnamed ? "in " + absoluteDirectory(m_directory) : m_temp;
    }

    bool closeTemporary()
    {
        const int fd = m_fd;
        m_fd = -1;
        if (m_ops.close(fd) != 0)
            return fail("cannot write the temporary file " + m_temp, errno);
        return true;
    }

    bool createTemporary(mode_t mode)
    {
        m_fd = m_ops.open(m_directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (m_fd >= 0) {
            m_unnamed = true;
            return true;
        }
        // Kernels and file systems without unnamed files say so in these ways.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return fail("cannot create a file in the directory " + absoluteDirectory(m_directory),
                        errno);
        m_fd = openExclusive(mode, m_temp);
        if (m_fd < 0)
            return fail("cannot create a file in the directory " + absoluteDirectory(m_directory),
                        errno);
        m_tempExists = true;
        return true;
    }

    // A new file beside the target under a fresh name; -1 with errno on failure.
    int openExclusive(mode_t mode, std::string &name)
    {
        for (int tries = 0; tries < MaxNameTries; ++tries) {
            name = temporaryName(m_target, NewSuffix);
            const int fd = m_ops.open(name.c_str(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            if (fd >= 0 || errno != EEXIST)
                return fd;
        }
        return -1;
    }

    // Every extended attribute of the file (its ACL included) on the new version. Those
    // of the security namespace belong to the system's policy, which labels the new file
    // itself: one that cannot be copied does not stop the save.
    bool copyAttributes()
    {
        std::vector<char> list;
        if (!readGrowing(list, [this](char *buffer, std::size_t size) {
                return m_ops.llistxattr(m_target.c_str(), buffer, size);
            })) {
            if (errno == ENOTSUP)
                return true;
            return fail("cannot read the extended attributes of " + m_target, errno);
        }
        bool hasAcl = false;
        std::vector<char> value;
        for (std::size_t at = 0; at < list.size();) {
            const std::string name(list.data() + at);
            at += name.size() + 1;
            hasAcl = hasAcl || name == AclAttribute;
            if (!readGrowing(value, [&](char *buffer, std::size_t size) {
                    return m_ops.lgetxattr(m_target.c_str(), name.c_str(), buffer, size);
                })) {
                if (errno == ENODATA)
                    continue; // removed meanwhile
                return fail("cannot read the extended attribute " + name + " of " + m_target,
                            errno);
            }
            if (m_ops.fsetxattr(m_fd, name.c_str(), value.data(), value.size(), 0) != 0
                && !name.starts_with("security."))
                return fail("cannot give the new version the extended attribute " + name, errno);
        }
        // A default ACL of the directory gave the new file an ACL the old one did not have.
        if (!hasAcl && m_ops.fremovexattr(m_fd, AclAttribute.data()) != 0 && errno != ENODATA
            && errno != ENOTSUP)
            return fail("cannot give the new version the file's permissions", errno);
        return true;
    }

    bool lockTarget()
    {
        if (m_heldLock != nullptr && m_heldLock->held() && m_heldLock->target() == m_target)
            return true;
        m_ownLock = SaveLockTaker::take(m_ops, m_path, m_target);
        if (m_ownLock.held())
            return true;
        m_result.reason = m_ownLock.reason();
        return false;
    }

    // Under the lock: the file must still be the version that was read. Then the
    // temporary files of saves whose process is gone are cleared away.
    bool checkUnderLock()
    {
        struct stat info = {};
        const bool exists = m_ops.lstat(m_target.c_str(), &info) == 0;
        if (!exists && errno != ENOENT)
            return fail("cannot look up " + m_target, errno);
        if (exists && !S_ISREG(info.st_mode))
            return refuse(kindOfNonFile(info.st_mode));
        if (!m_force && !isExpected(exists ? &info : nullptr))
            return changed();
        // Forced: whatever is there now is what the backup keeps.
        const bool appeared = exists && !m_exists;
        m_exists = exists;
        if (exists)
            m_targetInfo = info;
        if (appeared && !checkWritable())
            return false;
        removeStaleTemporaries();
        return true;
    }

    // Best effort: a name of our own pattern whose process no longer exists is left by a
    // save that was killed. A new version never renamed is removed; a previous version's
    // second name only while it is still a name of the file itself (when it is not, it is
    // the only copy of an older version, which a warning named).
    void removeStaleTemporaries()
    {
        std::vector<std::string> names;
        if (m_ops.listDirectory(m_directory.c_str(), names) != 0)
            return;
        const std::string fileName = fileNameOf(m_target);
        const std::string dir = m_directory == "/" ? "/" : m_directory + "/";
        for (const std::string &name : names) {
            const pid_t newOwner = ownerOfTemporary(name, fileName, NewSuffix);
            const pid_t previousOwner = ownerOfTemporary(name, fileName, PreviousSuffix);
            const pid_t owner = newOwner != 0 ? newOwner : previousOwner;
            if (owner == 0 || owner == ::getpid() || m_ops.kill(owner, 0) == 0 || errno != ESRCH)
                continue;
            const std::string path = dir + name;
            struct stat info = {};
            if (m_ops.lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
                continue;
            struct stat target = {};
            if (newOwner != 0) {
                m_ops.unlink(path.c_str());
            } else if (m_ops.lstat(m_target.c_str(), &target) == 0 && sameFile(info, target)) {
                m_touchedTarget = true;
                m_ops.unlink(path.c_str());
            }
        }
    }

    // The previous version gets a second name (a hard link, so it is the very same file
    // with its mode), which becomes the backup once the new version is in place.
    bool keepPreviousVersion()
    {
        if (!m_exists)
            return true;
        if (m_backup == Backup::None) {
            m_previousIdentity = IdentityOf(m_targetInfo);
            return true;
        }
        for (int tries = 0; tries < MaxNameTries; ++tries) {
            m_previous = temporaryName(m_target, PreviousSuffix);
            if (m_ops.link(m_target.c_str(), m_previous.c_str()) == 0) {
                m_previousExists = true;
                m_touchedTarget = true;
                return checkPreviousVersion();
            }
            if (errno == EPERM || errno == EOPNOTSUPP || errno == EMLINK || errno == ENOSYS)
                return copyPreviousVersion();
            if (errno == ENOENT)
                return goneMeanwhile();
            if (errno != EEXIST)
                break;
        }
        return fail("cannot keep the previous version as " + m_previous, errno);
    }

    // The file disappeared after it was checked: changed on disk, or when forced a new
    // file.
    bool goneMeanwhile()
    {
        if (!m_force)
            return changed();
        m_exists = false;
        return true;
    }

    bool checkPreviousVersion()
    {
        struct stat info = {};
        if (m_ops.lstat(m_previous.c_str(), &info) != 0)
            return fail("cannot look up " + m_previous, errno);
        m_previousIdentity = IdentityOf(info);
        if (!m_force && !sameVersion(m_previousIdentity, IdentityOf(m_targetInfo)))
            return changed();
        return true;
    }

    // For file systems without hard links: a synced copy with the same mode.
    bool copyPreviousVersion()
    {
        const int in = m_ops.open(m_target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0);
        if (in < 0 && errno == ENOENT)
            return goneMeanwhile();
        if (in < 0)
            return fail("cannot read the previous version to back it up", errno);
        std::string old;
        struct stat info = {};
        const bool read = m_ops.fstat(in, &info) == 0
            && readAll(m_ops, in, old, static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)));
        const int readError = errno;
        m_ops.close(in);
        if (!read)
            return fail("cannot read the previous version to back it up", readError);
        m_previousIdentity = IdentityOf(info);
        if (!m_force && !sameVersion(m_previousIdentity, IdentityOf(m_targetInfo)))
            return changed();

        const int fd = openPrevious();
        if (fd < 0)
            return fail("cannot create a file in the directory " + absoluteDirectory(m_directory),
                        errno);
        m_previousExists = true;
        const bool copied = writeAll(m_ops, fd, old) && m_ops.fchmod(fd, info.st_mode & 07777) == 0
            && m_ops.fdatasync(fd) == 0;
        const int copyError = errno;
        const bool closed = m_ops.close(fd) == 0;
        if (!copied || !closed)
            return fail("cannot write the backup copy " + m_previous, copied ? errno : copyError);
        return true;
    }

    int openPrevious()
    {
        for (int tries = 0; tries < MaxNameTries; ++tries) {
            m_previous = temporaryName(m_target, PreviousSuffix);
            const int fd = m_ops.open(m_previous.c_str(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd >= 0 || errno != EEXIST)
                return fd;
        }
        return -1;
    }

    // An unnamed new version gets its name only now, just before the rename, so a save
    // killed before this point leaves nothing behind.
    bool nameTemporary()
    {
        if (!m_unnamed)
            return true;
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
        for (int tries = 0; tries < MaxNameTries; ++tries) {
            m_temp = temporaryName(m_target, NewSuffix);
            int linked
                = m_ops.linkat(AT_FDCWD, self.c_str(), AT_FDCWD, m_temp.c_str(), AT_SYMLINK_FOLLOW);
            // Without /proc, the call that needs more privilege.
            if (linked != 0 && errno == ENOENT)
                linked = m_ops.linkat(m_fd, "", AT_FDCWD, m_temp.c_str(), AT_EMPTY_PATH);
            if (linked == 0) {
                m_tempExists = true;
                return closeTemporary();
            }
            if (errno != EEXIST)
                break;
        }
        return fail("cannot give the new version a name in the directory "
                        + absoluteDirectory(m_directory),
                    errno);
    }

    // The last moment before the file is replaced: the version on disk must still be
    // the one whose second name becomes the backup (or, for a new file, still absent).
    bool replaceTarget()
    {
        struct stat info = {};
        if (m_ops.lstat(m_target.c_str(), &info) != 0) {
            if (errno != ENOENT)
                return fail("cannot look up " + m_target, errno);
            if (m_exists)
                return changed();
        } else if (!m_exists || !sameVersion(IdentityOf(info), m_previousIdentity)) {
            return changed();
        }
        if (m_ops.rename(m_temp.c_str(), m_target.c_str()) != 0)
            return fail("cannot replace the file by its new version", errno);
        m_tempExists = false;
        // A rename moves the change time: the identity the next save expects is the one
        // after it. Without it the next save asks, which is safe.
        if (m_ops.lstat(m_target.c_str(), &info) == 0
            && static_cast<std::uint64_t>(info.st_ino) == m_newIdentity.ino
            && static_cast<std::uint64_t>(info.st_dev) == m_newIdentity.dev)
            m_newIdentity = IdentityOf(info);
        m_result.identity = m_newIdentity;
        return true;
    }

    bool installBackup()
    {
        if (!m_exists || m_backup == Backup::None)
            return true;
        const std::string backup = BackupPath(m_target);
        // rename replaces whatever has the backup name, a symbolic link included,
        // without following it.
        if (m_ops.rename(m_previous.c_str(), backup.c_str()) == 0) {
            // When the backup name was already a hard link of the file, rename leaves
            // both names; the second one must not stay behind.
            m_ops.unlink(m_previous.c_str());
            m_previousExists = false;
            return true;
        }
        const int err = errno;
        // Put the previous version back, so the failed save changes nothing.
        if (m_ops.rename(m_previous.c_str(), m_target.c_str()) == 0) {
            m_previousExists = false;
            m_result.identity.reset();
            return fail("cannot make the backup " + backup, err);
        }
        // The new version stays: it is what the user saved, and the previous version keeps
        // the name the warning gives.
        m_previousExists = false;
        m_result.warning = m_path + ": the new version is in place, but the backup " + backup
            + " could not be made (" + errorText(err) + "); the previous version is kept as "
            + m_previous;
        return true;
    }

    void syncDirectory()
    {
        m_result.ok = true;
        const int fd = m_ops.open(m_directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
        int err = 0;
        if (fd < 0) {
            err = errno;
        } else {
            // Some file systems cannot sync a directory and say so with EINVAL.
            if (m_ops.fsync(fd) != 0 && errno != EINVAL)
                err = errno;
            m_ops.close(fd);
        }
        if (err == 0)
            return;
        if (!m_result.warning.empty())
            m_result.warning += "; ";
        else
            m_result.warning = m_path + ": ";
        m_result.warning += "the new version is in place, but the directory "
            + absoluteDirectory(m_directory) + " could not be synced (" + errorText(err)
            + "), so it may not survive a system crash";
    }

    void cleanUp()
    {
        const int err = errno;
        if (m_fd >= 0)
            m_ops.close(m_fd);
        if (m_tempExists)
            m_ops.unlink(m_temp.c_str());
        if (m_previousExists)
            m_ops.unlink(m_previous.c_str());
        noteUnchangedIdentity();
        m_ownLock.release();
        errno = err;
    }

    // A failed save that gave the file read a second name (and took it away again) moved
    // its change time: the identity to expect from now on, while it is still that file.
    void noteUnchangedIdentity()
    {
        struct stat info = {};
        if (m_touchedTarget && !m_result.changedOnDisk && !m_result.identity
            && m_ops.lstat(m_target.c_str(), &info) == 0
            && sameVersion(IdentityOf(info), m_previousIdentity))
            m_result.unchangedIdentity = IdentityOf(info);
    }

    FileOps &m_ops;
    const std::string &m_path;
    std::string_view m_bytes;
    const std::optional<FileIdentity> &m_expected;
    bool m_force;
    const SaveLock *m_heldLock;
    Backup m_backup;
    SaveLock m_ownLock;

    std::string m_target; // the file really replaced, links followed
    std::string m_directory;
    struct stat m_targetInfo = {};
    bool m_exists = false;

    std::string m_temp; // the new version's name until it is renamed over the target
    bool m_tempExists = false;
    bool m_unnamed = false; // the new version has no name yet (O_TMPFILE)
    int m_fd = -1;
    FileIdentity m_newIdentity;

    std::string m_previous; // the previous version's second name until it is the backup
    bool m_previousExists = false;
    bool m_touchedTarget = false; // the file read had a second name during the save
    FileIdentity m_previousIdentity;

    SaveResult m_result;
};

} // namespace

FileIdentity IdentityOf(const struct stat &info)
{
    FileIdentity id;
    id.dev = static_cast<std::uint64_t>(info.st_dev);
    id.ino = static_cast<std::uint64_t>(info.st_ino);
    id.size = static_cast<std::int64_t>(info.st_size);
    id.mtime = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000
        + static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    id.ctime = static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000
        + static_cast<std::int64_t>(info.st_ctim.tv_nsec);
    return id;
}

std::optional<FileIdentity> CurrentIdentity(const std::string &path, FileOps &ops)
{
    struct stat info
    { };
    if (ops.stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return IdentityOf(info);
}

LoadResult LoadFile(const std::string &path, FileOps &ops)
{
    LoadResult result;
    auto failed = [&](const std::string &why) {
        result.status = LoadResult::Failed;
        result.bytes.clear();
        result.reason = path + ": " + why;
        return result;
    };
    // stat first, so that a device or named pipe is never even opened.
    struct stat info = {};
    if (ops.stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            result.status = LoadResult::Missing;
            return result;
        }
        return failed(errorText(errno));
    }
    if (!S_ISREG(info.st_mode))
        return failed(kindOfNonFile(info.st_mode));

    const int fd = ops.open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd < 0) {
        if (errno == ENOENT) {
            result.status = LoadResult::Missing;
            return result;
        }
        return failed(errorText(errno));
    }
    // The name may have been replaced between stat and open.
    const bool looked = ops.fstat(fd, &info) == 0;
    if (!looked || !S_ISREG(info.st_mode)) {
        const int err = errno;
        ops.close(fd);
        return failed(looked ? kindOfNonFile(info.st_mode) : errorText(err));
    }
    result.identity = IdentityOf(info);
    const bool read = readAll(ops, fd, result.bytes,
                              static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)));
    const int err = errno;
    ops.close(fd);
    if (!read)
        return failed(errorText(err));
    result.status = LoadResult::Loaded;
    return result;
}

SaveResult SaveFileAtomically(const std::string &path, std::string_view bytes,
                              const std::optional<FileIdentity> &expected, bool force, FileOps &ops,
                              const SaveLock *lock, Backup backup)
{
    Saver saver(ops, path, bytes, expected, force, lock, backup);
    return saver.run();
}

} // namespace dvw
