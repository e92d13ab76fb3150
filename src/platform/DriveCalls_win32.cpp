#include "platform/DriveCalls.h"

#include "platform/DriveSteps.h"

#include "platform/Win32Files_win32.h"

#include <cerrno>

namespace tarvok::platform {
namespace {

using namespace win32;

// Windows keeps no permission bits: the owner's write bit is the read-only
// attribute.
int SystemChangeMode(int fd, unsigned mode)
{
    FILE_BASIC_INFO basic{};
    const HANDLE handle = HandleOf(fd);
    if (!::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic))
        return FailWithLastError();
    DWORD attributes = basic.FileAttributes & ~DWORD{FILE_ATTRIBUTE_NORMAL};
    attributes =
        (mode & 0200) != 0 ? attributes & ~DWORD{FILE_ATTRIBUTE_READONLY} : attributes | FILE_ATTRIBUTE_READONLY;
    FILE_BASIC_INFO change{}; // times of 0 stay as they are
    change.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    return ::SetFileInformationByHandle(handle, FileBasicInfo, &change, sizeof change) ? 0 : FailWithLastError();
}

// MoveFileExW replaces a file only when asked, atomically either way. The
// system has no exchange: it answers as drives without one do.
int SystemRename(int fromDir, const char* from, int toDir, const char* to, unsigned flags)
{
    const std::optional<std::wstring> source = PathIn(fromDir, from);
    const std::optional<std::wstring> target = PathIn(toDir, to);
    if (!source || !target || (flags & ~RenameNoReplaceFlag) != 0) {
        errno = EINVAL;
        return -1;
    }
    const DWORD how = (flags & RenameNoReplaceFlag) != 0 ? 0 : MOVEFILE_REPLACE_EXISTING;
    return ::MoveFileExW(source->c_str(), target->c_str(), how) ? 0 : FailWithLastError();
}

int SystemLink(int fromDir, const char* from, int toDir, const char* to)
{
    const std::optional<std::wstring> existing = PathIn(fromDir, from);
    const std::optional<std::wstring> link = PathIn(toDir, to);
    if (!existing || !link) {
        errno = EINVAL;
        return -1;
    }
    return ::CreateHardLinkW(link->c_str(), existing->c_str(), nullptr) ? 0 : FailWithLastError();
}

// How drives without hard links answer (FAT, exFAT and many shares say the
// call is not theirs).
bool LinkMissing(int error) { return error == EOPNOTSUPP || error == EACCES || error == EMLINK || IsInUse(error); }

bool SameEntry(int dir, const std::string& a, const std::string& b)
{
    const std::optional<std::wstring> x = PathIn(dir, a);
    const std::optional<std::wstring> y = PathIn(dir, b);
    const auto first = x ? InfoOf(*x, false) : std::nullopt;
    const auto second = y ? InfoOf(*y, false) : std::nullopt;
    return first && second && SameFile(*first, *second);
}

// Locks on a share are the server's, which other machines' writers do not
// ask; locks on the machine's own drives reach every writer.
bool LocksReachEveryWriter(const std::wstring& path)
{
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return false;
    if (path.size() < 7 || path[5] != L':')
        return false;
    const std::wstring root = path.substr(4, 2) + L"\\";
    return ::GetDriveTypeW(root.c_str()) != DRIVE_REMOTE;
}

uint64_t FileTimeValue(const FILETIME& time) { return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

} // namespace

namespace steps {

int Rename(int dir, const std::string& from, const std::string& to, unsigned flags)
{
    return Drive().Rename(dir, from.c_str(), dir, to.c_str(), flags) == 0 ? 0 : errno;
}

// Every drive refuses to replace a file when asked.
int RenameAside(int dir, const std::string& from, const std::string& to)
{
    return Rename(dir, from, to, RenameNoReplaceFlag);
}

bool Exists(int dir, const std::string& name)
{
    const std::optional<std::wstring> path = PathIn(dir, name);
    return path && ::GetFileAttributesW(path->c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Unlink(int dir, const std::string& name)
{
    if (const std::optional<std::wstring> path = PathIn(dir, name))
        RemoveFile(*path);
}

// How a rename over an existing file is refused: a read-only file, one
// open without delete sharing, a share that never replaces.
bool RenameOverRefused(int error)
{
    return error == EACCES || error == EEXIST || error == EOPNOTSUPP || IsInUse(error);
}

} // namespace steps

using namespace steps;

DriveCalls& Drive()
{
    static DriveCalls calls{SystemChangeMode, SystemRename, SystemLink};
    return calls;
}

bool ModeRefusedByDrive(int error) { return error == ENOSYS || error == EOPNOTSUPP || error == EPERM; }

int RenameNoReplace(int dir, const std::string& from, const std::string& to)
{
    return Rename(dir, from, to, RenameNoReplaceFlag);
}

KeepResult ReplaceKeepingOld(int dir, const std::string& from, const std::string& to, const std::string& keep)
{
    if (Drive().Link(dir, to.c_str(), dir, keep.c_str()) == 0) {
        const int error = RenameOver(dir, from, to);
        if (error != 0 && SameEntry(dir, to, keep))
            Unlink(dir, keep);
        return {error, false};
    }
    if (const int error = errno; !LinkMissing(error))
        return {error, true};
    // Without hard links the old file moves to `keep` and the new one in
    // after it; should that fail, the old one goes back.
    if (const int kept = RenameNoReplace(dir, to, keep); kept != 0)
        return {kept, true};
    const int in = RenameNoReplace(dir, from, to);
    if (in != 0)
        RenameNoReplace(dir, keep, to);
    return {in, false};
}

int HoldTemporary(int fd)
{
    // The lock is held through a handle of its own, opened for reading
    // only: once the writer's handle is closed, the placed file opens for
    // any program that shares reading, as files do.
    const std::optional<std::wstring> path = PathOfHandle(HandleOf(fd));
    const std::optional<BY_HANDLE_FILE_INFORMATION> written = InfoOfHandle(HandleOf(fd));
    if (!path || !written)
        return -1;
    const HANDLE reader =
        ::CreateFileW(path->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (reader == INVALID_HANDLE_VALUE)
        return -1;
    const std::optional<BY_HANDLE_FILE_INFORMATION> read = InfoOfHandle(reader);
    if (!read || !SameFile(*read, *written)) {
        ::CloseHandle(reader);
        return -1;
    }
    // A cleaner holds its test lock for a moment only; a share whose lock
    // service hangs must not hang the copy.
    for (int tries = 0; !LockTemporary(reader, false); ++tries) {
        if (::GetLastError() != ERROR_LOCK_VIOLATION || tries == 100) {
            ::CloseHandle(reader);
            return -1;
        }
        ::Sleep(1);
    }
    return DescriptorOf(reader);
}

bool IsAbandonedTemporary(int dir, const std::string& name)
{
    const std::optional<std::wstring> path = PathIn(dir, name);
    if (!path)
        return false;
    const HANDLE handle =
        ::CreateFileW(path->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const std::optional<BY_HANDLE_FILE_INFORMATION> info = InfoOfHandle(handle);
    const bool file = info && !IsDirectoryInfo(*info) && !IsLinkInfo(*info);
    const bool unlocked = LockTemporary(handle, true);
    const bool locksMissing = !unlocked && ::GetLastError() != ERROR_LOCK_VIOLATION;
    if (unlocked)
        UnlockTemporary(handle);
    ::CloseHandle(handle);
    if (!file || (!unlocked && !locksMissing))
        return false;
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = FileTimeValue(now) - FileTimeValue(info->ftLastWriteTime);
    const uint64_t age = ticks / 10000000; // seconds
    // Where locks do not reach every writer, only a day without a write tells.
    if (locksMissing || !LocksReachEveryWriter(*path))
        return age > uint64_t{24} * 60 * 60;
    // Made a moment ago and not yet locked by its writer.
    return SizeOfInfo(*info) > 0 || age > 60;
}

} // namespace tarvok::platform
