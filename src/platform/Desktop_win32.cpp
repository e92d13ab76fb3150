#include "platform/Desktop_win32.h"

#include "platform/Win32Files_win32.h"

#include <vector>

// The A/W macros of windows.h would rename these methods.
#undef GetWindowText
#undef GetClassName

namespace tarvok::platform {
namespace {

using namespace win32;

// Windows gives window handles as integers; the casts are its interface's.
HWND WindowOf(WindowHandle window)
{
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(window)); // NOLINT(performance-no-int-to-ptr)
}

// Without SPIF_UPDATEINIFILE the picture lasts for this logon only, and the
// user's own lasting setting is never touched.
bool ShowWallpaper(std::wstring path)
{
    return ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_SENDCHANGE) != FALSE;
}

} // namespace

std::string CurrentWallpaper()
{
    wchar_t path[MAX_PATH + 1] = {};
    if (!::SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0))
        return {};
    return Utf8(path);
}

bool WindowsDesktop::SetWallpaper(const std::string& imagePath)
{
    // The system takes the old short form of a path, not the long one.
    std::optional<std::wstring> path = Wide(imagePath);
    if (!path)
        return false;
    for (wchar_t& c : *path)
        if (c == L'/')
            c = L'\\';
    return ShowWallpaper(*path);
}

void WindowsDesktop::ClearWallpaper() { ShowWallpaper(L""); }

// SetWallpaper never replaces the lasting setting, so there is nothing to
// put back: at the next logon the user's own wallpaper shows.
void WindowsDesktop::RestoreWallpaperSetting() {}

uint32_t StartDetached(const std::string& commandLine)
{
    std::optional<std::wstring> wide = Wide(commandLine);
    if (!wide)
        return 0;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, wide->data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP,
                          nullptr, nullptr, &startup, &started))
        return 0;
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return started.dwProcessId;
}

void WindowsDesktop::RunDosShell()
{
    // %ComSpec% names the system's command interpreter.
    const wchar_t* comspec = ::_wgetenv(L"ComSpec");
    StartDetached(comspec ? "\"" + Utf8(comspec) + "\"" : std::string("cmd.exe"));
}

bool WindowsDesktop::StartScreenSaver()
{
    BOOL active = FALSE;
    if (!::SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) || !active)
        return false;
    ::DefWindowProcW(::GetDesktopWindow(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    return true;
}

void WindowsDesktop::EnumWindows(const std::function<bool(WindowHandle)>& visit)
{
    // Collected first: the visitor may hide windows, which reorders them.
    std::vector<HWND> windows;
    ::EnumWindows(
        [](HWND window, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window); // NOLINT(performance-no-int-to-ptr)
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    for (const HWND window : windows)
        if (!visit(static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(window))))
            return;
}

std::string WindowsDesktop::GetWindowText(WindowHandle window)
{
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(WindowOf(window))) + 1, L'\0');
    const int n = ::GetWindowTextW(WindowOf(window), text.data(), static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return Utf8(text);
}

std::string WindowsDesktop::GetClassName(WindowHandle window)
{
    wchar_t name[257] = {}; // class names are at most 256 characters
    const int n = ::GetClassNameW(WindowOf(window), name, 257);
    return Utf8(std::wstring(name, n > 0 ? static_cast<size_t>(n) : 0));
}

void WindowsDesktop::HideWindow(WindowHandle window) { ::ShowWindow(WindowOf(window), SW_HIDE); }

} // namespace tarvok::platform
