#include "platform/MountTable.h"

#include "platform/Win32Files_win32.h"

#include <cctype>

namespace tarvok::platform {
namespace {

const char* DriveTypeName(UINT type)
{
    switch (type) {
    case DRIVE_REMOVABLE: return "removable";
    case DRIVE_FIXED: return "fixed";
    case DRIVE_REMOTE: return "remote";
    case DRIVE_CDROM: return "cdrom";
    case DRIVE_RAMDISK: return "ramdisk";
    default: return nullptr;
    }
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Drive letters and share names compare without regard to case, either
// separator counting.
bool IsUnder(const std::string& path, const std::string& root)
{
    if (path.size() < root.size())
        return false;
    for (size_t i = 0; i < root.size(); ++i) {
        const char a = path[i];
        const char b = root[i];
        if (IsSeparator(a) && IsSeparator(b))
            continue;
        if (std::tolower(static_cast<unsigned char>(a)) != std::tolower(static_cast<unsigned char>(b)))
            return false;
    }
    return path.size() == root.size() || IsSeparator(root.back()) || IsSeparator(path[root.size()]);
}

} // namespace

std::vector<MountPoint> MountedFileSystems()
{
    // The drive letters and their kinds come from the system's own table:
    // no drive, and no share that may not answer, is asked anything.
    std::vector<MountPoint> mounts;
    const DWORD letters = ::GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((letters & (DWORD{1} << i)) == 0)
            continue;
        const std::string device = std::string(1, static_cast<char>('A' + i)) + ":";
        const std::wstring root = std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L":\\";
        if (const char* type = DriveTypeName(::GetDriveTypeW(root.c_str())))
            mounts.push_back({device + "\\", device, type});
    }
    return mounts;
}

std::string MountRootOf(const std::vector<MountPoint>& mounts, const std::string& path)
{
    std::string best;
    for (const MountPoint& mount : mounts)
        if (IsUnder(path, mount.Root) && mount.Root.size() >= best.size())
            best = mount.Root;
    return best;
}

} // namespace tarvok::platform
