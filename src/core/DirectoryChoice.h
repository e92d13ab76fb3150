#pragma once
#include "platform/MountTable.h"

#include <string>
#include <vector>

namespace tarvok {

// The rules of the select-directory dialog, apart from its widgets.

// Where the dialog starts: `start`, or the working directory when none is given.
std::string StartDirectory(const std::string& start);
// The deepest existing directory on the way to `path`, so a start that does
// not exist yet still opens the tree close to it.
std::string NearestExistingDirectory(std::string path);

// What stands at the typed name.
enum class FoundAt { Directory, File, Nothing };
FoundAt InspectTypedName(const std::string& path);
// Makes a missing directory with its parents; false when that fails.
bool CreateTypedDirectory(const std::string& path);

using MountPoint = platform::MountPoint;
// The mounted file systems to offer, from the mount table alone.
std::vector<MountPoint> FileSystemsToOffer();
// The root of the one of `mounts` that holds `path`.
std::string FileSystemOf(const std::vector<MountPoint>& mounts, const std::string& path);

} // namespace tarvok
