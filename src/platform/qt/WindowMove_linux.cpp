#include "platform/qt/WindowMove_linux.h"

#include <QGuiApplication>
#include <QWindow>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace tarvok::platform {
namespace {

// The directions _NET_WM_MOVERESIZE names.
constexpr long MoveDirection = 8;
constexpr long CancelDirection = 11;
// Source indication: a request from a normal application.
constexpr long FromApplication = 1;

Display* X11Display()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// The running window manager lists the hints it acts on in _NET_SUPPORTED.
bool ManagerMovesWindows(Display* display)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long rest = 0;
    unsigned char* data = nullptr;
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    if (XGetWindowProperty(display, DefaultRootWindow(display), supported, 0, 4096, False, XA_ATOM, &type, &format,
                           &count, &rest, &data) != Success ||
        !data)
        return false;
    const Atom moveResize = XInternAtom(display, "_NET_WM_MOVERESIZE", False);
    bool found = false;
    if (type == XA_ATOM && format == 32) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count && !found; ++i)
            found = atoms[i] == moveResize;
    }
    XFree(data);
    return found;
}

void SendMoveResize(Display* display, ::Window window, int rootX, int rootY, long direction)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_WM_MOVERESIZE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = rootX;
    event.xclient.data.l[1] = rootY;
    event.xclient.data.l[2] = direction;
    event.xclient.data.l[3] = direction == CancelDirection ? 0 : Button1;
    event.xclient.data.l[4] = FromApplication;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

} // namespace

bool StartWindowMove(Display* display, unsigned long window, QPoint pressAt)
{
    if (!ManagerMovesWindows(display))
        return false;
    // The window manager takes the pointer only once this program has let
    // go of the grab its press gave it.
    XUngrabPointer(display, CurrentTime);
    int rootX = 0;
    int rootY = 0;
    ::Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), pressAt.x(), pressAt.y(), &rootX, &rootY,
                          &child);
    SendMoveResize(display, window, rootX, rootY, MoveDirection);
    return true;
}

void CancelWindowMove(Display* display, unsigned long window)
{
    SendMoveResize(display, window, 0, 0, CancelDirection);
}

bool StartWindowMove(QWindow* window, QPointF pressAt)
{
    Display* display = X11Display();
    return window && display &&
           StartWindowMove(display, window->winId(), (pressAt * window->devicePixelRatio()).toPoint());
}

void CancelWindowMove(QWindow* window)
{
    if (Display* display = X11Display(); window && display)
        CancelWindowMove(display, window->winId());
}

} // namespace tarvok::platform
