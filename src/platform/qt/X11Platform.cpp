#include "platform/qt/X11Platform.h"

#include <cmath>

namespace tarvok::platform {

bool ScaleNearWholeNumber(double dpi)
{
    const double scale = dpi / 96;
    const double whole = std::round(scale);
    return whole >= 1 && std::abs(scale - whole) <= 0.05 * whole;
}

} // namespace tarvok::platform
