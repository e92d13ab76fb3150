#include "platform/RawFile.h"

#include "platform/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvok::platform {

RawFile RawFile::OpenForReading(const std::string& path)
{
    const int fd = path.find('\0') == std::string::npos ? ::open(path.c_str(), O_RDONLY | O_CLOEXEC) : -1;
    if (fd < 0)
        ThrowInOutError(path.find('\0') == std::string::npos ? errno : EINVAL, path);
    return RawFile(fd, path);
}

RawFile RawFile::CreateForWriting(const std::string& path)
{
    const int fd = path.find('\0') == std::string::npos
        ? ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)
        : -1;
    if (fd < 0)
        ThrowInOutError(path.find('\0') == std::string::npos ? errno : EINVAL, path);
    return RawFile(fd, path);
}

RawFile::RawFile(RawFile&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_))
{
    other.fd_ = -1;
}

RawFile::~RawFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

size_t RawFile::Read(void* buffer, size_t size)
{
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n >= 0)
            return static_cast<size_t>(n);
        if (errno != EINTR)
            ThrowInOutError(errno, path_);
    }
}

size_t RawFile::Write(const void* buffer, size_t size)
{
    for (;;) {
        const ssize_t n = ::write(fd_, buffer, size);
        if (n >= 0)
            return static_cast<size_t>(n);
        if (errno != EINTR)
            ThrowInOutError(errno, path_);
    }
}

void RawFile::Close()
{
    const int fd = fd_;
    fd_ = -1;
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR)
        ThrowInOutError(errno, path_);
}

bool RawFile::IsSameFileAs(const std::string& path) const
{
    struct stat mine {}, other {};
    if (::fstat(fd_, &mine) != 0 || path.find('\0') != std::string::npos || ::stat(path.c_str(), &other) != 0)
        return false;
    return mine.st_dev == other.st_dev && mine.st_ino == other.st_ino;
}

} // namespace tarvok::platform
