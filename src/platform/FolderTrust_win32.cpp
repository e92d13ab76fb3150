#include "platform/Folder.h"

#include "platform/FileSystem.h"
#include "platform/Win32Files_win32.h"

// Windows keeps a file's access in its own list, which a shared folder's
// other users cannot widen: every entry there counts as the user's, and
// only a link is told apart.
namespace tarvok::platform {

using namespace win32;

Folder::Whose Folder::WhoseEntry(const std::string& name, const std::string& /*probePrefix*/)
{
    CheckName(name);
    const std::optional<std::wstring> path = PathIn(fd_, name);
    const std::optional<BY_HANDLE_FILE_INFORMATION> info = path ? InfoOf(*path, false) : std::nullopt;
    if (!info)
        return Whose::Missing;
    return IsLinkInfo(*info) ? Whose::OwnLink : Whose::User;
}

std::optional<RawFile> Folder::OpenOwnSource(const std::string& name, const std::string& probePrefix)
{
    if (WhoseEntry(name, probePrefix) != Whose::User)
        return std::nullopt;
    return RawFile::OpenSource(path_ + "/" + name);
}

bool Folder::BelongsToAnotherUser(const std::string& /*path*/, const std::string& /*probePrefix*/) { return false; }

} // namespace tarvok::platform
