#include "platform/Folder.h"

#include "platform/DriveCalls.h"
#include "platform/FileSystem.h"

#include <cctype>
#include <random>
#include <utility>

namespace tarvok::platform {

std::string Folder::NewTemporaryName(const std::string& prefix, unsigned long processId)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::minstd_rand random(std::random_device{}());
    std::string name = prefix + std::to_string(processId) + "-";
    for (int i = 0; i < 6; ++i)
        name += letters[random() % (sizeof letters - 1)];
    return name;
}

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

std::vector<DirEntry> Folder::List() const { return ListDirectoryAt(fd_); }

Folder::Folder(Folder&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) { other.fd_ = -1; }

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
