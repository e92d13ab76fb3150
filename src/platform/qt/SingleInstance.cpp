#include "platform/qt/SingleInstance.h"

#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

namespace tarvok::platform {

bool InstanceLock::AnotherCopyRuns()
{
    if (!lock_ || lock_->tryLock(0) || lock_->error() != QLockFile::LockFailedError)
        return false;
    if (NamesLiveProcess() || CopyAnswers())
        return true;
    // Left by a copy that is gone, or garbled: nobody answers, take it over.
    // A live holder keeps a lock on the file, which makes the removal fail.
    const QString lockPath = lock_->fileName();
    if (!lock_->removeStaleLockFile() && !QFileInfo(lockPath).isReadable())
        QFile::remove(lockPath);
    return !lock_->tryLock(0) && lock_->error() == QLockFile::LockFailedError;
}

bool InstanceLock::HoldsLock() const { return lock_ && lock_->isLocked(); }

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
        // Nobody needs more at once; a flood must not take the descriptors
        // the backups need.
        if (open_ >= MaxOpenConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++open_;
        connect(socket, &QObject::destroyed, this, [this] { --open_; });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            socket->readAll();
            socket->disconnectFromServer();
            emit WakeUpRequested();
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A connection that stays silent would hold a descriptor for good.
        QTimer::singleShot(IdleConnectionMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
    }
}

} // namespace tarvok::platform
