#pragma once
// What the Windows implementations of the file services share: text and
// paths at the system boundary, handles behind the descriptors the
// interfaces pass around, and the system's error codes in errno terms.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The interfaces have a DeleteFile of their own.
#undef DeleteFile

#include <cstdint>
#include <optional>
#include <string>

namespace tarvok::platform::win32 {

// Names without a folder descriptor, as AT_FDCWD does on Linux.
inline constexpr int CurrentDirFd = -100;
// The flags DriveCalls::Rename takes, with Linux's values.
inline constexpr unsigned RenameNoReplaceFlag = 1;
inline constexpr unsigned RenameExchangeFlag = 2;
// System error codes that have no errno travel in the same int, above every
// errno value, and are shown by their own number.
inline constexpr int SystemErrorBase = 1 << 16;

// Paths given out have '\' between their parts; those taken in may have '/'
// too. `name` inside the folder `dir`, one separator between them.
std::string ChildPath(const std::string& dir, const std::string& name);
// The path with the system's separator wherever a '/' stands.
std::string Backslashed(std::string path);
// A path the system gave, as the user knows it: the long form's prefix
// dropped, a share's as `\\server\share\...`.
std::string ShownPath(const std::wstring& path);

// UTF-8 inside, UTF-16 at the system; bytes that are no UTF-8 give nothing.
std::optional<std::wstring> Wide(const std::string& text);
std::string Utf8(const std::wstring& text);

// The long form of a path (`\\?\C:\...`, `\\?\UNC\server\share\...`), made
// absolute against the current folder, both separators understood; nothing
// for a path that cannot name a file. The long form lifts the 260-character
// limit and takes names as they are (no trailing dots or spaces dropped).
std::optional<std::wstring> SystemPath(const std::string& path);
// `name` inside the folder held as `dirFd` (or CurrentDirFd): that folder's
// own path, as the handle knows it now, and the name. A name holding a
// separator is no name inside the folder: nothing.
std::optional<std::wstring> PathIn(int dirFd, const std::string& name);
// The path the folder's handle names now, in the long form.
std::optional<std::wstring> PathOfHandle(HANDLE handle);

int ErrnoFromSystem(DWORD error);
// The error (as ErrnoFromSystem gives it) of a file another program holds
// without sharing, or has locked the part read of.
bool IsInUse(int error);
// Sets errno from GetLastError and answers -1, as the C calls fail.
int FailWithLastError();

// A descriptor owning the handle (closing it closes the handle); -1 after
// closing the handle when no descriptor is left.
int DescriptorOf(HANDLE handle);
HANDLE HandleOf(int fd);

// The entry's information; `follow` follows a link at the end of the path.
std::optional<BY_HANDLE_FILE_INFORMATION> InfoOf(const std::wstring& path, bool follow);
std::optional<BY_HANDLE_FILE_INFORMATION> InfoOfHandle(HANDLE handle);
inline bool IsDirectoryInfo(const BY_HANDLE_FILE_INFORMATION& info)
{
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
inline bool IsLinkInfo(const BY_HANDLE_FILE_INFORMATION& info)
{
    return (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}
inline bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b)
{
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}
inline uint64_t SizeOfInfo(const BY_HANDLE_FILE_INFORMATION& info)
{
    return (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
}

// Removes a file, also one with the read-only attribute, as unlink does;
// false with errno set when it stays.
bool RemoveFile(const std::wstring& path);

// The byte a temporary's writer holds shared and a cleaner tries to take:
// far beyond any data, so reads and writes never meet it.
bool LockTemporary(HANDLE handle, bool exclusive);
void UnlockTemporary(HANDLE handle);

} // namespace tarvok::platform::win32
