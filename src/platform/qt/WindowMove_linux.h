#pragma once
#include "platform/qt/WindowMove.h"

#include <QPoint>

struct _XDisplay;

namespace tarvok::platform {

// StartWindowMove and CancelWindowMove for an X window of any connection;
// `pressAt` in its pixels.
bool StartWindowMove(_XDisplay* display, unsigned long window, QPoint pressAt);
void CancelWindowMove(_XDisplay* display, unsigned long window);

} // namespace tarvok::platform
