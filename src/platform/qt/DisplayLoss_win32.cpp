#include "platform/qt/DisplayLoss.h"

namespace tarvok::platform {

// The window system is part of Windows itself, not a server the program is
// connected to: there is no connection to lose. A logout or shutdown comes
// as WM_QUERYENDSESSION and WM_ENDSESSION, which SessionEndWatcher answers.
DisplayLossWatch::DisplayLossWatch(std::function<void()>) {}

DisplayLossWatch::~DisplayLossWatch() = default;

} // namespace tarvok::platform
