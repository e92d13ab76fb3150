#pragma once
#include <string>
#include <vector>

namespace tarvok::platform {

struct MountPoint {
    std::string Root;   // where it is mounted
    std::string Device; // what is mounted there, as the table names it
    std::string Type;   // file system type
};

// The mounted file systems a user may keep files on, read from the mount
// table alone: nothing is asked of the file systems themselves, so a network
// or FUSE mount that does not answer holds nobody up. Kernel and other
// pseudo file systems are left out; a mount point mounted over shows once.
std::vector<MountPoint> MountedFileSystems();
// The same from the text of a mountinfo table.
std::vector<MountPoint> ParseMountTable(const std::string& mountinfo);
// The deepest of `mounts` that holds the clean absolute `path`; empty when
// none does.
std::string MountRootOf(const std::vector<MountPoint>& mounts, const std::string& path);

} // namespace tarvok::platform
