#include "platform/Folder.h"

#include "platform/DriveCalls.h"
#include "platform/FileSystem.h"
#include "platform/Win32Files_win32.h"

#include <aclapi.h>
#include <sddl.h>

#include <cctype>
#include <cerrno>
#include <io.h>
#include <memory>
#include <vector>

// A folder is held by a handle that does not share deletion: while it is
// open nobody can rename or remove it, so a name inside it resolves through
// the path the handle names, and no link swapped in for the path counts.
namespace tarvok::platform {
namespace {

using namespace win32;

constexpr DWORD FolderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE;

// Failures read as those of a file to be made inside: a missing folder is
// then "Invalid filename", as the path of a missing directory.
int OpenDirectory(const std::optional<std::wstring>& wide, const std::string& path, bool ownFolder)
{
    if (!wide)
        ThrowInOutError(EINVAL, ChildPath(path, ""));
    // A folder of our own is opened so that it can be removed through the
    // handle, and a link in its place is opened as the link.
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (ownFolder ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    HANDLE handle = ::CreateFileW(wide->c_str(), FolderAccess | (ownFolder ? DELETE : 0),
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags, nullptr);
    // Held open by someone who shares no deletion: it stays, then.
    if (handle == INVALID_HANDLE_VALUE && ownFolder && ::GetLastError() == ERROR_SHARING_VIOLATION)
        handle = ::CreateFileW(wide->c_str(), FolderAccess, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        ThrowInOutError(ErrnoFromSystem(::GetLastError()), ChildPath(path, ""));
    const std::optional<BY_HANDLE_FILE_INFORMATION> info = InfoOfHandle(handle);
    if (!info || !IsDirectoryInfo(*info) || IsLinkInfo(*info)) {
        ::CloseHandle(handle);
        if (info && IsLinkInfo(*info))
            throw EInOutError(5, "The folder " + path + " is a symbolic link");
        ThrowInOutError(EINVAL, ChildPath(path, ""));
    }
    const int fd = DescriptorOf(handle);
    if (fd < 0)
        ThrowInOutError(errno, path);
    return fd;
}

using Descriptor = std::unique_ptr<void, HLOCAL (*)(HLOCAL)>;

// The owner of the open entry; nothing on a drive that keeps no owners.
std::optional<std::vector<BYTE>> OwnerOf(HANDLE handle)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR described = nullptr;
    if (::GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                          &described) != ERROR_SUCCESS)
        return std::nullopt;
    const Descriptor held(described, ::LocalFree);
    if (!owner || !::IsValidSid(owner))
        return std::nullopt;
    const BYTE* bytes = static_cast<const BYTE*>(owner);
    return std::vector<BYTE>(bytes, bytes + ::GetLengthSid(owner));
}

std::vector<BYTE> UserSid()
{
    HANDLE token = nullptr;
    std::vector<BYTE> sid;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return sid;
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size != 0 && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        const PSID user = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
        const BYTE* bytes = static_cast<const BYTE*>(user);
        sid.assign(bytes, bytes + ::GetLengthSid(user));
    }
    ::CloseHandle(token);
    return sid;
}

// The user's own, or the system's or the administrators' (who own what an
// elevated program makes), as root's folders are on Linux.
bool IsUsersOwn(std::vector<BYTE> owner)
{
    const PSID sid = owner.data();
    return owner == UserSid() || ::IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
           ::IsWellKnownSid(sid, WinLocalSystemSid);
}

// For the user alone, as mode 0700 makes a folder: the user and the system
// have every right, what is made inside inherits that (so the copies there
// are private, while a copy restored elsewhere takes its folder's access),
// and nothing the parent passes on counts. Nothing when the user is not known.
Descriptor PrivateDescriptor()
{
    std::vector<BYTE> user = UserSid();
    wchar_t* sid = nullptr;
    if (user.empty() || !::ConvertSidToStringSidW(user.data(), &sid))
        return Descriptor(nullptr, ::LocalFree);
    const std::wstring text = L"D:P(A;OICI;FA;;;" + std::wstring(sid) + L")(A;OICI;FA;;;SY)";
    ::LocalFree(sid);
    PSECURITY_DESCRIPTOR described = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(text.c_str(), SDDL_REVISION_1, &described, nullptr))
        described = nullptr;
    return Descriptor(described, ::LocalFree);
}

} // namespace

