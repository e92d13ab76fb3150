#include "platform/qt/TrayHost.h"

namespace tarvok::platform {

// Windows' notification area has no D-Bus host.
std::string TrayHostProgram() { return {}; }

} // namespace tarvok::platform
