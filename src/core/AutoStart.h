#pragma once
#include <stdexcept>
#include <string>

namespace tarvok {

// Entering the program among those the desktop starts at logon. The entry is
// an XDG autostart desktop entry named after the executable; the profile-file
// form is the older one, used only where IsWinNT is false.

// Errors of the start-up entry and of the profile file; the general error
// report shows their text.
class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The start-up entry kind in use: the desktop entry, always, here.
bool IsWinNT();

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config.
std::string ConfigHome();
// ConfigHome()/autostart/<executable name>.desktop
std::string AutoStartEntryPath(const std::string& exePath);
// The Exec value for the path: quoted and escaped as desktop entries want.
std::string DesktopEntryExec(const std::string& exePath);
std::string AutoStartEntryText(const std::string& exePath);

// Writes the entry; ERegistryException "Failed to set data for '<name>'".
void AddAutoStartRegistry(const std::string& exePath);
// Removes exactly that entry. None there: nothing happens. One that stays
// after the attempt: ERegistryException "Failed to delete '<name>'".
void RemoveAutoStart(const std::string& exePath);
// Appends the path to run= of section [windows] of <windowsDir>/win.ini,
// after a ";" when the value was not empty; EIniFileException
// "Unable to write to <path>".
void AddAutoStartWinIni(const std::string& windowsDir, const std::string& exePath);

} // namespace tarvok
