#include "fileops.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace dvw {

int FileOps::open(const char *path, int flags, mode_t mode)
{
    return ::open(path, flags, mode);
}

ssize_t FileOps::read(int fd, void *buffer, std::size_t count)
{
    return ::read(fd, buffer, count);
}

ssize_t FileOps::write(int fd, const void *buffer, std::size_t count)
{
    return ::write(fd, buffer, count);
}

int FileOps::fdatasync(int fd)
{
    return ::fdatasync(fd);
}

int FileOps::fsync(int fd)
{
    return ::fsync(fd);
}

int FileOps::close(int fd)
{
    return ::close(fd);
}

int FileOps::fstat(int fd, struct stat *info)
{
    return ::fstat(fd, info);
}

int FileOps::lstat(const char *path, struct stat *info)
{
    return ::lstat(path, info);
}

ssize_t FileOps::readlink(const char *path, char *buffer, std::size_t size)
{
    return ::readlink(path, buffer, size);
}

int FileOps::fchown(int fd, uid_t owner, gid_t group)
{
    return ::fchown(fd, owner, group);
}

int FileOps::fchmod(int fd, mode_t mode)
{
    return ::fchmod(fd, mode);
}

int FileOps::link(const char *from, const char *to)
{
    return ::link(from, to);
}

int FileOps::rename(const char *from, const char *to)
{
    return ::rename(from, to);
}

int FileOps::unlink(const char *path)
{
    return ::unlink(path);
}

FileOps &SystemFileOps()
{
    static FileOps ops;
    return ops;
}

} // namespace dvw
