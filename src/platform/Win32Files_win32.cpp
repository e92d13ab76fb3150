#include "platform/Win32Files_win32.h"

#include "platform/FileSystem.h"
#include "platform/PathRules.h"

#include <cerrno>
#include <cwctype>
#include <fcntl.h>
#include <io.h>
#include <vector>
#include <winternl.h>

namespace tarvok::platform::win32 {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveAbsolute(const std::wstring& path)
{
    return path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && IsSeparator(path[2]);
}

bool IsUnc(const std::wstring& path) { return path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]); }

// The long form takes "." and ".." as names, so they are resolved here, by
// the text alone as Windows does (never past the root).
std::wstring Collapse(const std::wstring& root, const std::wstring& rest)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = start;
        while (end < rest.size() && !IsSeparator(rest[end]))
            ++end;
        const std::wstring part = rest.substr(start, end - start);
        if (part == L"..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != L".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::wstring path = root;
    for (size_t i = 0; i < parts.size(); ++i)
        path += (i == 0 ? L"" : L"\\") + parts[i];
    return path;
}

std::wstring CurrentDirectoryWide()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(n);
    }
}

// Wine's GetFinalPathNameByHandleW reads the name into room for MAX_PATH
// characters and fails past it. The name it reads there, \??\C:\..., is
// the long form in the object manager's spelling. (Windows names a file
// \Device\... there, and its own call has no such limit.)
std::optional<std::wstring> LongNameOfHandle(HANDLE handle)
{
    // Room for the longest name a UNICODE_STRING can hold.
    std::vector<ULONG_PTR> buffer((sizeof(OBJECT_NAME_INFORMATION) + 0x10000) / sizeof(ULONG_PTR) + 1);
    ULONG used = 0;
    if (::NtQueryObject(handle, ObjectNameInformation, buffer.data(),
                        static_cast<ULONG>(buffer.size() * sizeof(ULONG_PTR)), &used) != 0)
        return std::nullopt;
    const UNICODE_STRING& name = reinterpret_cast<const OBJECT_NAME_INFORMATION*>(buffer.data())->Name;
    const std::wstring text(name.Buffer, name.Length / sizeof(wchar_t));
    if (text.rfind(L"\\??\\", 0) != 0)
        return std::nullopt;
    return L"\\\\?\\" + text.substr(4);
}

} // namespace

std::string ChildPath(const std::string& dir, const std::string& name)
{
    const bool separated = !dir.empty() && PathSeparators().find(dir.back()) != std::string_view::npos;
    return Backslashed(separated ? dir + name : dir + PathSeparator() + name);
}

std::string Backslashed(std::string path)
{
    for (char& c : path)
        c = PathSeparators().find(c) != std::string_view::npos ? PathSeparator() : c;
    return path;
}

std::string ShownPath(const std::wstring& path)
{
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return "\\\\" + Utf8(path.substr(8));
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return Utf8(path.substr(4));
    return Backslashed(Utf8(path));
}

std::optional<std::wstring> Wide(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int n =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n, nullptr, nullptr);
    return narrow;
}

std::optional<std::wstring> SystemPath(const std::string& path)
{
    if (!UsablePath(path))
        return std::nullopt;
    std::optional<std::wstring> wide = Wide(path);
    if (!wide)
        return std::nullopt;
    std::wstring& w = *wide;
    if (w.rfind(L"\\\\?\\", 0) == 0)
        return w;
    // "C:" alone is the drive's root here: the folder part of "C:/file".
    if (w.size() == 2 && iswalpha(w[0]) && w[1] == L':')
        w += L'\\';
    if (IsDriveAbsolute(w))
        return L"\\\\?\\" + Collapse(w.substr(0, 2) + L"\\", w.substr(3));
    if (IsUnc(w)) {
        // \\server\share is the root; ".." never climbs above it.
        const auto separatorFrom = [&](size_t from) {
            while (from < w.size() && !IsSeparator(w[from]))
                ++from;
            return from;
        };
        const size_t serverEnd = separatorFrom(2);
        const size_t shareEnd = serverEnd < w.size() ? separatorFrom(serverEnd + 1) : serverEnd;
        std::wstring root = w.substr(2, shareEnd - 2);
        for (wchar_t& c : root)
            if (c == L'/')
                c = L'\\';
        return L"\\\\?\\UNC\\" + Collapse(root + L"\\", shareEnd < w.size() ? w.substr(shareEnd + 1) : std::wstring());
    }
    if (!w.empty() && !IsSeparator(w[0]) && !(w.size() > 1 && w[1] == L':'))
        return SystemPath(Utf8(CurrentDirectoryWide()) + "\\" + path);
    // "\dir" and "C:dir" depend on the current drive and its folder: the
    // system resolves them.
    std::wstring full(MAX_PATH, L'\0');
    DWORD n = ::GetFullPathNameW(w.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.resize(n);
        n = ::GetFullPathNameW(w.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (n == 0)
        return std::nullopt;
    full.resize(n);
    return SystemPath(Utf8(full));
}

std::optional<std::wstring> PathOfHandle(HANDLE handle)
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0)
            return LongNameOfHandle(handle);
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(n);
    }
}

