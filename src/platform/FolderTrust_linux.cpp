#include "platform/FileSystem.h"
#include "platform/Folder.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvok::platform {

Folder::Whose Folder::WhoseEntry(const std::string& name, const std::string& probePrefix)
{
    CheckName(name);
    struct stat st {};
    if (::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return Whose::Missing;
    const bool own = st.st_uid == ::geteuid() || st.st_uid == 0 || OwnerOfNewFiles(probePrefix) == st.st_uid;
    if (!own)
        return Whose::Other;
    return S_ISLNK(st.st_mode) ? Whose::OwnLink : Whose::User;
}

std::optional<RawFile> Folder::OpenOwnSource(const std::string& name, const std::string& probePrefix)
{
    CheckName(name);
    const int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENXIO || errno == ELOOP)
            return std::nullopt;
        ThrowInOutError(errno, path_ + "/" + name);
    }
    RawFile file(fd, path_ + "/" + name);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    if (st.st_uid != ::geteuid() && st.st_uid != 0 && OwnerOfNewFiles(probePrefix) != st.st_uid)
        return std::nullopt;
    file.size_ = static_cast<uint64_t>(st.st_size);
    file.mode_ = st.st_mode & 07777;
    return file;
}

bool Folder::BelongsToAnotherUser(const std::string& start, const std::string& probePrefix)
{
    std::string path = start;
    for (int hops = 0; hops < 40 && UsablePath(path); ++hops) {
        const auto slash = path.rfind('/');
        const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
        const std::string name = path.substr(slash + 1);
        const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return false; // nothing there to read either
        Folder folder(fd, dir);
        switch (folder.WhoseEntry(name, probePrefix)) {
        case Folder::Whose::Other: return true;
        case Folder::Whose::User:
        case Folder::Whose::Missing: return false;
        case Folder::Whose::OwnLink: break;
        }
        char buffer[PATH_MAX];
        const ssize_t n = ::readlinkat(folder.fd_, name.c_str(), buffer, sizeof buffer - 1);
        if (n <= 0)
            return false;
        const std::string target(buffer, static_cast<size_t>(n));
        path = target[0] == '/' ? target : std::string(dir).append("/").append(target);
    }
    return false;
}

} // namespace tarvok::platform