Folder Folder::Open(const std::string& path)
{
    return Folder(OpenDirectory(SystemPath(path), path, false), Backslashed(path));
}

std::optional<EInOutError> Folder::MakePrivate(const std::string& path)
{
    const std::optional<std::wstring> wide = SystemPath(path);
    if (!wide)
        return EInOutError(3);
    const Descriptor described = PrivateDescriptor();
    SECURITY_ATTRIBUTES privately{sizeof privately, described.get(), FALSE};
    if (::CreateDirectoryW(wide->c_str(), described ? &privately : nullptr))
        return std::nullopt;
    const int error = ErrnoFromSystem(::GetLastError());
    if (error == EEXIST)
        return EInOutError(5, "Something that is not a folder has its name");
    return InOutErrorFromErrno(error, path);
}

Folder Folder::OpenPrivate(const std::string& path, const std::string& probePrefix)
{
    Folder folder(OpenDirectory(SystemPath(path), path, true), Backslashed(path));
    folder.OwnStatus(probePrefix);
    return folder;
}

// Windows keeps access in lists, not modes: the status says a folder, and
// the check is of its owner.
struct stat Folder::OwnStatus(const std::string& probePrefix)
{
    struct stat st {};
    st.st_mode = S_IFDIR | 0700;
    const std::optional<std::vector<BYTE>> owner = OwnerOf(HandleOf(fd_));
    if (!owner || IsUsersOwn(*owner))
        return st;
    // A share shows its files as the server's account: a folder of the
    // owner that a file made there gets is the user's too.
    std::optional<std::vector<BYTE>> ownerOfNew;
    try {
        RawFile probe = CreateTemporary(probePrefix);
        ownerOfNew = OwnerOf(HandleOf(probe.fd_));
        probe.Close();
        Remove(probe.Path().substr(probe.Path().find_last_of('\\') + 1));
    } catch (const EInOutError&) {
        // nothing can be made there: the folder is not ours
    }
    if (ownerOfNew != owner)
        throw EInOutError(5, "The folder " + path_ + " belongs to another user");
    return st;
}

Folder Folder::OpenOwnFolder(const std::string& name, const std::string& probePrefix) const
{
    const std::string path = ChildPath(path_, name);
    Folder folder(OpenDirectory(PathIn(fd_, name), path, true), path);
    folder.OwnStatus(probePrefix);
    return folder;
}

Folder::~Folder()
{
    if (fd_ >= 0)
        ::_close(fd_);
}

RawFile Folder::CreateTemporary(const std::string& prefix)
{
    for (;;) {
        const std::string name = NewTemporaryName(prefix, ::GetCurrentProcessId());
        const std::optional<std::wstring> wide = PathIn(fd_, name);
        if (!wide)
            ThrowInOutError(EINVAL, ChildPath(path_, name));
        // Shared for everything, so that it can be renamed into place while
        // open; the lock, not the sharing, keeps cleaners away.
        const HANDLE handle = ::CreateFileW(wide->c_str(), GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            const int fd = DescriptorOf(handle);
            if (fd < 0)
                ThrowInOutError(errno, ChildPath(path_, name));
            RawFile file(fd, ChildPath(path_, name));
            file.lock_ = HoldTemporary(fd);
            return file;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS)
            ThrowInOutError(ErrnoFromSystem(::GetLastError()), ChildPath(path_, name));
    }
}

void Folder::CheckName(const std::string& name) const
{
    if (!PathIn(fd_, name))
        ThrowInOutError(EINVAL, ChildPath(path_, name));
}

void Folder::Replace(const std::string& from, const std::string& to)
{
    CheckName(to);
    if (const int error = RenameOver(fd_, from, to); error != 0)
        ThrowRenameError(error, to);
}

