#pragma once
#include <cstdlib>
#include <string>

namespace tarvok::platform {

// The variable's value; empty when it is unset.
inline std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace tarvok::platform
