#include "platform/Folder.h"

#include "base/VisibleText.h"
#include "platform/DriveCalls.h"
#include "platform/FileSystem.h"

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvok::platform {
namespace {

// Failures read as those of a file to be made inside: a missing folder is
// then "Invalid filename", as the path of a missing directory.
int OpenDirectory(const std::string& path, int extraFlags)
{
    const int fd = UsablePath(path) ? ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | extraFlags) : -1;
    if (fd < 0)
        ThrowInOutError(UsablePath(path) ? errno : EINVAL, path + "/");
    return fd;
}

} // namespace

Folder Folder::Open(const std::string& path) { return Folder(OpenDirectory(path, 0), path); }

std::optional<EInOutError> Folder::MakePrivate(const std::string& path)
{
    if (!UsablePath(path))
        return EInOutError(3);
    if (::mkdir(path.c_str(), 0700) == 0)
        return std::nullopt;
    if (errno == EEXIST)
        return EInOutError(5, "Something that is not a folder has its name");
    return InOutErrorFromErrno(errno, path);
}

Folder Folder::OpenPrivate(const std::string& path, const std::string& probePrefix)
{
    struct stat st {};
    if (UsablePath(path) && ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        throw EInOutError(5, "The folder " + VisibleName(path) + " is a symbolic link");
    Folder folder(OpenDirectory(path, O_NOFOLLOW), path);
    st = folder.OwnStatus(probePrefix);
    // Failure is no error: a drive without modes refuses the change.
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        Drive().ChangeMode(folder.fd_, st.st_mode & 07777 & ~(S_IWGRP | S_IWOTH));
    return folder;
}

struct stat Folder::OwnStatus(const std::string& probePrefix)
{
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        ThrowInOutError(errno, path_);
    if (st.st_uid != ::geteuid() && st.st_uid != 0 && OwnerOfNewFiles(probePrefix) != st.st_uid)
        throw EInOutError(5, "The folder " + VisibleName(path_) + " belongs to another user");
    return st;
}

Folder Folder::OpenOwnFolder(const std::string& name, const std::string& probePrefix) const
{
    const std::string path = path_ + "/" + name;
    if (!UsablePath(name) || name.find('/') != std::string::npos)
        ThrowInOutError(EINVAL, path);
    const int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat st {};
        if (::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
            throw EInOutError(5, "The folder " + VisibleName(path) + " is a symbolic link");
        ThrowInOutError(error, path);
    }
    Folder folder(fd, path);
    folder.OwnStatus(probePrefix);
    return folder;
}

Folder::~Folder()
{
    if (fd_ >= 0)
        ::close(fd_);
}

RawFile Folder::CreateTemporary(const std::string& prefix)
{
    for (;;) {
        const std::string name = NewTemporaryName(prefix, ::getpid());
        // Read and write: a network drive locks only what it may read.
        const int fd = ::openat(fd_, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            RawFile file(fd, path_ + "/" + name);
            file.lock_ = HoldTemporary(fd);
            return file;
        }
        if (errno != EEXIST)
            ThrowInOutError(errno, path_ + "/" + name);
    }
}

unsigned Folder::OwnerOfNewFiles(const std::string& probePrefix)
{
    struct stat st {};
    try {
        RawFile probe = CreateTemporary(probePrefix);
        const std::string name = probe.Path().substr(path_.size() + 1);
        const bool seen = ::fstat(probe.fd_, &st) == 0;
        Remove(name);
        return seen ? st.st_uid : ::geteuid();
    } catch (const EInOutError&) {
        return ::geteuid(); // nothing can be made there: the folder is not ours
    }
}

void Folder::CheckName(const std::string& name) const
{
    if (!UsablePath(name) || name.find('/') != std::string::npos)
        ThrowInOutError(EINVAL, path_ + "/" + name);
}

void Folder::Replace(const std::string& from, const std::string& to)
{
    CheckName(to);
    if (const int error = RenameOver(fd_, from, to); error != 0)
        ThrowRenameError(error, to);
}

void Folder::ThrowRenameError(int error, const std::string& to) const
{
    // FAT refuses names such as "what?.txt" with EINVAL, FAT through FUSE
    // with EPERM (and loses the file it was to rename), exFAT through FUSE
    // with ENOENT: the new name is free, and the folder let us make the file.
    struct stat st {};
    const bool nameRefused = error == EINVAL || error == EILSEQ || error == ENAMETOOLONG ||
                             ((error == ENOENT || error == EPERM || error == EACCES) &&
                              ::fstatat(fd_, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0);
    if (nameRefused)
        throw EInOutError(3, "The drive cannot store this file name");
    ThrowInOutError(error, path_ + "/" + to);
}

bool Folder::ReplaceKeepingOld(const std::string& from, const std::string& to, const std::string& keep)
{
    CheckName(to);
    // Tried again when what was at `to` changed under us (another user's
    // file in a shared folder coming or going).
    for (int tries = 0;; ++tries) {
        struct stat st {};
        const bool occupied = ::fstatat(fd_, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
        KeepResult result;
        if (!occupied)
            result.Error = RenameNoReplace(fd_, from, to);
        else if (S_ISDIR(st.st_mode))
            result.Error = EISDIR;
        else
            result = platform::ReplaceKeepingOld(fd_, from, to, keep);
        if (result.Error == 0)
            return true;
        const bool changed = occupied ? result.Error == ENOENT : result.Error == EEXIST;
        if (changed && tries < 3)
            continue;
        if (result.KeepFailed)
            return false;
        ThrowRenameError(result.Error, to);
    }
}

bool Folder::HoldsFile(const std::string& name, const RawFile& file) const
{
    struct stat there {
    }, open{};
    return ::fstatat(fd_, name.c_str(), &there, 0) == 0 && ::fstat(file.fd_, &open) == 0 &&
           there.st_dev == open.st_dev && there.st_ino == open.st_ino;
}

bool Folder::Remove(const std::string& name) { return ::unlinkat(fd_, name.c_str(), 0) == 0; }

bool Folder::IsReadOnly(const std::string& name) const
{
    struct stat st {};
    return ::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISLNK(st.st_mode) &&
           (st.st_mode & S_IWUSR) == 0;
}

void Folder::RemoveOrThrow(const std::string& name)
{
    if (::unlinkat(fd_, name.c_str(), 0) != 0 && errno != ENOENT)
        ThrowInOutError(errno, path_ + "/" + name);
}

void Folder::RemoveFolderOrThrow(const std::string& name, const Folder& opened)
{
    const std::string path = path_ + "/" + name;
    struct stat there {};
    struct stat held {};
    if (::fstatat(fd_, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return;
        ThrowInOutError(errno, path);
    }
    if (::fstat(opened.fd_, &held) != 0 || there.st_dev != held.st_dev || there.st_ino != held.st_ino)
        throw EInOutError(5, "The folder " + VisibleName(path) + " was replaced while it was deleted");
    if (::unlinkat(fd_, name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT)
        ThrowInOutError(errno, path);
}

void Folder::Flush(const std::vector<std::string>& names)
{
    // A drive that cannot flush says EINVAL; a file gone meanwhile has nothing to flush.
    auto flush = [this](int fd, const std::string& name) {
        if (::fdatasync(fd) != 0 && errno != EINVAL)
            ThrowInOutError(errno, path_ + "/" + name);
    };
    for (const std::string& name : names) {
        const int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        try {
            flush(fd, name);
        } catch (...) {
            ::close(fd);
            throw;
        }
        ::close(fd);
    }
    if (::fsync(fd_) != 0 && errno != EINVAL)
        ThrowInOutError(errno, path_);
}

} // namespace tarvok::platform
