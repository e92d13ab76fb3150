#include "platform/qt/SingleInstance.h"

#include "platform/FileSystem.h"

#include <QLockFile>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace tarvok::platform {
namespace {

// A real directory (no link) of ours that nobody else may enter.
bool IsPrivateDirectory(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

// $XDG_CACHE_HOME, else ~/.cache.
std::string CacheDirectory()
{
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && cache[0] == '/')
        return cache;
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.cache";
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir && user->pw_dir[0] == '/' ? std::string(user->pw_dir) + "/.cache" : std::string();
}

// A private folder inside the user's own cache folder. Nobody else may
// write the cache folder, or they could put their own folder in our place.
std::string OwnRuntimeDirectory()
{
    const std::string cache = CacheDirectory();
    if (cache.empty())
        return {};
    CreateDirWithParents(cache);
    struct stat st {};
    if (::stat(cache.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
        (st.st_mode & S_IWOTH) != 0)
        return {};
    std::string path = cache + "/Tarvok";
    ::mkdir(path.c_str(), 0700);
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return {};
    if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0)
        return {};
    return path;
}

// $TMPDIR when it is absolute, else /tmp.
std::string TemporaryDirectory()
{
    const char* tmp = std::getenv("TMPDIR");
    return tmp && tmp[0] == '/' ? std::string(tmp) : std::string("/tmp");
}

// For a user without a runtime folder and without a writable home (a kiosk
// account, a read-only home): "tarvok-<uid>" in the temporary folder. Anyone
// may take that name first, so it is used only when it is a real directory
// (no link) of ours that nobody else may enter, in a folder where nobody
// else may move it away: one of root's or ours, sticky where others may
// write it. Our own folder opened to others is refused too, since anything
// may have been put into it meanwhile.
std::string TemporaryRuntimeDirectory(std::string& refusal)
{
    const std::string parent = TemporaryDirectory();
    std::string path = parent + "/tarvok-" + std::to_string(::geteuid());
    struct stat st {};
    if (::stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || (st.st_uid != 0 && st.st_uid != ::geteuid()) ||
        ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0)) {
        refusal = parent + " is no folder where a private folder of ours is safe";
        return {};
    }
    // Made 0700 whatever the umask; a folder already there keeps its mode
    // and is judged by it.
    if (::mkdir(path.c_str(), 0700) == 0)
        ::chmod(path.c_str(), 0700);
    if (!IsPrivateDirectory(path)) {
        refusal = path + " is not a private folder of this user";
        return {};
    }
    return path;
}

// Connects to the socket at `path`; -1 when nobody listens there.
int ConnectTo(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return -1;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

struct InstanceLock::Held {
    int directoryFd = -1;
};

std::string RuntimeDirectory(std::string* refusal)
{
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && xdg[0] == '/' && IsPrivateDirectory(xdg))
        return xdg;
    if (std::string own = OwnRuntimeDirectory(); !own.empty())
        return own;
    std::string why;
    std::string temporary = TemporaryRuntimeDirectory(why);
    if (refusal)
        *refusal = why;
    return temporary;
}

InstanceLock::InstanceLock(const std::string& directory, const std::string& name)
{
    if (directory.empty())
        return;
    lockPath_ = directory + "/" + name + ".lock";
    socketPath_ = directory + "/" + name;
    // A socket name has room for 107 bytes. A longer path reaches the same
    // private folder through a descriptor held open for our whole life.
    if (socketPath_.size() >= sizeof(sockaddr_un::sun_path)) {
        held_ = std::make_unique<Held>();
        held_->directoryFd = ::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        socketPath_ =
            held_->directoryFd < 0 ? std::string() : "/proc/self/fd/" + std::to_string(held_->directoryFd) + "/" + name;
    }
    lock_ = std::make_unique<QLockFile>(QString::fromLocal8Bit(lockPath_));
    // Only a dead owner makes a lock stale, never its age.
    lock_->setStaleLockTime(0);
}

InstanceLock::~InstanceLock()
{
    if (held_ && held_->directoryFd >= 0)
        ::close(held_->directoryFd);
}

bool InstanceLock::NamesLiveProcess() const
{
    qint64 pid = 0;
    QString host;
    QString app;
    if (!lock_->getLockInfo(&pid, &host, &app) || pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool InstanceLock::CopyAnswers() const
{
    const int fd = ConnectTo(socketPath_);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool InstanceLock::WakeRunningCopy(std::chrono::milliseconds patience) const
{
    // A copy that has just started listens a moment after taking the lock.
    const auto deadline = std::chrono::steady_clock::now() + patience;
    int fd = ConnectTo(socketPath_);
    while (fd < 0 && !socketPath_.empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        fd = ConnectTo(socketPath_);
    }
    if (fd < 0)
        return false;
    static const char wake[] = "wake\n";
    const bool sent = ::send(fd, wake, sizeof wake - 1, MSG_NOSIGNAL) == ssize_t(sizeof wake - 1);
    ::close(fd);
    return sent;
}

} // namespace tarvok::platform
