#include "platform/SystemErrors.h"

#include "platform/Win32Files_win32.h"

namespace tarvok::platform {

std::optional<EInOutError> SystemOwnError(int error)
{
    using namespace win32;
    if (IsInUse(error))
        return EInOutError(error - SystemErrorBase, "The file is in use by another program");
    // Shown by their own number.
    if (error >= SystemErrorBase)
        return EInOutError(error - SystemErrorBase, "I/O error " + std::to_string(error - SystemErrorBase));
    return std::nullopt;
}

} // namespace tarvok::platform
