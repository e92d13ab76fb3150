#include "platform/Folder.h"

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

bool Folder::CreatePrivate(const std::string& path) { return Usable(path) && ::mkdir(path.c_str(), 0700) == 0; }

Folder Folder::OpenPrivate(const std::string& path)
{
    struct stat st {};
    if (Usable(path) && ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        throw EInOutError(5, "The folder " + path + " is a symbolic link");
    Folder folder(OpenDirectory(path, O_NOFOLLOW), path);
    if (::fstat(folder.fd_, &st) != 0)
        ThrowInOutError(errno, path);
    if (st.st_uid != ::geteuid() && st.st_uid != 0)
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

void Folder::Replace(const std::string& from, const std::string& to)
{
    if (!Usable(to) || to.find('/') != std::string::npos)
        ThrowInOutError(EINVAL, path_ + "/" + to);
    if (::renameat(fd_, from.c_str(), fd_, to.c_str()) != 0)
        ThrowInOutError(errno, path_ + "/" + to);
}

void Folder::RemoveOthersTemporaries(const std::string& prefix)
{
    const std::string mine = prefix + std::to_string(::getpid()) + "-";
    for (const DirEntry& entry : ListDirectory(path_))
        if (entry.Name.rfind(prefix, 0) == 0 && entry.Name.rfind(mine, 0) != 0)
            Remove(entry.Name);
}

bool Folder::Remove(const std::string& name) { return ::unlinkat(fd_, name.c_str(), 0) == 0; }

void Folder::Flush()
{
    if (::syncfs(fd_) != 0)
        ThrowInOutError(errno, path_);
}

} // namespace tarvok::platform
