#include "platform/qt/TrayHost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QFile>

namespace tarvok::platform {

std::string TrayHostProgram()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    if (!daemon)
        return {};
    const QDBusReply<QString> owner = daemon->serviceOwner(QStringLiteral("org.kde.StatusNotifierWatcher"));
    if (!owner.isValid())
        return {};
    const QDBusReply<uint> pid = daemon->servicePid(owner.value());
    if (!pid.isValid())
        return {};
    QFile name(QStringLiteral("/proc/%1/comm").arg(pid.value()));
    if (!name.open(QIODevice::ReadOnly))
        return {};
    return name.readAll().trimmed().toStdString();
}

} // namespace tarvok::platform
