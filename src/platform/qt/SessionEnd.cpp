#include "platform/qt/SessionEnd.h"

#include <QGuiApplication>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

namespace tarvok::platform {

void NeverRestartedBySession([[maybe_unused]] QGuiApplication& app)
{
#if QT_CONFIG(sessionmanager)
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                     [](QSessionManager& manager) { manager.setRestartHint(QSessionManager::RestartNever); });
    QObject::connect(&app, &QGuiApplication::saveStateRequest, &app,
                     [](QSessionManager& manager) { manager.setRestartHint(QSessionManager::RestartNever); });
#endif
}

} // namespace tarvok::platform
