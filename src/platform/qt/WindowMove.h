#pragma once
#include <QPointF>

class QWindow;

namespace tarvok::platform {

// Hands the move of a window to the window manager (_NET_WM_MOVERESIZE),
// anchored at the press that starts it, `pressAt` in window coordinates.
// Qt's startSystemMove() anchors at the last pointer event Qt has read: on a
// busy machine that can be a move after the press, and the window then
// trails the pointer by that distance for the whole drag. Returns false
// outside X11 and when no window manager that moves windows this way runs;
// on Windows always, where Qt's own move is the system's caption drag.
bool StartWindowMove(QWindow* window, QPointF pressAt);

// Withdraws a move handed over by StartWindowMove. For a button that came up
// before the window manager took the pointer: the move it starts late would
// otherwise follow the pointer until the next click.
void CancelWindowMove(QWindow* window);

} // namespace tarvok::platform
