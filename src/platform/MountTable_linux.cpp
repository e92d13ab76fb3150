#include "platform/MountTable.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace tarvok::platform {
namespace {

bool IsPseudoType(const std::string& type)
{
    static const char* const pseudo[] = {"autofs",   "binfmt_misc", "bpf",        "cgroup",   "cgroup2",
                                         "configfs", "debugfs",     "devpts",     "devtmpfs", "efivarfs",
                                         "fusectl",  "hugetlbfs",   "mqueue",     "nsfs",     "proc",
                                         "pstore",   "rpc_pipefs",  "securityfs", "sysfs",    "tracefs"};
    return std::find(std::begin(pseudo), std::end(pseudo), type) != std::end(pseudo);
}

bool IsUnder(const std::string& path, const std::string& root)
{
    if (root == "/")
        return !path.empty() && path[0] == '/';
    return path.compare(0, root.size(), root) == 0 && (path.size() == root.size() || path[root.size()] == '/');
}

bool IsKernelPlace(const std::string& root)
{
    return IsUnder(root, "/proc") || IsUnder(root, "/sys") || IsUnder(root, "/dev");
}

// The table writes space, tab, newline and backslash as \ and three octal digits.
std::string Unescape(const std::string& field)
{
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        const bool octal = i + 3 < field.size() && std::all_of(field.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                                               field.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                                                               [](char c) { return c >= '0' && c <= '7'; });
        if (field[i] == '\\' && octal) {
            text += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

} // namespace

std::vector<MountPoint> ParseMountTable(const std::string& mountinfo)
{
    std::vector<MountPoint> mounts;
    std::istringstream lines(mountinfo);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::vector<std::string> before;
        std::string field;
        while (fields >> field && field != "-")
            before.push_back(field);
        MountPoint mount;
        if (before.size() < 5 || !(fields >> mount.Type >> mount.Device))
            continue;
        mount.Root = Unescape(before[4]);
        mount.Device = Unescape(mount.Device);
        if (IsPseudoType(mount.Type) || IsKernelPlace(mount.Root))
            continue;
        // A later mount on the same place hides the earlier one.
        std::erase_if(mounts, [&](const MountPoint& m) { return m.Root == mount.Root; });
        mounts.push_back(std::move(mount));
    }
    return mounts;
}

std::vector<MountPoint> MountedFileSystems()
{
    std::ifstream table("/proc/self/mountinfo");
    return ParseMountTable(std::string(std::istreambuf_iterator<char>(table), std::istreambuf_iterator<char>()));
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