void Folder::ThrowRenameError(int error, const std::string& to) const
{
    // A name the drive cannot store ("what?.txt", "aux") is refused as
    // invalid, or as missing while the name is free.
    const std::optional<std::wstring> wide = PathIn(fd_, to);
    const bool free = !wide || ::GetFileAttributesW(wide->c_str()) == INVALID_FILE_ATTRIBUTES;
    if (error == EINVAL || (error == ENOENT && free))
        throw EInOutError(3, "The drive cannot store this file name");
    ThrowInOutError(error, ChildPath(path_, to));
}

bool Folder::ReplaceKeepingOld(const std::string& from, const std::string& to, const std::string& keep)
{
    CheckName(to);
    // Tried again when what was at `to` changed under us.
    for (int tries = 0;; ++tries) {
        const std::optional<std::wstring> wide = PathIn(fd_, to);
        const DWORD attributes = wide ? ::GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
        const bool occupied = attributes != INVALID_FILE_ATTRIBUTES;
        KeepResult result;
        if (!occupied)
            result.Error = RenameNoReplace(fd_, from, to);
        else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            result.Error = EISDIR;
        else
            result = platform::ReplaceKeepingOld(fd_, from, to, keep);
        if (result.Error == 0)
            return true;
        const bool changed = occupied ? result.Error == ENOENT : result.Error == EEXIST;
        if (changed && tries < 3)
            continue;
        if (result.KeepFailed)
            return false;
        ThrowRenameError(result.Error, to);
    }
}

bool Folder::HoldsFile(const std::string& name, const RawFile& file) const
{
    const std::optional<std::wstring> wide = PathIn(fd_, name);
    const auto there = wide ? InfoOf(*wide, true) : std::nullopt;
    const auto open = InfoOfHandle(HandleOf(file.fd_));
    return there && open && SameFile(*there, *open);
}

bool Folder::Remove(const std::string& name)
{
    const std::optional<std::wstring> wide = PathIn(fd_, name);
    return wide && RemoveFile(*wide);
}

bool Folder::IsReadOnly(const std::string& name) const
{
    const std::optional<std::wstring> wide = PathIn(fd_, name);
    const DWORD attributes = wide ? ::GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

void Folder::RemoveOrThrow(const std::string& name)
{
    const std::optional<std::wstring> wide = PathIn(fd_, name);
    if (!wide)
        ThrowInOutError(EINVAL, ChildPath(path_, name));
    if (!RemoveFile(*wide) && errno != ENOENT)
        ThrowInOutError(errno, ChildPath(path_, name));
}

void Folder::RemoveFolderOrThrow(const std::string& name, const Folder& opened)
{
    const std::string path = ChildPath(path_, name);
    const std::optional<std::wstring> wide = PathIn(fd_, name);
    if (!wide)
        ThrowInOutError(EINVAL, path);
    const auto there = InfoOf(*wide, false);
    if (!there) {
        const int error = ErrnoFromSystem(::GetLastError());
        if (error == ENOENT)
            return;
        ThrowInOutError(error, path);
    }
    const auto held = InfoOfHandle(HandleOf(opened.fd_));
    if (!held || !SameFile(*there, *held))
        throw EInOutError(5, "The folder " + path + " was replaced while it was deleted");
    // Removed through the handle that holds it, once that is closed; an
    // empty folder only.
    FILE_DISPOSITION_INFO remove{TRUE};
    if (!::SetFileInformationByHandle(HandleOf(opened.fd_), FileDispositionInfo, &remove, sizeof remove))
        ThrowInOutError(ErrnoFromSystem(::GetLastError()), path);
}

void Folder::Flush(const std::vector<std::string>& /*names*/)
{
    // Windows flushes a folder's handle only where it was opened for
    // writing, which nothing else here needs; a refusal leaves the copies
    // to the system's own write-back.
    if (!::FlushFileBuffers(HandleOf(fd_))) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_ACCESS_DENIED && error != ERROR_INVALID_FUNCTION && error != ERROR_INVALID_HANDLE)
            ThrowInOutError(ErrnoFromSystem(error), path_);
    }
}

} // namespace tarvok::platform
