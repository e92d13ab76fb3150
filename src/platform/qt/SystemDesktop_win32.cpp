#include "platform/qt/SystemDesktop.h"

#include "platform/Desktop_win32.h"

namespace tarvok::platform {

std::unique_ptr<Desktop> MakeSystemDesktop(const std::string&) { return std::make_unique<WindowsDesktop>(); }

} // namespace tarvok::platform
