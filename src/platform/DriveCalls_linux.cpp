#include "platform/DriveCalls.h"

#include "platform/DriveSteps.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace tarvok::platform {
namespace {

int SystemChangeMode(int fd, unsigned mode) { return ::fchmod(fd, static_cast<mode_t>(mode)); }

int SystemRename(int fromDir, const char* from, int toDir, const char* to, unsigned flags)
{
    return ::renameat2(fromDir, from, toDir, to, flags);
}

int SystemLink(int fromDir, const char* from, int toDir, const char* to)
{
    return ::linkat(fromDir, from, toDir, to, 0);
}

// How drives without it answer RENAME_NOREPLACE or RENAME_EXCHANGE.
bool RenameFlagMissing(int error) { return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP; }

// How drives without hard links answer linkat (FAT says EPERM, FUSE and
// network drives EOPNOTSUPP or ENOSYS).
bool LinkMissing(int error) { return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK; }

bool SameEntry(int dir, const std::string& a, const std::string& b)
{
    struct stat x {
    }, y{};
    return ::fstatat(dir, a.c_str(), &x, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstatat(dir, b.c_str(), &y, AT_SYMLINK_NOFOLLOW) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

// Local drives, where a lock taken by any process of this machine is the
// only kind there is. On network and FUSE drives another machine's copy
// does not see our locks, nor we its.
bool LocksReachEveryWriter(int dir)
{
    struct statfs fs {};
    if (::fstatfs(dir, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53:     // ext2, ext3, ext4
    case 0x58465342: // xfs
    case 0x9123683E: // btrfs
    case 0x01021994: // tmpfs
    case 0x858458F6: // ramfs
    case 0xF2F52010: // f2fs
    case 0x4D44:     // FAT
    case 0x2011BAB0: // exFAT
    case 0x7366746E: // NTFS (ntfs3)
    case 0x2FC12FC1: // zfs
    case 0xCA451A4E: // bcachefs
    case 0x794C7630: // overlay
        return true;
    default: return false;
    }
}

} // namespace

namespace steps {

int Rename(int dir, const std::string& from, const std::string& to, unsigned flags)
{
    return Drive().Rename(dir, from.c_str(), dir, to.c_str(), flags) == 0 ? 0 : errno;
}

// Drives without RENAME_NOREPLACE refuse the flag: the file is moved as it is.
int RenameAside(int dir, const std::string& from, const std::string& to) { return Rename(dir, from, to, 0); }

bool Exists(int dir, const std::string& name)
{
    struct stat st {};
    return ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

void Unlink(int dir, const std::string& name) { ::unlinkat(dir, name.c_str(), 0); }

// How drives answer a rename over an existing file that they do not allow
// (an SFTP server without posix-rename says EPERM).
bool RenameOverRefused(int error)
{
    return error == EPERM || error == EACCES || error == EEXIST || error == ENOTEMPTY || error == EBUSY ||
           error == ENOSYS || error == EOPNOTSUPP;
}

} // namespace steps

using namespace steps;

DriveCalls& Drive()
{
    static DriveCalls calls{SystemChangeMode, SystemRename, SystemLink};
    return calls;
}

bool ModeRefusedByDrive(int error) { return error == ENOSYS || error == EOPNOTSUPP || error == EPERM; }

int RenameNoReplace(int dir, const std::string& from, const std::string& to)
{
    const int error = Rename(dir, from, to, RENAME_NOREPLACE);
    if (error == 0 || !RenameFlagMissing(error))
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

KeepResult ReplaceKeepingOld(int dir, const std::string& from, const std::string& to, const std::string& keep)
{
    if (Drive().Link(dir, to.c_str(), dir, keep.c_str()) == 0) {
        const int error = RenameOver(dir, from, to);
        if (error != 0 && SameEntry(dir, to, keep))
            ::unlinkat(dir, keep.c_str(), 0);
        return {error, false};
    }
    if (const int error = errno; !LinkMissing(error))
        return {error, true};
    if (Exists(dir, keep))
        return {EEXIST, true};
    const int exchange = Rename(dir, from, to, RENAME_EXCHANGE);
    if (exchange == 0) {
        // `from` names the old file now.
        const int kept = RenameNoReplace(dir, from, keep);
        if (kept != 0)
            Rename(dir, from, to, RENAME_EXCHANGE);
        return {kept, kept != 0};
    }
    if (!RenameFlagMissing(exchange))
        return {exchange, true};
    if (const int kept = RenameNoReplace(dir, to, keep); kept != 0)
        return {kept, true};
    const int in = RenameOver(dir, from, to);
    if (in != 0)
        RenameNoReplace(dir, keep, to);
    return {in, false};
}

int HoldTemporary(int fd)
{
    // A cleaner holds its test lock for a moment only; a drive whose lock
    // service hangs must not hang the copy.
    for (int tries = 0; ::flock(fd, LOCK_SH | LOCK_NB) != 0; ++tries) {
        if (errno != EWOULDBLOCK || tries == 100)
            return -1;
        const timespec pause{0, 1000000};
        ::nanosleep(&pause, nullptr);
    }
    return ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
}

bool IsAbandonedTemporary(int dir, const std::string& name)
{
    const int fd = ::openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool file = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    const bool unlocked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    const bool locksMissing = !unlocked && errno != EWOULDBLOCK;
    ::close(fd);
    if (!file || (!unlocked && !locksMissing))
        return false;
    const time_t age = std::time(nullptr) - st.st_mtime;
    // Where locks do not reach every writer, only a day without a write tells.
    if (locksMissing || !LocksReachEveryWriter(dir))
        return age > time_t{24} * 60 * 60;
    // Made a moment ago and not yet locked by its writer.
    return st.st_size > 0 || age > 60;
}

} // namespace tarvok::platform
