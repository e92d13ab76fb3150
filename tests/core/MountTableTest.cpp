// The mount table as the select-directory dialog lists it: only what the
// table says, kernel file systems left out, the deepest mount found for a path.
#include "platform/MountTable.h"

#include <gtest/gtest.h>

using namespace tarvok::platform;

TEST(MountTable, ListsUserFileSystemsFromTheTableAlone)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: the mount table; the drive letters are "
                    "WindowsSystemTest.DrivesAreTheLettersAndAPathFindsItsOwn";
#else
    const std::string table = "22 1 0:21 / /proc rw,nosuid - proc proc rw\n"
                              "23 1 0:22 / /sys rw - sysfs sysfs rw\n"
                              "1 0 8:1 / / rw,relatime - ext4 /dev/sda1 rw\n"
                              "30 1 0:25 / /dev/shm rw - tmpfs tmpfs rw\n"
                              "40 1 0:40 / /media/u/My\\040Stick rw shared:5 master:2 - vfat /dev/sdb1 rw\n"
                              "41 1 0:41 / /mnt/nas rw - fuse.sshfs u@nas:/ rw\n"
                              "42 1 0:42 / /mnt/nas rw - fuse.bindfs /srv rw\n"
                              "43 1 0:43 / /run/user/1000/gvfs rw - fuse.gvfsd-fuse gvfsd-fuse rw\n"
                              "44 1 0:44 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
                              "garbage line\n";
    const std::vector<MountPoint> mounts = ParseMountTable(table);
    std::vector<std::string> seen;
    for (const MountPoint& m : mounts)
        seen.push_back(m.Root + "|" + m.Device + "|" + m.Type);
    EXPECT_EQ(seen, (std::vector<std::string>{"/|/dev/sda1|ext4", "/media/u/My Stick|/dev/sdb1|vfat",
                                              "/mnt/nas|/srv|fuse.bindfs",
                                              "/run/user/1000/gvfs|gvfsd-fuse|fuse.gvfsd-fuse"}));

    const struct {
        const char* Path;
        const char* Root;
    } cases[] = {{"/home/u", "/"},
                 {"/media/u/My Stick/docs", "/media/u/My Stick"},
                 {"/media/u/My Sticky", "/"},
                 {"/mnt/nas", "/mnt/nas"}};
    for (const auto& c : cases)
        EXPECT_EQ(MountRootOf(mounts, c.Path), c.Root) << c.Path;
    EXPECT_FALSE(MountedFileSystems().empty()) << "this machine's own table reads";
#endif
}
