#include "platform/Folder.h"

#include "platform/DriveCalls.h"

#include <cctype>

namespace tarvok::platform {

bool Folder::IsTemporaryName(const std::string& name, const std::string& prefix)
{
    // prefix, process id, "-", six letters or digits
    if (name.size() < prefix.size() + 8 || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    const size_t dash = name.size() - 7;
    if (name[dash] != '-' || dash == prefix.size())
        return false;
    for (size_t i = prefix.size(); i < name.size(); ++i)
        if (i != dash && !(i < dash ? std::isdigit(static_cast<unsigned char>(name[i]))
                                    : std::isalnum(static_cast<unsigned char>(name[i]))))
            return false;
    return true;
}

void Folder::RemoveAbandonedTemporaries(const std::string& prefix)
{
    for (const DirEntry& entry : List()) {
        if (IsTemporaryName(entry.Name, prefix) && IsAbandoned(entry.Name))
            Remove(entry.Name);
        else if (IsAsideName(entry.Name))
            SettleAside(fd_, entry.Name);
    }
}

bool Folder::IsAbandoned(const std::string& name) const { return IsAbandonedTemporary(fd_, name); }

} // namespace tarvok::platform
