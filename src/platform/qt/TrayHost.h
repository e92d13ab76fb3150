#pragma once
#include <string>

namespace tarvok::platform {

// GNOME Shell's tray (its AppIndicator extension) opens the icon's menu on a
// click and calls Activate once for a double click; the other D-Bus hosts
// call it once per click. `currentDesktop` is XDG_CURRENT_DESKTOP, a list of
// names separated by colons.
bool ActivationIsDoubleClick(const std::string& currentDesktop);

} // namespace tarvok::platform
