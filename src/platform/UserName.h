#pragma once
#include <optional>
#include <string>

namespace tarvok::platform {

// The login name of the user the program runs as; nothing when the system
// has no entry for that user.
std::optional<std::string> CurrentUserName();

} // namespace tarvok::platform
