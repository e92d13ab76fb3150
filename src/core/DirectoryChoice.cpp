#include "core/DirectoryChoice.h"

#include "core/FileUtility.h"
#include "platform/FileSystem.h"

namespace tarvok {

std::string StartDirectory(const std::string& start) { return start.empty() ? platform::CurrentDirectory() : start; }

std::string NearestExistingDirectory(std::string path)
{
    while (!path.empty() && !platform::DirectoryExists(path)) {
        const std::string parent = DirectoryPart(path);
        if (parent == path)
            break;
        path = parent;
    }
    return platform::DirectoryExists(path) ? path : platform::CurrentDirectory();
}

FoundAt InspectTypedName(const std::string& path)
{
    if (platform::DirectoryExists(path))
        return FoundAt::Directory;
    return platform::FileExists(path) ? FoundAt::File : FoundAt::Nothing;
}

bool CreateTypedDirectory(const std::string& path) { return platform::CreateDirWithParents(path); }

std::vector<MountPoint> FileSystemsToOffer() { return platform::MountedFileSystems(); }

std::string FileSystemOf(const std::vector<MountPoint>& mounts, const std::string& path)
{
    return platform::MountRootOf(mounts, path);
}

} // namespace tarvok
