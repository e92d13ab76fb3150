#pragma once
#include "base/Desktop.h"
#include "platform/qt/CommandRunner.h"
#include "platform/qt/DesktopBackground_linux.h"
#include "platform/qt/X11Desktop_linux.h"

#include <memory>

namespace tarvok::platform {

// The desktop of an X11 session (also XWayland), with the session bus's
// screen saver and the desktop environment's own background where there are.
class LinuxDesktop : public Desktop {
public:
    // `keepFile` holds the desktop's wallpaper setting while ours replaces it;
    // the autostart entry `logonEntry` puts it back at the next logon.
    LinuxDesktop(const std::string& keepFile, const std::string& logonEntry);
    ~LinuxDesktop() override;

    bool SetWallpaper(const std::string& imagePath) override;
    void ClearWallpaper() override;
    void RestoreWallpaperSetting() override;
    void RunDosShell() override;
    bool StartScreenSaver() override;
    void EnumWindows(const std::function<bool(WindowHandle)>& visit) override;
    std::string GetWindowText(WindowHandle window) override;
    std::string GetClassName(WindowHandle window) override;
    void HideWindow(WindowHandle window) override;

private:
    // The connection of the enumeration under way, else a new one.
    template <typename Use> auto WithWindows(Use&& use);

    x11::RootBackground root_;
    ProcessRunner runner_;
    DesktopBackground background_;
    x11::TopLevelWindows* enumerating_ = nullptr;
};

} // namespace tarvok::platform
