#include "platform/PathRules.h"

namespace tarvok::platform {

char PathSeparator() { return '/'; }
std::string_view PathSeparators() { return "/"; }
std::string_view FileNameBoundaries() { return "/"; }

} // namespace tarvok::platform
