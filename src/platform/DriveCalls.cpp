#include "platform/DriveCalls.h"

#include <cctype>

namespace tarvok::platform {

bool IsReplaceTemporaryName(const std::string& name, const std::string& prefix)
{
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (size_t i = prefix.size(); i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

bool IsAsideName(const std::string& name)
{
    const size_t suffix = sizeof AsideSuffix - 1;
    return name.size() > suffix + 1 && name[0] == '.' && name.compare(name.size() - suffix, suffix, AsideSuffix) == 0;
}

} // namespace tarvok::platform
