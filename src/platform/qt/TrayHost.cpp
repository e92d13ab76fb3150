#include "platform/qt/TrayHost.h"

namespace tarvok::platform {

bool ActivationIsDoubleClick(const std::string& hostProgram) { return hostProgram == "gnome-shell"; }

} // namespace tarvok::platform
