#include "platform/RawFile.h"

#include "platform/DriveCalls.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <utility>

namespace tarvok::platform {

RawFile::RawFile(RawFile&& other) noexcept
    : fd_(other.fd_), lock_(other.lock_), path_(std::move(other.path_)), size_(other.size_), mode_(other.mode_)
{
    other.fd_ = -1;
    other.lock_ = -1;
}

void RawFile::SetMode(uint32_t mode)
{
    if (Drive().ChangeMode(fd_, mode) != 0 && !ModeRefusedByDrive(errno))
        ThrowInOutError(errno, path_);
    mode_ = mode;
}

} // namespace tarvok::platform
