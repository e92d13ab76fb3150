#include "platform/qt/Compositing.h"

#include <QGuiApplication>
#include <QWindow>

#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

#include <string>
#include <vector>

namespace tarvok::platform {
namespace {

Display* XDisplay()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

} // namespace

bool CompositingManagerRuns()
{
    Display* display = XDisplay();
    if (!display)
        return false;
    const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display));
    return XGetSelectionOwner(display, XInternAtom(display, name.c_str(), False)) != None;
}

void SetInputShape(QWindow* window, const QRegion& region)
{
    Display* display = XDisplay();
    int event = 0, error = 0;
    if (!display || !window || !window->handle() || !XShapeQueryExtension(display, &event, &error))
        return;
    std::vector<XRectangle> rects;
    for (const QRect& r : region)
        rects.push_back({short(r.x()), short(r.y()), static_cast<unsigned short>(r.width()),
                         static_cast<unsigned short>(r.height())});
    XShapeCombineRectangles(display, window->winId(), ShapeInput, 0, 0, rects.data(), int(rects.size()), ShapeSet,
                            Unsorted);
    XFlush(display);
}

} // namespace tarvok::platform
