#include "platform/qt/SkipTaskbar.h"

#include <QWindow>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace tarvok::platform {

// A tool window gets no taskbar button (nor a place in Alt+Tab). Qt::Tool
// would say the same, but a later setWindowFlags() makes a new native
// window; the style is given to the one there, before it is shown.
void MarkSkipTaskbar(QWindow* window)
{
    if (!window)
        return;
    const auto hwnd = reinterpret_cast<HWND>(window->winId()); // NOLINT(performance-no-int-to-ptr)
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    const LONG_PTR wanted = (style | WS_EX_TOOLWINDOW) & ~LONG_PTR{WS_EX_APPWINDOW};
    if (wanted != style)
        ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, wanted);
}

} // namespace tarvok::platform
