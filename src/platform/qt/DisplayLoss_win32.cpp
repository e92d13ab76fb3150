#include "platform/qt/DisplayLoss.h"

namespace tarvok::platform {

// The window system is part of Windows itself, not a server the program is
// connected to: there is no connection to lose. A logout or shutdown comes
// as WM_QUERYENDSESSION and WM_ENDSESSION, which SessionEndWatcher answers.
// NOLINTNEXTLINE(performance-unnecessary-value-param): Linux keeps what it is given
DisplayLossWatch::DisplayLossWatch(std::function<void()>) {}

// Nothing to put back; not defaulted, as the class is not trivial on Linux.
DisplayLossWatch::~DisplayLossWatch() {} // NOLINT(modernize-use-equals-default)

} // namespace tarvok::platform
