#include "platform/qt/SkipTaskbar.h"

#include <QGuiApplication>
#include <QWindow>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

namespace tarvok::platform {

void MarkSkipTaskbar(QWindow* window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!window || !x11 || !x11->display())
        return;
    Display* display = x11->display();
    const ::Window id = window->winId();
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);

    // The window's own states stay; Qt adds its own to this list on show.
    std::vector<Atom> atoms;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long rest = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, id, state, 0, 1024, False, XA_ATOM, &type, &format, &count, &rest, &data) ==
            Success &&
        data) {
        if (type == XA_ATOM && format == 32)
            atoms.assign(reinterpret_cast<Atom*>(data), reinterpret_cast<Atom*>(data) + count);
        XFree(data);
    }
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const Atom wanted = XInternAtom(display, name, False);
        if (std::find(atoms.begin(), atoms.end(), wanted) == atoms.end())
            atoms.push_back(wanted);
    }
    XChangeProperty(display, id, state, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(atoms.data()),
                    int(atoms.size()));
    XFlush(display);
}

} // namespace tarvok::platform
