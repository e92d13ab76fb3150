#pragma once

namespace tarvok::platform {

// The window shape, the skip-taskbar mark, the wallpaper, the screen saver
// and the window list are X11 services: when QT_QPA_PLATFORM is unset and
// DISPLAY is set, asks Qt for the xcb platform, so a Wayland session runs
// the program through XWayland. Call before the application object exists.
void PreferX11Platform();

// True when the scale a font resolution of `dpi` gives (dpi / 96) lies within
// 5 % of a whole number: the window's bitmaps are then drawn at that number,
// crisp, instead of resampled (MATE's 100 dpi would give 1.0417).
bool ScaleNearWholeNumber(double dpi);

// Has Qt round the scale to a whole number where the X server's font
// resolution (Xft.dpi) gives one near it. Call before the application
// object exists, after PreferX11Platform.
void RoundScaleNearWholeNumbers();

} // namespace tarvok::platform
