#pragma once
#include <string>

// The steps on names inside a folder (held as `dir`, or AT_FDCWD with paths)
// that each system takes in its own way; DriveCalls.cpp builds the moves
// aside and back from them.
namespace tarvok::platform::steps {

// Through Drive().Rename: 0, or the errno of the failure.
int Rename(int dir, const std::string& from, const std::string& to, unsigned flags);
// A rename of a move aside or back: never over a file where every drive
// can promise so.
int RenameAside(int dir, const std::string& from, const std::string& to);
bool Exists(int dir, const std::string& name);
void Unlink(int dir, const std::string& name);
// How the drive refuses a rename over an existing file.
bool RenameOverRefused(int error);

} // namespace tarvok::platform::steps
