#pragma once
#include "base/Desktop.h"

#include <memory>
#include <string>

namespace tarvok::platform {

// The desktop tools of the system the program runs on. `wallpaperKeepFile`
// holds the desktop's own lasting wallpaper setting while ours replaces it,
// where a desktop needs that (an X11 desktop environment's background
// setting; Windows keeps ours for the logon only and needs none).
std::unique_ptr<Desktop> MakeSystemDesktop(const std::string& wallpaperKeepFile);

} // namespace tarvok::platform
