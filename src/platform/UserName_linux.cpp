#include "platform/UserName.h"

#include <pwd.h>
#include <unistd.h>

namespace tarvok::platform {

std::optional<std::string> CurrentUserName()
{
    const passwd* entry = ::getpwuid(::geteuid());
    if (!entry || !entry->pw_name)
        return std::nullopt;
    return std::string(entry->pw_name);
}

} // namespace tarvok::platform
