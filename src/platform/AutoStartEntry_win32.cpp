#include "platform/AutoStartEntry.h"

#include "platform/Win32Files_win32.h"

#include <optional>

// The entry is a value of a Run key: the machine's when this user may write
// it (an administrator), else the user's own, which every user may write.
namespace tarvok::platform {
namespace {

using namespace win32;

constexpr wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const HKEY Hives[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};

// The executable's name without its folder, the entry's name.
std::optional<std::wstring> ValueName(const std::string& exePath)
{
    const auto pos = exePath.find_last_of("/\\");
    return Wide(pos == std::string::npos ? exePath : exePath.substr(pos + 1));
}

// "<full path>" --at-logon, the path in the system's own separators.
std::optional<std::wstring> ValueData(const std::string& exePath)
{
    std::optional<std::wstring> path = Wide(exePath);
    if (!path)
        return std::nullopt;
    for (wchar_t& c : *path)
        c = c == L'/' ? L'\\' : c;
    const std::optional<std::wstring> argument = Wide(AtLogonArgument);
    return L"\"" + *path + L"\" " + argument.value_or(L"");
}

// The Run key of `hive` opened for `access`; null when this user may not.
HKEY OpenRunKey(HKEY hive, REGSAM access)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(hive, RunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool HasValue(HKEY hive, const std::wstring& name)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(hive, RunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const bool found = ::RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return found;
}

} // namespace

bool WriteAutoStartEntry(const std::string& exePath)
{
    const std::optional<std::wstring> name = ValueName(exePath);
    const std::optional<std::wstring> data = ValueData(exePath);
    if (!name || name->empty() || !data)
        return false;
    for (const HKEY hive : Hives) {
        const HKEY key = OpenRunKey(hive, KEY_SET_VALUE);
        if (!key)
            continue;
        const auto bytes = static_cast<DWORD>((data->size() + 1) * sizeof(wchar_t));
        const LONG written =
            ::RegSetValueExW(key, name->c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data->c_str()), bytes);
        ::RegCloseKey(key);
        if (written == ERROR_SUCCESS)
            return true;
    }
    return false;
}

bool RemoveAutoStartEntry(const std::string& exePath)
{
    const std::optional<std::wstring> name = ValueName(exePath);
    if (!name || name->empty())
        return true;
    bool gone = true;
    // Wherever an earlier run put it: as administrator or as the user.
    for (const HKEY hive : Hives) {
        if (!HasValue(hive, *name))
            continue;
        HKEY key = nullptr;
        if (::RegOpenKeyExW(hive, RunKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            ::RegDeleteValueW(key, name->c_str());
            ::RegCloseKey(key);
        }
        gone = gone && !HasValue(hive, *name);
    }
    return gone;
}

} // namespace tarvok::platform
