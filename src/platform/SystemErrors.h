#pragma once
#include "base/InOutError.h"

#include <optional>

namespace tarvok::platform {

// A failure the system reports in its own terms, beyond the errno values
// (Windows' codes that no errno names), as the program says it; nothing for
// an errno value, which the one table of InOutErrorFromErrno words.
std::optional<EInOutError> SystemOwnError(int error);

} // namespace tarvok::platform
