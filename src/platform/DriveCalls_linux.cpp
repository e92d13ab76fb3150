#include "platform/DriveCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvok::platform {
namespace {

constexpr char AsideSuffix[] = ".tarvok-aside";

int SystemChangeMode(int fd, unsigned mode) { return ::fchmod(fd, static_cast<mode_t>(mode)); }

int SystemRename(int fromDir, const char* from, int toDir, const char* to, unsigned flags)
{
    return ::renameat2(fromDir, from, toDir, to, flags);
}

int Rename(int dir, const std::string& from, const std::string& to, unsigned flags)
{
    return Drive().Rename(dir, from.c_str(), dir, to.c_str(), flags) == 0 ? 0 : errno;
}

bool Exists(int dir, const std::string& name)
{
    struct stat st {};
    return ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

// How drives without it answer RENAME_NOREPLACE.
bool NoReplaceMissing(int error) { return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP; }

// How drives answer a rename over an existing file that they do not allow
// (an SFTP server without posix-rename says EPERM).
bool RenameOverRefused(int error)
{
    return error == EPERM || error == EACCES || error == EEXIST || error == ENOTEMPTY || error == EBUSY ||
           error == ENOSYS || error == EOPNOTSUPP;
}

} // namespace

DriveCalls& Drive()
{
    static DriveCalls calls{SystemChangeMode, SystemRename};
    return calls;
}

bool ModeRefusedByDrive(int error) { return error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP || error == EPERM; }

std::string AsideName(const std::string& path)
{
    const size_t name = path.rfind('/') + 1;
    return path.substr(0, name) + "." + path.substr(name) + AsideSuffix;
}

bool IsAsideName(const std::string& name)
{
    const size_t suffix = sizeof AsideSuffix - 1;
    return name.size() > suffix + 1 && name[0] == '.' && name.compare(name.size() - suffix, suffix, AsideSuffix) == 0;
}

void SettleAside(int dir, const std::string& aside)
{
    const size_t name = aside.rfind('/') + 1;
    const std::string own =
        aside.substr(0, name) + aside.substr(name + 1, aside.size() - name - 1 - (sizeof AsideSuffix - 1));
    if (Exists(dir, own))
        ::unlinkat(dir, aside.c_str(), 0);
    else
        Rename(dir, aside, own, 0);
}

int RenameOver(int dir, const std::string& from, const std::string& to)
{
    const int error = Rename(dir, from, to, 0);
    if (error == 0 || !RenameOverRefused(error) || !Exists(dir, to))
        return error;
    const std::string aside = AsideName(to);
    // One left from a kill while `to` is there is an older file still.
    ::unlinkat(dir, aside.c_str(), 0);
    if (Rename(dir, to, aside, 0) != 0)
        return error;
    const int in = Rename(dir, from, to, 0);
    if (in != 0) {
        Rename(dir, aside, to, 0);
        return in;
    }
    ::unlinkat(dir, aside.c_str(), 0);
    return 0;
}

int RenameNoReplace(int dir, const std::string& from, const std::string& to)
{
    const int error = Rename(dir, from, to, RENAME_NOREPLACE);
    if (error == 0 || !NoReplaceMissing(error))
        return error;
    const int claim = ::openat(dir, to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (claim < 0)
        return errno;
    ::close(claim);
    const int over = Rename(dir, from, to, 0);
    if (over == 0)
        return 0;
    ::unlinkat(dir, to.c_str(), 0);
    // A drive that never renames over a file cannot replace one either.
    return RenameOverRefused(over) ? Rename(dir, from, to, 0) : over;
}

} // namespace tarvok::platform
