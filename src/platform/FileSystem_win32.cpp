#include "platform/FileSystem.h"

#include "base/InOutError.h"
#include "platform/DriveCalls.h"
#include "platform/Win32Files_win32.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <io.h>
#include <malloc.h>
#include <random>

namespace tarvok::platform {
namespace {

using namespace win32;

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::string ParentOf(const std::string& path)
{
    const auto pos = path.find_last_of("/\\");
    if (pos == std::string::npos)
        return ".";
    return pos == 0 ? path.substr(0, 1) : path.substr(0, pos);
}

std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of("/\\") + 1); }

std::optional<BY_HANDLE_FILE_INFORMATION> Info(const std::string& path, bool follow = true)
{
    const std::optional<std::wstring> wide = SystemPath(path);
    return wide ? InfoOf(*wide, follow) : std::nullopt;
}

std::wstring SystemPathOrThrow(const std::string& path)
{
    std::optional<std::wstring> wide = SystemPath(path);
    if (!wide)
        throw EInOutError(3);
    return *wide;
}

// A handle that is always closed.
class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle()
    {
        if (Valid())
            ::CloseHandle(handle_);
    }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// A descriptor that is always closed.
class UniqueFd {
public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd()
    {
        if (fd_ >= 0)
            ::_close(fd_);
    }
    bool Valid() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

private:
    int fd_;
};

// A replace writes its temporary file as `.<name>.XXXXXX` beside the file.
std::string TemporaryPrefix(const std::string& target) { return "." + FileNameOf(target) + "."; }

// The attributes the program knows, as the system keeps them; a volume
// label never shows in a folder.
uint32_t AttrOf(DWORD attributes)
{
    return attributes & (faReadOnly | faHidden | faSysFile | faDirectory | faArchive | faSymLink);
}

// How reading a whole file through its handle ended.
struct WholeRead {
    int Error = 0; // errno of a failed look or read
    bool NotPlain = false;
    bool TooLarge = false; // holds, or grew while read to, more than allowed
};

WholeRead ReadWhole(HANDLE handle, uint64_t maxSize, std::string& contents)
{
    const std::optional<BY_HANDLE_FILE_INFORMATION> info = InfoOfHandle(handle);
    if (!info)
        return {ErrnoFromSystem(::GetLastError())};
    if (::GetFileType(handle) != FILE_TYPE_DISK || IsDirectoryInfo(*info) || IsLinkInfo(*info))
        return {0, true};
    if (SizeOfInfo(*info) > maxSize)
        return {0, false, true};
    contents.reserve(static_cast<size_t>(SizeOfInfo(*info)));
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(handle, buffer, sizeof buffer, &n, nullptr))
            return {ErrnoFromSystem(::GetLastError())};
        if (n == 0)
            return {};
        contents.append(buffer, n);
        if (contents.size() > maxSize)
            return {0, false, true};
    }
}

