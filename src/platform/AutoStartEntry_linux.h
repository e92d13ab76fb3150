#pragma once
#include <string>

// The logon entry as the XDG autostart rules have it: a desktop entry in the
// autostart folder of the user's config folder.
namespace tarvok::platform {

// ConfigHome()/autostart/<executable name><nameSuffix>.desktop
std::string AutoStartEntryPath(const std::string& exePath, const std::string& nameSuffix = "");
// The Exec value for the path: quoted and escaped as desktop entries want.
std::string DesktopEntryExec(const std::string& exePath);
std::string AutoStartEntryText(const std::string& exePath);

} // namespace tarvok::platform
