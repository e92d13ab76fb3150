#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The X11 side of the desktop tools, on connections of their own to the
// display named by $DISPLAY. Nothing here includes Qt, nothing outside
// includes Xlib.
namespace tarvok::platform::x11 {

// A picture as rows of 0xRRGGBB pixels.
struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
};

// The root window's background as this program sets it. The pixmap is kept
// after our connection closes and published in _XROOTPMAP_ID and
// ESETROOT_PMAP_ID; it is freed at the next Set or Clear, also when a
// desktop program has published its own pixmap since. Our own root property
// names it too: a run after a crash finds it there whatever such a program
// published meanwhile, and a new X server has neither pixmap nor property.
class RootBackground {
public:
    // Tiles the picture over the root window. False when there is no display
    // or its visual has no direct colours.
    bool Set(const Picture& picture);
    // Takes our background away: the default one comes back, or the pixmap
    // another program still publishes. Properties naming another program's
    // pixmap stay.
    bool Clear();

    // The pixmap of our last Set; Id 0 when none.
    struct Kept {
        uint64_t Id = 0;
        unsigned Width = 0, Height = 0, Depth = 0;
    };

private:
    Kept kept_;
};

// Activates the server's screen saver when it is enabled (its timeout is not
// 0); false when it is not, or there is no display.
bool ForceScreenSaver();

// The top-level windows of one connection: the window manager's client list
// where it publishes one, else the viewable children of the root window.
class TopLevelWindows {
public:
    TopLevelWindows(); // Connected() tells whether the display opened
    ~TopLevelWindows();
    TopLevelWindows(const TopLevelWindows&) = delete;
    TopLevelWindows& operator=(const TopLevelWindows&) = delete;

    bool Connected() const;
    std::vector<uint64_t> List();
    // _NET_WM_NAME, else WM_NAME, as UTF-8.
    std::string Title(uint64_t window);
    // The class part of WM_CLASS.
    std::string ClassName(uint64_t window);
    // Withdraws the window, which the window manager then hides too.
    void Hide(uint64_t window);

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

} // namespace tarvok::platform::x11
