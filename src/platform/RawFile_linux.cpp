#include "platform/RawFile.h"

#include "platform/DriveCalls.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvok::platform {
namespace {

bool HasNul(const std::string& path) { return path.find('\0') != std::string::npos; }

} // namespace

std::optional<RawFile> RawFile::OpenSource(const std::string& path)
{
    if (HasNul(path))
        return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR || errno == ENXIO)
            return std::nullopt;
        ThrowInOutError(errno, path);
    }
    RawFile file(fd, path);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    file.size_ = static_cast<uint64_t>(st.st_size);
    file.mode_ = st.st_mode & 07777;
    return file;
}

RawFile::~RawFile()
{
    for (const int fd : {fd_, lock_})
        if (fd >= 0)
            ::close(fd);
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

void RawFile::Flush()
{
    if (::fdatasync(fd_) != 0 && errno != EINVAL)
        ThrowInOutError(errno, path_);
}

void RawFile::StartWriteBack()
{
    // Only a start: a drive that cannot say so writes back in its own time.
    ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
}

} // namespace tarvok::platform
