#include "platform/qt/CloseRequests.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

namespace tarvok::platform {

CloseRequests::CloseRequests(std::function<bool(WId window)> take) : take_(std::move(take))
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return; // no X11: nothing to watch
    protocols_ = XInternAtom(x11->display(), "WM_PROTOCOLS", False);
    deleteWindow_ = XInternAtom(x11->display(), "WM_DELETE_WINDOW", False);
    QCoreApplication::instance()->installNativeEventFilter(this);
    installed_ = true;
}

CloseRequests::~CloseRequests()
{
    if (installed_)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CloseRequests::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    if (client->format != 32 || client->type != protocols_ || client->data.data32[0] != deleteWindow_)
        return false;
    return take_(client->window);
}

} // namespace tarvok::platform
