#pragma once
#include <string>

// The program among those the user's session starts at logon, entered under
// the executable's name with its full path.
namespace tarvok::platform {

// The argument the entry starts the program with, so that it knows the
// session is only beginning.
inline constexpr const char* AtLogonArgument = "--at-logon";

// Enters the executable, replacing an entry of the same name; false when it
// could not be written.
bool WriteAutoStartEntry(const std::string& exePath);
// Removes exactly the executable's entry; none there is no failure. False
// when one stays after the attempt.
bool RemoveAutoStartEntry(const std::string& exePath);

} // namespace tarvok::platform
