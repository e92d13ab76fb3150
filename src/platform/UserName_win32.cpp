#include "platform/UserName.h"

#include "platform/Win32Files_win32.h"

namespace tarvok::platform {

std::optional<std::string> CurrentUserName()
{
    // A logon name has at most 256 characters (UNLEN).
    wchar_t name[257] = {};
    DWORD size = sizeof name / sizeof name[0];
    if (!::GetUserNameW(name, &size) || size == 0)
        return std::nullopt;
    // The size counts the closing zero.
    return win32::Utf8(std::wstring(name, size - 1));
}

} // namespace tarvok::platform
