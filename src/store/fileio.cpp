#include "fileio.h"

#include "filerules.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace dvw {

namespace {

// A symbolic link chain longer than this is taken as a loop, as the system does.
constexpr int MaxLinkHops = 40;
// Tries at a fresh temporary name before giving up on a directory full of them.
constexpr int MaxNameTries = 100;
constexpr std::size_t ReadChunk = 64 * 1024;

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

// A name in the directory of `path` that no save uses at the same time; the caller
// creates it exclusively and asks again when it exists.
std::string temporaryName(const std::string &path)
{
    static std::atomic<unsigned> counter {0};
    // The file name is kept short so the temporary name stays within NAME_MAX.
    const std::string name = fileNameOf(path).substr(0, 100);
    std::string dir = directoryOf(path);
    if (dir != "/")
        dir += '/';
    return dir + "." + name + "." + std::to_string(getpid()) + "-"
        + std::to_string(counter.fetch_add(1)) + ".tmp";
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

// One save, as a sequence of named steps. Each step returns false after recording the
// failure; run() then undoes what the earlier steps left.
class Saver
{
public:
    Saver(FileOps &ops, const std::string &path, std::string_view bytes,
          const std::optional<FileIdentity> &expected, bool force)
        : m_ops(ops)
        , m_path(path)
        , m_bytes(bytes)
        , m_expected(expected)
        , m_force(force)
    { }

    SaveResult run()
    {
        const bool saved = resolveTarget() && checkTarget() && writeTemporary()
            && keepPreviousVersion() && replaceTarget() && installBackup();
        if (!saved) {
            cleanUp();
            return m_result;
        }
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

    // Follows symbolic links to the file that is really replaced; a dangling link leads
    // to a new file at its target.
    bool resolveTarget()
    {
        std::string current = m_path;
        for (int hops = 0;; ++hops) {
            if (m_ops.lstat(current.c_str(), &m_targetInfo) != 0) {
                if (errno != ENOENT)
                    return fail("cannot look up " + current, errno);
                m_exists = false;
                break;
            }
            if (!S_ISLNK(m_targetInfo.st_mode)) {
                m_exists = true;
                break;
            }
            if (hops == MaxLinkHops)
                return fail("cannot follow the link " + current, ELOOP);
            std::vector<char> buffer(
                static_cast<std::size_t>(std::max<off_t>(m_targetInfo.st_size, 255)) + 1);
            const ssize_t n = m_ops.readlink(current.c_str(), buffer.data(), buffer.size());
            if (n < 0)
                return fail("cannot follow the link " + current, errno);
            if (static_cast<std::size_t>(n) >= buffer.size())
                return fail("cannot follow the link " + current, ENAMETOOLONG);
            std::string next(buffer.data(), static_cast<std::size_t>(n));
            if (!next.starts_with('/'))
                next = directoryOf(current) + "/" + next;
            current = std::move(next);
        }
        m_target = current;
        m_directory = directoryOf(m_target);
        return true;
    }

    bool checkTarget()
    {
        if (m_exists && !S_ISREG(m_targetInfo.st_mode)) {
            m_result.reason = m_path + ": " + kindOfNonFile(m_targetInfo.st_mode) + "; not saved";
            return false;
        }
        if (m_force)
            return true;
        if (m_exists != m_expected.has_value())
            return changed();
        if (m_exists && IdentityOf(m_targetInfo) != *m_expected)
            return changed();
        return true;
    }

    // The new version, complete and synced, under a fresh name beside the target, with
    // the owner, group and mode of the file it replaces.
    bool writeTemporary()
    {
        // A new file gets the usual mode for new files; an existing one gets its own
        // mode below, and nobody else may read the temporary file before that.
        const mode_t createMode = m_exists ? 0600 : 0666;
        if (!createExclusive(createMode))
            return false;
        if (!writeAll(m_ops, m_fd, m_bytes))
            return fail("cannot write the temporary file " + m_temp, errno);
        if (m_exists) {
            if (m_ops.fchown(m_fd, m_targetInfo.st_uid, m_targetInfo.st_gid) != 0)
                return fail("cannot give the new version the file's owner and group", errno);
            if (m_ops.fchmod(m_fd, m_targetInfo.st_mode & 07777) != 0)
                return fail("cannot give the new version the file's permissions", errno);
        }
        if (m_ops.fdatasync(m_fd) != 0)
            return fail("cannot flush the temporary file " + m_temp + " to disk", errno);
        struct stat info = {};
        if (m_ops.fstat(m_fd, &info) != 0)
            return fail("cannot look up the temporary file " + m_temp, errno);
        m_newIdentity = IdentityOf(info);
        const int fd = m_fd;
        m_fd = -1;
        if (m_ops.close(fd) != 0)
            return fail("cannot write the temporary file " + m_temp, errno);
        return true;
    }

    bool createExclusive(mode_t mode)
    {
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
            name = temporaryName(m_target);
            const int fd = m_ops.open(name.c_str(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            if (fd >= 0 || errno != EEXIST)
                return fd;
        }
        return -1;
    }

    // The previous version gets a second name (a hard link, so it is the very same file
    // with its mode), which becomes the backup once the new version is in place.
    bool keepPreviousVersion()
    {
        if (!m_exists)
            return true;
        for (int tries = 0; tries < MaxNameTries; ++tries) {
            m_previous = temporaryName(m_target);
            if (m_ops.link(m_target.c_str(), m_previous.c_str()) == 0) {
                m_previousExists = true;
                return checkPreviousVersion();
            }
            if (errno == EPERM || errno == EOPNOTSUPP || errno == EMLINK || errno == ENOSYS)
                return copyPreviousVersion();
            if (errno != EEXIST)
                break;
        }
        return fail("cannot keep the previous version as " + m_previous, errno);
    }

    bool checkPreviousVersion()
    {
        struct stat info = {};
        if (m_ops.lstat(m_previous.c_str(), &info) != 0)
            return fail("cannot look up " + m_previous, errno);
        m_previousIdentity = IdentityOf(info);
        if (!m_force && m_previousIdentity != IdentityOf(m_targetInfo))
            return changed();
        return true;
    }

    // For file systems without hard links: a synced copy with the same mode.
    bool copyPreviousVersion()
    {
        const int in = m_ops.open(m_target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0);
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
        if (!m_force && m_previousIdentity != IdentityOf(m_targetInfo))
            return changed();

        const int fd = openExclusive(0600, m_previous);
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
        } else if (!m_exists || IdentityOf(info) != m_previousIdentity) {
            return changed();
        }
        if (m_ops.rename(m_temp.c_str(), m_target.c_str()) != 0)
            return fail("cannot replace the file by its new version", errno);
        m_tempExists = false;
        m_result.identity = m_newIdentity;
        return true;
    }

    bool installBackup()
    {
        if (!m_exists)
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
        fail("cannot make the backup " + backup, err);
        // Put the previous version back, so the failed save changes nothing.
        if (m_ops.rename(m_previous.c_str(), m_target.c_str()) == 0) {
            m_previousExists = false;
            m_result.identity.reset();
        } else {
            m_result.reason += "; the new version is in place and the previous version is "
                               "kept as "
                + m_previous;
            m_previousExists = false; // it is all that is left of the previous version
        }
        return false;
    }

    void syncDirectory()
    {
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
        if (err == 0) {
            m_result.ok = true;
            return;
        }
        fail("the new version is in place, but the directory " + absoluteDirectory(m_directory)
                 + " could not be synced, so it may not survive a system crash",
             err);
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
        errno = err;
    }

    FileOps &m_ops;
    const std::string &m_path;
    std::string_view m_bytes;
    const std::optional<FileIdentity> &m_expected;
    bool m_force;

    std::string m_target; // the file really replaced, links followed
    std::string m_directory;
    struct stat m_targetInfo = {};
    bool m_exists = false;

    std::string m_temp; // the new version until it is renamed over the target
    bool m_tempExists = false;
    int m_fd = -1;
    FileIdentity m_newIdentity;

    std::string m_previous; // the previous version's second name until it is the backup
    bool m_previousExists = false;
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
    return id;
}

LoadResult LoadFile(const std::string &path)
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
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            result.status = LoadResult::Missing;
            return result;
        }
        return failed(errorText(errno));
    }
    if (!S_ISREG(info.st_mode))
        return failed(kindOfNonFile(info.st_mode));

    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            result.status = LoadResult::Missing;
            return result;
        }
        return failed(errorText(errno));
    }
    // The name may have been replaced between stat and open.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int err = errno;
        ::close(fd);
        return failed(S_ISREG(info.st_mode) ? errorText(err) : kindOfNonFile(info.st_mode));
    }
    result.identity = IdentityOf(info);
    const bool read = readAll(SystemFileOps(), fd, result.bytes,
                              static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)));
    const int err = errno;
    ::close(fd);
    if (!read)
        return failed(errorText(err));
    result.status = LoadResult::Loaded;
    return result;
}

SaveResult SaveFileAtomically(const std::string &path, std::string_view bytes,
                              const std::optional<FileIdentity> &expected, bool force, FileOps &ops)
{
    Saver saver(ops, path, bytes, expected, force);
    return saver.run();
}

} // namespace dvw
