#pragma once

#include "store/fileops.h"

#include <cerrno>
#include <cstddef>
#include <fcntl.h>
#include <string>
#include <vector>

namespace dvw::test {

// The real calls, except that call number failAt fails with failErrno (the step is not
// done, except close and the syncs, which release or flush before they report), and that
// writes may be cut short or interrupted.
class FaultyOps : public FileOps
{
public:
    int failAt = 0;
    int failErrno = EIO;
    bool linkUnsupported = false; // every link fails as on a file system without links
    bool tmpfileUnsupported = false; // no unnamed files, as on an older file system
    std::size_t maxWrite = 0; // 0: no limit
    bool interruptWrites = false; // every other write is interrupted before it starts

    int calls = 0;
    std::string failedCall;

    int open(const char *path, int flags, mode_t mode) override
    {
        if (tmpfileUnsupported && (flags & O_TMPFILE) == O_TMPFILE) {
            errno = EOPNOTSUPP;
            return -1;
        }
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
    int stat(const char *path, struct stat *info) override
    {
        return fault("stat") ? -1 : FileOps::stat(path, info);
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
    int linkat(int fromDir, const char *from, int toDir, const char *to, int flags) override
    {
        return fault("linkat") ? -1 : FileOps::linkat(fromDir, from, toDir, to, flags);
    }
    int eaccess(const char *path, int mode) override
    {
        return fault("eaccess") ? -1 : FileOps::eaccess(path, mode);
    }
    int flock(int fd, int operation) override
    {
        return fault("flock") ? -1 : FileOps::flock(fd, operation);
    }
    int kill(pid_t pid, int signal) override
    {
        return fault("kill") ? -1 : FileOps::kill(pid, signal);
    }
    int listDirectory(const char *path, std::vector<std::string> &names) override
    {
        return fault("listDirectory") ? -1 : FileOps::listDirectory(path, names);
    }
    ssize_t llistxattr(const char *path, char *names, std::size_t size) override
    {
        return fault("llistxattr") ? -1 : FileOps::llistxattr(path, names, size);
    }
    ssize_t lgetxattr(const char *path, const char *name, void *value, std::size_t size) override
    {
        return fault("lgetxattr") ? -1 : FileOps::lgetxattr(path, name, value, size);
    }
    int fsetxattr(int fd, const char *name, const void *value, std::size_t size, int flags) override
    {
        return fault("fsetxattr") ? -1 : FileOps::fsetxattr(fd, name, value, size, flags);
    }
    int fremovexattr(int fd, const char *name) override
    {
        return fault("fremovexattr") ? -1 : FileOps::fremovexattr(fd, name);
    }

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

} // namespace dvw::test
