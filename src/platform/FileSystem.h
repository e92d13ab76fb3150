#pragma once
#include "base/InOutError.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// File services of the operating system. Failures of reading and writing
// throw tarvok::EInOutError; the yes/no services answer with a bool, because
// their callers decide whether a failure matters.
namespace tarvok::platform {

// Attribute bits of a directory entry, as the program has always known them.
enum FileAttr : uint32_t {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeID = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
    faSymLink = 0x400,
};

struct DirEntry {
    std::string Name;
    uint32_t Attr = 0;
};

// Gives memory the program freed back to the system (after a large list is
// let go, say), where the allocator keeps it otherwise.
void ReleaseFreedMemory();

// A path holding a NUL byte cannot name anything; the C calls would see a
// shorter, different path.
inline bool UsablePath(const std::string& path) { return !path.empty() && path.find('\0') == std::string::npos; }

// An entry that is neither a directory nor a volume label: a file.
inline bool IsFileEntry(const DirEntry& entry) { return (entry.Attr & (faDirectory | faVolumeID)) == 0; }

bool FileExists(const std::string& path); // a plain file; a directory is not a file
bool DirectoryExists(const std::string& path);
uint64_t FileSizeOf(const std::string& path); // 0 for anything but a plain file
bool IsReadOnly(const std::string& path);     // no owner write bit
// True when the drive of `dir` finds its entry `name` under the same name in
// other letter case too, as FAT, exFAT and Windows shares do.
bool FoldsCase(const std::string& dir, const std::string& name);
// Every entry of the directory except "." and "..", in the file system's order.
// A directory that cannot be read gives an empty list.
// `eachEntry`, where given, is called as each entry is read.
std::vector<DirEntry> ListDirectory(const std::string& dir, const std::function<void()>& eachEntry = {});
// The same for a directory held open as `dirFd`, which stays open.
std::vector<DirEntry> ListDirectoryAt(int dirFd);
bool CreateDir(const std::string& path); // one level
bool CreateDirWithParents(const std::string& path);
bool RemoveDir(const std::string& path); // only when empty
bool DeleteFile(const std::string& path);

// Whole-file text services used by the settings and project files.
// Larger files are refused as unreadable ("File access denied"): no file the
// program writes comes near this, and reading one whole must not exhaust memory.
inline constexpr uint64_t MaxWholeFileSize = uint64_t{64} << 20;
std::string ReadWholeFile(const std::string& path);
// The whole contents of the plain file at `path`, for files that others may
// swap (a shared folder): one descriptor, opened without following a link
// in the last part of the path and without blocking, so a link or a FIFO
// put there between a look and the read can neither redirect nor hang the
// program; its kind and size are checked on that descriptor. Nothing when
// no plain file of at most `maxSize` bytes is there or it cannot be read.
std::optional<std::string> ReadPlainFileNoFollow(const std::string& path, uint64_t maxSize);

// Replaces the file atomically: a temporary file in the same directory is
// written, flushed and renamed over the old one. A symbolic link of the
// user's own or root's that leads to a plain file is followed, so that file
// is replaced and the link stays; any other link (another user's, or one
// leading to a device, FIFO, folder or nothing) is refused with code 5 and
// nothing is written. A file the user may not write (read-only attribute, or
// no write access) is left alone and "File access denied" is raised. The new
// file gets the old one's permission bits where the drive can store them.
void ReplaceFileContents(const std::string& path, const std::string& contents);
// Removes the temporary files that a replace of `path` left when the program
// was killed during it, and puts the old file back should a kill have left it
// moved aside; only beside a file that a replace would write.
void RemoveReplaceLeftovers(const std::string& path);

// The full path the running executable was started from, resolved at the
// first call (made at start), and its directory without a trailing separator
// (the root keeps it).
std::string ExecutablePath();
std::string ExecutableDir();
std::string CurrentDirectory();

// Maps an errno value to the program's I/O error; `path` decides between
// "File not found" and "Invalid filename" for ENOENT. A read-only drive and a
// file too large for the drive keep their codes (5, 101) but say so.
EInOutError InOutErrorFromErrno(int error, const std::string& path);
[[noreturn]] void ThrowInOutError(int error, const std::string& path);

} // namespace tarvok::platform
