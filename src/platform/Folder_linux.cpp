#include "platform/Folder.h"

#include "platform/DriveCalls.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvok::platform {
namespace {

bool Usable(const std::string& path) { return !path.empty() && path.find('\0') == std::string::npos; }

// Failures read as those of a file to be made inside: a missing folder is
// then "Invalid filename", as the path of a missing directory.
int OpenDirectory(const std::string& path, int extraFlags)
{
    const int fd = Usable(path) ? ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | extraFlags) : -1;
    if (fd < 0)
        ThrowInOutError(Usable(path) ? errno : EINVAL, path + "/");
    return fd;
}

} // namespace

Folder Folder::Open(const std::string& path) { return Folder(OpenDirectory(path, 0), path); }

std::optional<EInOutError> Folder::MakePrivate(const std::string& path)
{
    if (!Usable(path))
        return EInOutError(3);
    if (::mkdir(path.c_str(), 0700) == 0)
        return std::nullopt;
    return InOutErrorFromErrno(errno, path);
}

Folder Folder::OpenPrivate(const std::string& path, const std::string& probePrefix)
{
    struct stat st {};
    if (Usable(path) && ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        throw EInOutError(5, "The folder " + path + " is a symbolic link");
    Folder folder(OpenDirectory(path, O_NOFOLLOW), path);
    if (::fstat(folder.fd_, &st) != 0)
        ThrowInOutError(errno, path);
    if (st.st_uid != ::geteuid() && st.st_uid != 0 && folder.OwnerOfNewFiles(probePrefix) != st.st_uid)
        throw EInOutError(5, "The folder " + path + " belongs to another user");
    return folder;
}

Folder::Folder(Folder&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_))
{
    other.fd_ = -1;
}

Folder::~Folder()
{
    if (fd_ >= 0)
        ::close(fd_);
}

RawFile Folder::CreateTemporary(const std::string& prefix)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::minstd_rand random(std::random_device{}());
    for (;;) {
        std::string name = prefix + std::to_string(::getpid()) + "-";
        for (int i = 0; i < 6; ++i)
            name += letters[random() % (sizeof letters - 1)];
        const int fd = ::openat(fd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0)
            return RawFile(fd, path_ + "/" + name);
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

void Folder::Replace(const std::string& from, const std::string& to)
{
    if (!Usable(to) || to.find('/') != std::string::npos)
        ThrowInOutError(EINVAL, path_ + "/" + to);
    const int error = RenameOver(fd_, from, to);
    if (error == 0)
        return;
    // FAT refuses names such as "what?.txt" with EINVAL, FAT through FUSE
    // with EPERM, exFAT through FUSE with ENOENT: the file to rename is there,
    // its new name is free, and the folder let us make the file.
    struct stat st {};
    const bool nameRefused =
        error == EINVAL || error == EILSEQ || error == ENAMETOOLONG ||
        ((error == ENOENT || error == EPERM || error == EACCES) &&
         ::fstatat(fd_, from.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
         ::fstatat(fd_, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0);
    if (nameRefused)
        throw EInOutError(3, "The drive cannot store this file name");
    ThrowInOutError(error, path_ + "/" + to);
}

void Folder::RemoveOthersTemporaries(const std::string& prefix)
{
    const std::string mine = prefix + std::to_string(::getpid()) + "-";
    for (const DirEntry& entry : ListDirectory(path_)) {
        if (entry.Name.rfind(prefix, 0) == 0 && entry.Name.rfind(mine, 0) != 0)
            Remove(entry.Name);
        else if (IsAsideName(entry.Name))
            SettleAside(fd_, entry.Name);
    }
}

bool Folder::Remove(const std::string& name) { return ::unlinkat(fd_, name.c_str(), 0) == 0; }

void Folder::Flush()
{
    if (::syncfs(fd_) != 0)
        ThrowInOutError(errno, path_);
}

} // namespace tarvok::platform
