#include "platform/qt/SingleInstance.h"

#include <QLocalSocket>
#include <QLockFile>

#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tarvok::platform {
namespace {

// A real directory (no link) of ours that nobody else may enter.
bool IsPrivateDirectory(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

std::string OwnRuntimeDirectory()
{
    const std::string path = "/tmp/tarvok-" + std::to_string(::getuid());
    ::mkdir(path.c_str(), 0700);
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return {};
    if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0)
        return {};
    return path;
}

} // namespace

std::string RuntimeDirectory()
{
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && xdg[0] == '/' && IsPrivateDirectory(xdg))
        return xdg;
    return OwnRuntimeDirectory();
}

InstanceLock::InstanceLock(const std::string& directory, const std::string& name)
{
    if (directory.empty())
        return;
    socketPath_ = directory + "/" + name;
    lock_ = std::make_unique<QLockFile>(QString::fromLocal8Bit(socketPath_ + ".lock"));
    // Only a dead owner makes a lock stale, never its age.
    lock_->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::AnotherCopyRuns()
{
    return lock_ && !lock_->tryLock(0) && lock_->error() == QLockFile::LockFailedError;
}

void InstanceLock::WakeRunningCopy() const
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (socketPath_.empty() || socketPath_.size() >= sizeof address.sun_path)
        return;
    std::memcpy(address.sun_path, socketPath_.c_str(), socketPath_.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        static const char wake[] = "wake\n";
        [[maybe_unused]] const ssize_t sent = ::send(fd, wake, sizeof wake - 1, MSG_NOSIGNAL);
    }
    ::close(fd);
}

WakeUpServer::WakeUpServer(std::string socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath))
{
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &WakeUpServer::Accept);
}

bool WakeUpServer::Listen()
{
    if (socketPath_.empty())
        return false;
    // We hold the lock, so a socket file left there belongs to a dead copy.
    const QString path = QString::fromLocal8Bit(socketPath_);
    QLocalServer::removeServer(path);
    return server_.listen(path);
}

void WakeUpServer::Accept()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            socket->readAll();
            socket->disconnectFromServer();
            emit WakeUpRequested();
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

} // namespace tarvok::platform
