#include "platform/SystemErrors.h"

namespace tarvok::platform {

// Every failure comes as an errno value.
std::optional<EInOutError> SystemOwnError(int) { return std::nullopt; }

} // namespace tarvok::platform
