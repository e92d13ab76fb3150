#pragma once
#include <cstddef>
#include <string>

namespace tarvok {

class Dialogs;

inline constexpr size_t CopyBlockSize = 2048;

// Copies Source to Dest through one fixed 2048-byte buffer. A missing source
// is reported as a warning and the call returns; every other failure throws
// EInOutError. Source and Dest naming the same file is refused before
// anything is opened for writing.
void CopyFileByBlock(const std::string& Source, const std::string& Dest, Dialogs& dialogs);

// The warning shown for a missing source: "<file name> 不存在".
std::string MissingSourceText(const std::string& source);

} // namespace tarvok