HANDLE OpenForReading(const std::wstring& path, DWORD flags)
{
    return ::CreateFileW(path.c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

} // namespace

bool FileExists(const std::string& path)
{
    const auto info = Info(path);
    return info && !IsDirectoryInfo(*info);
}

bool IsReadOnly(const std::string& path)
{
    const auto info = Info(path);
    return info && (info->dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool DirectoryExists(const std::string& path)
{
    const auto info = Info(path);
    return info && IsDirectoryInfo(*info);
}

uint64_t FileSizeOf(const std::string& path)
{
    const auto info = Info(path);
    return info && !IsDirectoryInfo(*info) ? SizeOfInfo(*info) : 0;
}

bool FoldsCase(const std::string& dir, const std::string& name)
{
    std::string swapped = name;
    for (char& c : swapped)
        c = std::isupper(static_cast<unsigned char>(c))
                ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
                : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // Found under the other spelling, yet not listed so.
    if (swapped == name || !Info(ChildPath(dir, swapped), false))
        return false;
    for (const DirEntry& entry : ListDirectory(dir))
        if (entry.Name == swapped)
            return false;
    return true;
}

std::vector<DirEntry> ListDirectory(const std::string& dir, const std::function<void()>& eachEntry)
{
    std::vector<DirEntry> entries;
    const std::optional<std::wstring> wide = SystemPath(dir);
    if (!wide)
        return entries;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW((*wide + (wide->back() == L'\\' ? L"*" : L"\\*")).c_str(), FindExInfoBasic,
                                             &found, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        const std::string name = Utf8(found.cFileName);
        if (name == "." || name == "..")
            continue;
        if (eachEntry)
            eachEntry();
        entries.push_back({name, AttrOf(found.dwFileAttributes)});
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return entries;
}

std::vector<DirEntry> ListDirectoryAt(int dirFd)
{
    // Read through the handle itself: a listing by path would open the
    // folder again, which its holder's sharing may refuse.
    std::vector<DirEntry> entries;
    alignas(FILE_FULL_DIR_INFO) unsigned char buffer[64 * 1024];
    FILE_INFO_BY_HANDLE_CLASS next = FileFullDirectoryRestartInfo;
    while (::GetFileInformationByHandleEx(HandleOf(dirFd), next, buffer, sizeof buffer)) {
        next = FileFullDirectoryInfo;
        for (size_t at = 0;;) {
            const auto* found = reinterpret_cast<const FILE_FULL_DIR_INFO*>(buffer + at);
            const std::string name = Utf8(std::wstring(found->FileName, found->FileNameLength / sizeof(wchar_t)));
            if (name != "." && name != "..")
                entries.push_back({name, AttrOf(found->FileAttributes)});
            if (found->NextEntryOffset == 0)
                break;
            at += found->NextEntryOffset;
        }
    }
    return entries;
}

void ReleaseFreedMemory() { ::_heapmin(); }

bool CreateDir(const std::string& path)
{
    const std::optional<std::wstring> wide = SystemPath(path);
    return wide && ::CreateDirectoryW(wide->c_str(), nullptr);
}

bool CreateDirWithParents(const std::string& path)
{
    if (!UsablePath(path))
        return false;
    if (DirectoryExists(path))
        return true;
    const std::string parent = ParentOf(path);
    if (parent != path && parent != "." && !DirectoryExists(parent) && !CreateDirWithParents(parent))
        return false;
    return CreateDir(path) || DirectoryExists(path);
}

bool RemoveDir(const std::string& path)
{
    const std::optional<std::wstring> wide = SystemPath(path);
    return wide && ::RemoveDirectoryW(wide->c_str());
}

bool DeleteFile(const std::string& path)
{
    const std::optional<std::wstring> wide = SystemPath(path);
    return wide && ::DeleteFileW(wide->c_str());
}

std::string ReadWholeFile(const std::string& path)
{
    const UniqueHandle handle(OpenForReading(SystemPathOrThrow(path), 0));
    if (!handle.Valid())
        ThrowInOutError(ErrnoFromSystem(::GetLastError()), path);
    std::string contents;
    const WholeRead read = ReadWhole(handle.Get(), MaxWholeFileSize, contents);
    if (read.Error != 0)
        ThrowInOutError(read.Error, path);
    if (read.NotPlain)
        throw EInOutError(5, "This is not a plain file");
    if (read.TooLarge)
        throw EInOutError(5, "The file is larger than " + std::to_string(MaxWholeFileSize >> 20) + " MB");
    return contents;
}

std::optional<std::string> ReadPlainFileNoFollow(const std::string& path, uint64_t maxSize)
{
    const std::optional<std::wstring> wide = SystemPath(path);
    if (!wide)
        return std::nullopt;
    const UniqueHandle handle(OpenForReading(*wide, FILE_FLAG_OPEN_REPARSE_POINT));
    if (!handle.Valid())
        return std::nullopt;
    std::string contents;
    const WholeRead read = ReadWhole(handle.Get(), maxSize, contents);
    if (read.Error != 0 || read.NotPlain || read.TooLarge)
        return std::nullopt;
    return contents;
}

void ReplaceFileContents(const std::string& path, const std::string& contents)
{
    const std::wstring wide = SystemPathOrThrow(path);
    // A link is never written through here: whose it is and where it
    // leads are not the user's to see in its attributes.
    const std::optional<BY_HANDLE_FILE_INFORMATION> old = InfoOf(wide, false);
    if (old && IsLinkInfo(*old))
        throw EInOutError(5, "The file " + Backslashed(path) + " is a link");
    if (old && IsDirectoryInfo(*old))
        throw EInOutError(5);
    if (old && (old->dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
        throw EInOutError(5);
    if (old) {
        // Renaming over a file needs only the folder's permission; the file's own counts.
        const UniqueHandle probe(::CreateFileW(wide.c_str(), GENERIC_WRITE, ShareAll, nullptr, OPEN_EXISTING,
                                               FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!probe.Valid()) {
            const int error = ErrnoFromSystem(::GetLastError());
            throw error == EROFS ? InOutErrorFromErrno(EROFS, path) : EInOutError(5);
        }
    }
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::minstd_rand random(std::random_device{}());
    std::string temp;
    HANDLE created = INVALID_HANDLE_VALUE;
    while (created == INVALID_HANDLE_VALUE) {
        temp = ChildPath(ParentOf(path), TemporaryPrefix(path));
        for (int i = 0; i < 6; ++i)
            temp += letters[random() % (sizeof letters - 1)];
        created = ::CreateFileW(SystemPathOrThrow(temp).c_str(), GENERIC_WRITE, ShareAll, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
            ThrowInOutError(ErrnoFromSystem(::GetLastError()), path);
    }
    const UniqueFd file(DescriptorOf(created));
    if (!file.Valid())
        ThrowInOutError(errno, path);
    // Locked until renamed, so another copy's cleaning leaves it alone.
    const UniqueFd lock(HoldTemporary(file.Fd()));
    auto fail = [&](int error) {
        RemoveFile(SystemPathOrThrow(temp));
        ThrowInOutError(error, path);
    };
    // Hidden and system files stay so.
    if (old) {
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = old->dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                        FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        if (basic.FileAttributes != 0 &&
            !::SetFileInformationByHandle(HandleOf(file.Fd()), FileBasicInfo, &basic, sizeof basic))
            fail(ErrnoFromSystem(::GetLastError()));
    }
    for (size_t done = 0; done < contents.size();) {
        DWORD n = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(contents.size() - done, 1u << 30));
        if (!::WriteFile(HandleOf(file.Fd()), contents.data() + done, chunk, &n, nullptr))
            fail(ErrnoFromSystem(::GetLastError()));
        if (n == 0)
            fail(ENOSPC);
        done += n;
    }
    if (!::FlushFileBuffers(HandleOf(file.Fd())))
        fail(ErrnoFromSystem(::GetLastError()));
    if (const int error = RenameOver(CurrentDirFd, temp, path); error != 0)
        fail(error);
}

void RemoveReplaceLeftovers(const std::string& path)
{
    const std::optional<std::wstring> wide = SystemPath(path);
    if (!wide)
        return;
    if (const auto target = InfoOf(*wide, false); target && IsLinkInfo(*target))
        return;
    if (const auto aside = Info(AsideName(path), false); aside && !IsDirectoryInfo(*aside) && !IsLinkInfo(*aside))
        SettleAside(CurrentDirFd, AsideName(path));
    const std::string dir = ParentOf(path);
    const std::string prefix = TemporaryPrefix(path);
    for (const DirEntry& entry : ListDirectory(dir)) {
        const std::string temp = ChildPath(dir, entry.Name);
        if (IsReplaceTemporaryName(entry.Name, prefix) && IsAbandonedTemporary(CurrentDirFd, temp))
            RemoveFile(SystemPathOrThrow(temp));
    }
}

std::string ExecutablePath()
{
    // Resolved once, at start: an upgrade may move the file while we run.
    static const std::string path = [] {
        std::wstring buffer(MAX_PATH, L'\0');
        for (;;) {
            const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
            if (n == 0)
                return std::string();
            if (n < buffer.size()) {
                buffer.resize(n);
                break;
            }
            buffer.resize(buffer.size() * 2);
        }
        return ShownPath(buffer);
    }();
    return path;
}

std::string ExecutableDir()
{
    const std::string path = ExecutablePath();
    if (path.empty())
        return CurrentDirectory();
    const std::string dir = ParentOf(path);
    // The root keeps its separator: "C:\\", not "C:".
    return dir.size() == 2 && dir[1] == ':' ? dir + "\\" : dir;
}

std::string CurrentDirectory()
{
    wchar_t buffer[32768];
    const DWORD n = ::GetCurrentDirectoryW(32768, buffer);
    return n == 0 || n >= 32768 ? std::string(".") : ShownPath(std::wstring(buffer, n));
}

} // namespace tarvok::platform
