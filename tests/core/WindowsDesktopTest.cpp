// The desktop tools on Windows, against the system's own state: windows
// made here, the session's wallpaper and screen saver settings.
#include "ScratchFolder.h"
#include "platform/Desktop_win32.h"

#include <gtest/gtest.h>

#include <windows.h>
// The A/W macros of windows.h would rename the desktop's methods.
#undef GetWindowText
#undef GetClassName

using namespace tarvok;
using namespace tarvok::platform;
using namespace tarvok::test;

namespace {

// A top-level window of our own for as long as it lives.
class ProbeWindow {
public:
    explicit ProbeWindow(const wchar_t* title)
    {
        WNDCLASSW kind{};
        kind.lpfnWndProc = ::DefWindowProcW;
        kind.hInstance = ::GetModuleHandleW(nullptr);
        kind.lpszClassName = L"TarvokProbeWindow";
        ::RegisterClassW(&kind);
        window_ = ::CreateWindowExW(0, kind.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                    nullptr, nullptr, kind.hInstance, nullptr);
    }
    ~ProbeWindow() { ::DestroyWindow(window_); }
    ProbeWindow(const ProbeWindow&) = delete;
    ProbeWindow& operator=(const ProbeWindow&) = delete;
    HWND Get() const { return window_; }
    WindowHandle Handle() const { return static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(window_)); }

private:
    HWND window_ = nullptr;
};

std::wstring WallpaperSetting()
{
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    ::RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

// A 2x1 picture, blue and white, in the plainest BMP form.
void PutPicture(const std::string& path)
{
    const unsigned char bmp[] = {'B',  'M',  62, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0,   0, 40, 0,   0,   0,    2,    0, 0,
                                 0,    1,    0,  0, 0, 1, 0, 24, 0, 0, 0,  0, 0,   8, 0,  0,   0,   0x13, 0x0B, 0, 0,
                                 0x13, 0x0B, 0,  0, 0, 0, 0, 0,  0, 0, 0,  0, 255, 0, 0,  255, 255, 255,  0,    0};
    Put(path, std::string(reinterpret_cast<const char*>(bmp), sizeof bmp));
}

} // namespace

TEST(WindowsDesktopTest, AWindowIsFoundByItsTitleAndClassAndHidden)
{
    const ProbeWindow probe(L"Tarvok probe – Grüße");
    ASSERT_TRUE(probe.Get());
    WindowsDesktop desktop;
    int seen = 0;
    bool found = false;
    desktop.EnumWindows([&](WindowHandle window) {
        ++seen;
        found = found || window == probe.Handle();
        return true;
    });
    EXPECT_TRUE(found);
    int visited = 0;
    desktop.EnumWindows([&](WindowHandle) { return ++visited < 1; });
    EXPECT_EQ(visited, 1) << "the walk ends when the visitor says so";
    EXPECT_GE(seen, 1);
    EXPECT_EQ(desktop.GetWindowText(probe.Handle()), "Tarvok probe – Grüße");
    EXPECT_EQ(desktop.GetClassName(probe.Handle()), "TarvokProbeWindow");
    EXPECT_TRUE(::IsWindowVisible(probe.Get()));
    desktop.HideWindow(probe.Handle());
    EXPECT_FALSE(::IsWindowVisible(probe.Get()));
}

TEST(WindowsDesktopTest, TheWallpaperLastsTheSessionAndTheSettingStays)
{
    ScratchFolder dir;
    PutPicture(dir / "Bild ü.bmp");
    const std::string before = CurrentWallpaper();
    const std::wstring setting = WallpaperSetting();
    WindowsDesktop desktop;
    EXPECT_TRUE(desktop.SetWallpaper(dir / "Bild ü.bmp"));
    std::string shown = dir / "Bild ü.bmp";
    for (char& c : shown)
        c = c == '/' ? '\\' : c;
    EXPECT_EQ(CurrentWallpaper(), shown);
    EXPECT_EQ(WallpaperSetting(), setting) << "the lasting setting is not written";
    desktop.ClearWallpaper();
    EXPECT_EQ(CurrentWallpaper(), "");
    desktop.RestoreWallpaperSetting();
    EXPECT_EQ(WallpaperSetting(), setting);
    desktop.SetWallpaper(before);
}

TEST(WindowsDesktopTest, TheScreenSaverStartsOnlyWhereOneIsOn)
{
    BOOL was = FALSE;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &was, 0));
    WindowsDesktop desktop;
    for (const BOOL active : {FALSE, TRUE}) {
        ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, active, nullptr, 0);
        EXPECT_EQ(desktop.StartScreenSaver(), active == TRUE) << "active " << active;
    }
    ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, was, nullptr, 0);
}

TEST(WindowsDesktopTest, ACommandStartsDetachedAndRunsToItsEnd)
{
    const uint32_t id = StartDetached("cmd.exe /c exit 7");
    ASSERT_NE(id, 0u);
    const HANDLE process =
        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, id);
    ASSERT_TRUE(process);
    const bool ended = ::WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
    DWORD status = 0;
    ::GetExitCodeProcess(process, &status);
    if (!ended)
        ::TerminateProcess(process, 1);
    ::CloseHandle(process);
    EXPECT_TRUE(ended);
    EXPECT_EQ(status, 7u);
    EXPECT_EQ(StartDetached("no-such-program-here.exe"), 0u);
}
