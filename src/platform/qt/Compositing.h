#pragma once
#include <QRegion>

class QWindow;

namespace tarvok::platform {

// True when a compositing manager runs on the X11 screen (it owns the
// _NET_WM_CM_S<screen> selection); false without one and outside X11.
bool CompositingManagerRuns();

// Gives the window's pointer input to `region` (device pixels) only, with
// the X input shape; what the window draws is left to it. Does nothing
// outside X11 or before the window exists.
void SetInputShape(QWindow* window, const QRegion& region);

} // namespace tarvok::platform
