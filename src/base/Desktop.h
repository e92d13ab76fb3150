#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace tarvok {

// A top-level window of the desktop; 0 is no window.
using WindowHandle = uint64_t;

// The desktop services behind the Tools and tray menu commands. The real one
// speaks to the X server and the session bus; tests pass a fake.
class Desktop {
public:
    virtual ~Desktop() = default;
    // Shows the picture file as the desktop background for this session.
    // False when it is known not to show: a desktop that paints its own
    // background did not take it, or nothing took it.
    virtual bool SetWallpaper(const std::string& imagePath) = 0;
    // Takes the background set by SetWallpaper away again.
    virtual void ClearWallpaper() = 0;
    // Puts back the desktop's own lasting wallpaper setting that
    // SetWallpaper replaced, also one an earlier run left replaced; the
    // background of this session stays. For the session's end and the start.
    virtual void RestoreWallpaperSetting() = 0;
    // Opens the user's terminal without waiting for it; a failure is silent.
    virtual void RunDosShell() = 0;
    // True when a screen saver was asked to start.
    virtual bool StartScreenSaver() = 0;

    // Visits the top-level windows in the platform's order until `visit`
    // answers false.
    virtual void EnumWindows(const std::function<bool(WindowHandle)>& visit) = 0;
    virtual std::string GetWindowText(WindowHandle window) = 0;
    virtual std::string GetClassName(WindowHandle window) = 0;
    virtual void HideWindow(WindowHandle window) = 0;
};

} // namespace tarvok
