#include "platform/RawFile.h"

#include "platform/DriveCalls.h"
#include "platform/FileSystem.h"
#include "platform/Win32Files_win32.h"

#include <algorithm>
#include <cerrno>
#include <io.h>

namespace tarvok::platform {
namespace {

using namespace win32;

// One call moves at most this much; DWORD counts cannot say more.
constexpr size_t MaxTransfer = size_t{1} << 30;

} // namespace

std::optional<RawFile> RawFile::OpenSource(const std::string& path)
{
    const std::optional<std::wstring> wide = SystemPath(path);
    if (!wide)
        return std::nullopt;
    // Others may go on reading, writing, even renaming it: a copy takes
    // no more than the size it had here.
    const HANDLE handle =
        ::CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const int error = ErrnoFromSystem(::GetLastError());
        // A folder opens only for its listing: no file there.
        if (error == ENOENT || (error == EACCES && DirectoryExists(path)))
            return std::nullopt;
        ThrowInOutError(error, path);
    }
    const int fd = DescriptorOf(handle);
    if (fd < 0)
        ThrowInOutError(errno, path);
    RawFile file(fd, path);
    const std::optional<BY_HANDLE_FILE_INFORMATION> info = InfoOfHandle(handle);
    // Pipes and devices have names too; only a file on a drive is copied.
    if (!info || ::GetFileType(handle) != FILE_TYPE_DISK || IsDirectoryInfo(*info))
        return std::nullopt;
    file.size_ = SizeOfInfo(*info);
    file.mode_ = (info->dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
    return file;
}

RawFile::~RawFile()
{
    for (const int fd : {fd_, lock_})
        if (fd >= 0)
            ::_close(fd);
}

size_t RawFile::Read(void* buffer, size_t size)
{
    DWORD n = 0;
    if (!::ReadFile(HandleOf(fd_), buffer, static_cast<DWORD>(std::min(size, MaxTransfer)), &n, nullptr))
        ThrowInOutError(ErrnoFromSystem(::GetLastError()), path_);
    return n;
}

size_t RawFile::Write(const void* buffer, size_t size)
{
    DWORD n = 0;
    if (!::WriteFile(HandleOf(fd_), buffer, static_cast<DWORD>(std::min(size, MaxTransfer)), &n, nullptr))
        ThrowInOutError(ErrnoFromSystem(::GetLastError()), path_);
    return n;
}

void RawFile::Close()
{
    const int fd = fd_;
    fd_ = -1;
    if (fd >= 0 && ::_close(fd) != 0)
        ThrowInOutError(errno, path_);
}

void RawFile::Flush()
{
    // A drive that cannot flush says the call is not its own.
    if (!::FlushFileBuffers(HandleOf(fd_)) && ::GetLastError() != ERROR_INVALID_FUNCTION)
        ThrowInOutError(ErrnoFromSystem(::GetLastError()), path_);
}

// Windows has no call that only starts the write-back; its own write-back
// goes on meanwhile.
void RawFile::StartWriteBack() {}

} // namespace tarvok::platform
