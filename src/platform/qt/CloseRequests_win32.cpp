#include "platform/qt/CloseRequests.h"

#include <QCoreApplication>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace tarvok::platform {

CloseRequests::CloseRequests(Take take) : take_(std::move(take))
{
    if (!QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installNativeEventFilter(this);
    installed_ = true;
}

CloseRequests::~CloseRequests()
{
    if (installed_)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CloseRequests::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result)
{
    if (eventType != "windows_generic_MSG")
        return false;
    const auto* msg = static_cast<const MSG*>(message);
    if (msg->message != WM_CLOSE || !take_(reinterpret_cast<WId>(msg->hwnd), std::nullopt))
        return false;
    if (result)
        *result = 0;
    return true;
}

} // namespace tarvok::platform
