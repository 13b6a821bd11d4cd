#pragma once

#include <cstddef>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

struct timespec;

namespace dvw {

// The POSIX calls that loading and the atomic save make, one virtual function each, so
// that a test can make any single step fail. Every function makes the real call of the
// same name and behaves as it does (-1 and errno on failure); a test overrides the ones
// it breaks.
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
    virtual int stat(const char *path, struct stat *info);
    virtual int fstat(int fd, struct stat *info);
    virtual int lstat(const char *path, struct stat *info);
    virtual ssize_t readlink(const char *path, char *buffer, std::size_t size);
    virtual int fchown(int fd, uid_t owner, gid_t group);
    virtual int fchmod(int fd, mode_t mode);
    virtual int link(const char *from, const char *to);
    virtual int linkat(int fromDir, const char *from, int toDir, const char *to, int flags);
    virtual int rename(const char *from, const char *to);
    virtual int unlink(const char *path);
    virtual int mkdir(const char *path, mode_t mode);
    // Write access for the effective user (W_OK and friends).
    virtual int eaccess(const char *path, int mode);
    virtual int flock(int fd, int operation);
    virtual int nanosleep(const struct timespec *pause);
    // kill(pid, 0) tells whether a process still exists.
    virtual int kill(pid_t pid, int signal);
    // The names in a directory but "." and ".." (opendir, readdir, closedir).
    virtual int listDirectory(const char *path, std::vector<std::string> &names);
    virtual ssize_t llistxattr(const char *path, char *names, std::size_t size);
    virtual ssize_t lgetxattr(const char *path, const char *name, void *value, std::size_t size);
    virtual int fsetxattr(int fd, const char *name, const void *value, std::size_t size, int flags);
    virtual int fremovexattr(int fd, const char *name);
};

// The real calls, shared (the object holds no state).
FileOps &SystemFileOps();

} // namespace dvw
