#pragma once
#include <string>

namespace tarvok {

// A name (a file, a folder, a path) as it may stand in a message or a list:
// its control characters written out (`\n`, `\t`, `\r`, `\x1b`, `\u0085`),
// so a name can neither break a message into forged lines nor act on the
// screen. Everything else, backslashes too, stays as it is.
std::string VisibleName(const std::string& name);

} // namespace tarvok
