#pragma once

#include <cstddef>
#include <sys/stat.h>
#include <sys/types.h>

namespace dvw {

// The POSIX calls the atomic save makes, one virtual function each, so that a test can
// make any single step fail. Every function makes the real call of the same name and
// behaves as it does (-1 and errno on failure); a test overrides the ones it breaks.
class FileOps
{
public:
    virtual ~FileOps() = default;

    virtual int open(const char *path, int flags, mode_t mode);
    virtual ssize_t read(int fd, void *buffer, std::size_t count);
    virtual ssize_t write(int fd, const void *buffer, std::size_t count);
    virtual int fdatasync(int fd);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int fstat(int fd, struct stat *info);
    virtual int lstat(const char *path, struct stat *info);
    virtual ssize_t readlink(const char *path, char *buffer, std::size_t size);
    virtual int fchown(int fd, uid_t owner, gid_t group);
    virtual int fchmod(int fd, mode_t mode);
    virtual int link(const char *from, const char *to);
    virtual int rename(const char *from, const char *to);
    virtual int unlink(const char *path);
};

// The real calls, shared (the object holds no state).
FileOps &SystemFileOps();

} // namespace dvw
