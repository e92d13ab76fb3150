#include "platform/qt/Compositing.h"

namespace tarvok::platform {

// Windows gives the region setMask sets (SetWindowRgn) to drawing and to
// the pointer alike: the shaped window needs no translucency, so it never
// asks for an input shape of its own.
bool CompositingManagerRuns() { return false; }

void SetInputShape(QWindow*, const QRegion&) {}

} // namespace tarvok::platform
