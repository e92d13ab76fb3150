#pragma once

class QWindow;

namespace tarvok::platform {

// Asks the window manager to leave the window out of the taskbar and the
// pager (_NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_SKIP_PAGER). Call it
// before each map: some window managers drop the state on unmap. Does
// nothing outside X11.
void MarkSkipTaskbar(QWindow* window);

} // namespace tarvok::platform
