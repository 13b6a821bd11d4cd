#include "clidocument.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dvw {

namespace {

CliLoad failure(const std::string &path, const std::string &reason)
{
    return {false, "cannot read '" + path + "': " + reason};
}

} // namespace

CliLoad loadAppointmentFile(const std::string &path, MemorySource &document)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failure(path, std::strerror(errno));
    struct stat info
    { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const std::string reason
            = S_ISDIR(info.st_mode) ? "it is a directory" : "it is not a regular file";
        ::close(fd);
        return failure(path, reason);
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const std::string reason = std::strerror(errno);
            ::close(fd);
            return failure(path, reason);
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    document.loadBytes(bytes);
    document.ScanCategories();
    return {true, {}};
}

} // namespace dvw
