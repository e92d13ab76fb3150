#pragma once
#include <QPoint>
#include <QPointF>

class QWindow;
struct _XDisplay;

namespace tarvok::platform {

// Hands the move of a window to the window manager (_NET_WM_MOVERESIZE),
// anchored at the press that starts it, `pressAt` in window coordinates.
// Qt's startSystemMove() anchors at the last pointer event Qt has read: on a
// busy machine that can be a move after the press, and the window then
// trails the pointer by that distance for the whole drag. Returns false
// outside X11 and when no window manager that moves windows this way runs.
bool StartWindowMove(QWindow* window, QPointF pressAt);

// Withdraws a move handed over by StartWindowMove. For a button that came up
// before the window manager took the pointer: the move it starts late would
// otherwise follow the pointer until the next click.
void CancelWindowMove(QWindow* window);

// The same for an X window of any connection; `pressAt` in its pixels.
bool StartWindowMove(_XDisplay* display, unsigned long window, QPoint pressAt);
void CancelWindowMove(_XDisplay* display, unsigned long window);

} // namespace tarvok::platform