std::optional<std::wstring> PathIn(int dirFd, const std::string& name)
{
    if (dirFd == CurrentDirFd)
        return SystemPath(name);
    if (!UsablePath(name) || name.find_first_of("/\\") != std::string::npos)
        return std::nullopt;
    const std::optional<std::wstring> dir = PathOfHandle(HandleOf(dirFd));
    const std::optional<std::wstring> wideName = Wide(name);
    if (!dir || !wideName)
        return std::nullopt;
    return *dir + (dir->back() == L'\\' ? L"" : L"\\") + *wideName;
}

int ErrnoFromSystem(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE: return ENOENT;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
    case ERROR_INVALID_PARAMETER: return EINVAL;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
    case ERROR_CANNOT_MAKE: return EACCES;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_NOT_SAME_DEVICE: return EXDEV;
    case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION: return EOPNOTSUPP;
    case ERROR_TOO_MANY_LINKS: return EMLINK;
    case ERROR_NETNAME_DELETED:
    case ERROR_BAD_NETPATH:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_SEM_TIMEOUT: return ENOTCONN;
    default: return SystemErrorBase + static_cast<int>(error);
    }
}

bool IsInUse(int error)
{
    return error == SystemErrorBase + ERROR_SHARING_VIOLATION || error == SystemErrorBase + ERROR_LOCK_VIOLATION;
}

int FailWithLastError()
{
    errno = ErrnoFromSystem(::GetLastError());
    return -1;
}

int DescriptorOf(HANDLE handle)
{
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

HANDLE HandleOf(int fd)
{
    // The C runtime gives the handle as an integer.
    return fd < 0 ? INVALID_HANDLE_VALUE
                  : reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); // NOLINT(performance-no-int-to-ptr)
}

std::optional<BY_HANDLE_FILE_INFORMATION> InfoOfHandle(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info))
        return std::nullopt;
    return info;
}

std::optional<BY_HANDLE_FILE_INFORMATION> InfoOf(const std::wstring& path, bool follow)
{
    const HANDLE handle = ::CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::optional<BY_HANDLE_FILE_INFORMATION> info = InfoOfHandle(handle);
    const DWORD error = ::GetLastError();
    ::CloseHandle(handle);
    ::SetLastError(error);
    return info;
}

bool RemoveFile(const std::wstring& path)
{
    if (::DeleteFileW(path.c_str()))
        return true;
    DWORD error = ::GetLastError();
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        ::SetFileAttributesW(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY})) {
        if (::DeleteFileW(path.c_str()))
            return true;
        error = ::GetLastError();
        ::SetFileAttributesW(path.c_str(), attributes);
    }
    errno = ErrnoFromSystem(error);
    return false;
}

namespace {

OVERLAPPED LockPlace()
{
    OVERLAPPED place{};
    place.Offset = 0xFFFFFFFE;
    place.OffsetHigh = 0x7FFFFFFF;
    return place;
}

} // namespace

bool LockTemporary(HANDLE handle, bool exclusive)
{
    OVERLAPPED place = LockPlace();
    return ::LockFileEx(handle, LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0), 0, 1, 0,
                        &place) != 0;
}

void UnlockTemporary(HANDLE handle)
{
    OVERLAPPED place = LockPlace();
    ::UnlockFileEx(handle, 0, 1, 0, &place);
}

} // namespace tarvok::platform::win32
