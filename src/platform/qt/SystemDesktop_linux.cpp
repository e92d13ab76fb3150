#include "platform/qt/SystemDesktop.h"

#include "platform/AppDir.h"
#include "platform/FileSystem.h"
#include "platform/qt/Desktop_linux.h"

#include <filesystem>

namespace tarvok::platform {

std::unique_ptr<Desktop> MakeSystemDesktop(const std::string& wallpaperKeepFile)
{
    // The next logon's entry that puts the desktop's own setting back.
    const std::string logonEntry = ConfigHome() + "/autostart/" +
                                   std::filesystem::path(ExecutablePath()).filename().string() + "-wallpaper.desktop";
    return std::make_unique<LinuxDesktop>(wallpaperKeepFile, logonEntry);
}

} // namespace tarvok::platform
