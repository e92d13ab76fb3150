#pragma once
#include <QIcon>

namespace tarvok::ui {

// The program's pictures, compiled in from resources/icons: MAINICON for the
// window, TRAYICON (with a light rim for dark panels) for the notification
// area. Both are 32 x 32.
QIcon ProgramIcon();
QIcon TrayIconImage();

} // namespace tarvok::ui
