#pragma once
#include "base/Desktop.h"

#include <cstdint>
#include <string>

namespace tarvok::platform {

// The desktop tools on Windows, on the calls the program was written for.
class WindowsDesktop : public Desktop {
public:
    bool SetWallpaper(const std::string& imagePath) override;
    void ClearWallpaper() override;
    void RestoreWallpaperSetting() override;
    void RunDosShell() override;
    bool StartScreenSaver() override;
    void EnumWindows(const std::function<bool(WindowHandle)>& visit) override;
    std::string GetWindowText(WindowHandle window) override;
    std::string GetClassName(WindowHandle window) override;
    void HideWindow(WindowHandle window) override;
};

// The wallpaper this session shows; empty for none.
std::string CurrentWallpaper();

// Starts the command line in a console of its own and lets it go; the
// started process's id, 0 when it did not start.
uint32_t StartDetached(const std::string& commandLine);

} // namespace tarvok::platform
