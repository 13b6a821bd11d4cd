#include "fileops.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/xattr.h>
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

int FileOps::stat(const char *path, struct stat *info)
{
    return ::stat(path, info);
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

int FileOps::linkat(int fromDir, const char *from, int toDir, const char *to, int flags)
{
    return ::linkat(fromDir, from, toDir, to, flags);
}

int FileOps::rename(const char *from, const char *to)
{
    return ::rename(from, to);
}

int FileOps::unlink(const char *path)
{
    return ::unlink(path);
}

int FileOps::eaccess(const char *path, int mode)
{
    return ::eaccess(path, mode);
}

int FileOps::flock(int fd, int operation)
{
    return ::flock(fd, operation);
}

int FileOps::nanosleep(const struct timespec *pause)
{
    return ::nanosleep(pause, nullptr);
}

int FileOps::mkdir(const char *path, mode_t mode)
{
    return ::mkdir(path, mode);
}

int FileOps::kill(pid_t pid, int signal)
{
    return ::kill(pid, signal);
}

int FileOps::listDirectory(const char *path, std::vector<std::string> &names)
{
    names.clear();
    DIR *dir = ::opendir(path);
    if (dir == nullptr)
        return -1;
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
        errno = 0;
    }
    const int err = errno;
    ::closedir(dir);
    errno = err;
    return err == 0 ? 0 : -1;
}

ssize_t FileOps::llistxattr(const char *path, char *names, std::size_t size)
{
    return ::llistxattr(path, names, size);
}

ssize_t FileOps::lgetxattr(const char *path, const char *name, void *value, std::size_t size)
{
    return ::lgetxattr(path, name, value, size);
}

int FileOps::fsetxattr(int fd, const char *name, const void *value, std::size_t size, int flags)
{
    return ::fsetxattr(fd, name, value, size, flags);
}

int FileOps::fremovexattr(int fd, const char *name)
{
    return ::fremovexattr(fd, name);
}

FileOps &SystemFileOps()
{
    static FileOps ops;
    return ops;
}

} // namespace dvw
