#include "platform/DriveCalls.h"

#include "platform/DriveSteps.h"
#include "platform/PathRules.h"

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

std::string AsideName(const std::string& path)
{
    const size_t name = path.find_last_of(PathSeparators()) + 1;
    return path.substr(0, name) + "." + path.substr(name) + AsideSuffix;
}

void SettleAside(int dir, const std::string& aside)
{
    const size_t name = aside.find_last_of(PathSeparators()) + 1;
    const std::string own =
        aside.substr(0, name) + aside.substr(name + 1, aside.size() - name - 1 - (sizeof AsideSuffix - 1));
    if (steps::Exists(dir, own))
        steps::Unlink(dir, aside);
    else
        steps::RenameAside(dir, aside, own);
}

int RenameOver(int dir, const std::string& from, const std::string& to)
{
    const int error = steps::Rename(dir, from, to, 0);
    if (error == 0 || !steps::RenameOverRefused(error) || !steps::Exists(dir, to))
        return error;
    const std::string aside = AsideName(to);
    // One left from a kill while `to` is there is an older file still.
    steps::Unlink(dir, aside);
    if (steps::RenameAside(dir, to, aside) != 0)
        return error;
    const int in = steps::RenameAside(dir, from, to);
    if (in != 0) {
        steps::RenameAside(dir, aside, to);
        return in;
    }
    steps::Unlink(dir, aside);
    return 0;
}

} // namespace tarvok::platform
