#include "platform/DriveCalls.h"

namespace tarvok::platform {

bool IsAsideName(const std::string& name)
{
    const size_t suffix = sizeof AsideSuffix - 1;
    return name.size() > suffix + 1 && name[0] == '.' && name.compare(name.size() - suffix, suffix, AsideSuffix) == 0;
}

} // namespace tarvok::platform
