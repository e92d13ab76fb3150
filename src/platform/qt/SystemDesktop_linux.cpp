#include "platform/qt/SystemDesktop.h"

#include "platform/AutoStartEntry_linux.h"
#include "platform/FileSystem.h"
#include "platform/qt/Desktop_linux.h"

namespace tarvok::platform {

std::unique_ptr<Desktop> MakeSystemDesktop(const std::string& wallpaperKeepFile)
{
    // The next logon's entry that puts the desktop's own setting back.
    return std::make_unique<LinuxDesktop>(wallpaperKeepFile, AutoStartEntryPath(ExecutablePath(), "-wallpaper"));
}

} // namespace tarvok::platform
