#pragma once
#include "platform/AppDir.h"

#include <stdexcept>
#include <string>

namespace tarvok {

// Entering the program among those the desktop starts at logon: the
// platform's start-up entry; the profile-file form is the older one, used
// only where IsWinNT is false.

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

// The start-up entry kind in use: the platform's entry, always, here.
bool IsWinNT();

// The folder that stands in for the Windows directory of the profile file.
using platform::ConfigHome;

// Writes the entry; ERegistryException "Failed to set data for '<name>'".
void AddAutoStartRegistry(const std::string& exePath);
// Removes exactly that entry. None there: nothing happens. One that stays
// after the attempt: ERegistryException "Failed to delete '<name>'".
void RemoveAutoStart(const std::string& exePath);
// Appends the path to run= of section [windows] of <windowsDir>/win.ini,
// after a ";" when the value was not empty; EIniFileException
// "Unable to write to <path>".
void AddAutoStartWinIni(const std::string& windowsDir, const std::string& exePath);

// The running program entered at logon in the entry kind in use, and taken
// out again; the errors are those above.
void EnterRunningProgramAtLogon();
void TakeRunningProgramOutOfLogon();

} // namespace tarvok
