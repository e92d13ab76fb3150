#include "platform/qt/X11Platform.h"

namespace tarvok::platform {

// Windows has one window system: nothing to prefer.
void PreferX11Platform() {}

// Qt takes each screen's own scale from Windows, which offers whole steps
// and quarters; the bitmaps follow what the user chose there.
void RoundScaleNearWholeNumbers() {}

} // namespace tarvok::platform
