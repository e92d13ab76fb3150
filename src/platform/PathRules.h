#pragma once
#include <string_view>

// How the system spells paths: the separator the program writes, the ones it
// reads, and what ends the folder part before a file name.
namespace tarvok::platform {

char PathSeparator();
// Every character that separates two parts of a path.
std::string_view PathSeparators();
// The separators and, where the system has drives, the drive's colon: the
// file-name part of a path follows the last of these.
std::string_view FileNameBoundaries();

} // namespace tarvok::platform
