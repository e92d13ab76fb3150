#pragma once
#include <string>

namespace tarvok::platform {

// GNOME Shell's tray (its AppIndicator extension) opens the icon's menu on a
// click and calls Activate once for a double click; the other D-Bus hosts
// (Budgie's, GNOME Flashback's, Plasma's...) call it once per click. The
// host is known by `hostProgram`, the process name of the program that
// serves the StatusNotifierWatcher, never by the desktop's name.
bool ActivationIsDoubleClick(const std::string& hostProgram);

// The process name of the program that owns the session's
// StatusNotifierWatcher; empty where none answers.
std::string TrayHostProgram();

} // namespace tarvok::platform
