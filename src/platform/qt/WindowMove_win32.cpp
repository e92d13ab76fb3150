#include "platform/qt/WindowMove.h"

namespace tarvok::platform {

// Qt's startSystemMove() on Windows hands the drag to the system as a
// caption drag (SC_DRAGMOVE), which the system anchors at the press itself:
// nothing to do better here.
bool StartWindowMove(QWindow*, QPointF) { return false; }

void CancelWindowMove(QWindow*) {}

} // namespace tarvok::platform
