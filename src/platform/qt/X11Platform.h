#pragma once

namespace tarvok::platform {

// The window shape, the skip-taskbar mark, the wallpaper, the screen saver
// and the window list are X11 services: when QT_QPA_PLATFORM is unset and
// DISPLAY is set, asks Qt for the xcb platform, so a Wayland session runs
// the program through XWayland. Call before the application object exists.
void PreferX11Platform();

} // namespace tarvok::platform
