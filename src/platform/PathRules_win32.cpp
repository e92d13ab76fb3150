#include "platform/PathRules.h"

namespace tarvok::platform {

// The program writes '\'; '/' is read too, as older copies of the program
// stored it.
char PathSeparator() { return '\\'; }
std::string_view PathSeparators() { return "\\/"; }
std::string_view FileNameBoundaries() { return "\\/:"; }

} // namespace tarvok::platform
