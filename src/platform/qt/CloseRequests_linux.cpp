#include "platform/qt/CloseRequests.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <cstdint>

namespace tarvok::platform {
namespace {

// An X Input 2 device event as xcb hands it over: the wire's first 32 bytes,
// the full sequence number xcb inserts, then the wire's next fields.
struct InputDeviceEvent {
    uint8_t responseType;
    uint8_t extension;
    uint16_t sequence;
    uint32_t length;
    uint16_t eventType;
    uint16_t device;
    uint32_t time;
    uint32_t detail; // the button
    uint32_t root;
    uint32_t window;
    uint32_t child;
    uint32_t fullSequence;
    int32_t rootX; // fixed point, 16.16
    int32_t rootY;
    int32_t windowX;
    int32_t windowY;
};
constexpr uint16_t InputButtonPress = 4;

} // namespace

CloseRequests::CloseRequests(Take take) : take_(std::move(take))
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return; // no X11: nothing to watch
    protocols_ = XInternAtom(x11->display(), "WM_PROTOCOLS", False);
    deleteWindow_ = XInternAtom(x11->display(), "WM_DELETE_WINDOW", False);
    int firstEvent = 0;
    int firstError = 0;
    if (!XQueryExtension(x11->display(), "XInputExtension", &inputOpcode_, &firstEvent, &firstError))
        inputOpcode_ = -1;
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
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_BUTTON_PRESS) {
        const auto* press = static_cast<const xcb_button_press_event_t*>(message);
        return press->detail == 1 && take_(press->event, QPoint(press->event_x, press->event_y));
    }
    if (type == XCB_GE_GENERIC) {
        const auto* input = static_cast<const InputDeviceEvent*>(message);
        return input->extension == inputOpcode_ && input->eventType == InputButtonPress && input->detail == 1 &&
               take_(input->window, QPoint(input->windowX >> 16, input->windowY >> 16));
    }
    if (type != XCB_CLIENT_MESSAGE)
        return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    if (client->format != 32 || client->type != protocols_ || client->data.data32[0] != deleteWindow_)
        return false;
    return take_(client->window, std::nullopt);
}

} // namespace tarvok::platform
