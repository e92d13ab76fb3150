#include "ui/shell/ProgramIcon.h"

namespace tarvok::ui {

QIcon ProgramIcon() { return QIcon(QStringLiteral(":/icons/MAINICON.ico")); }

QIcon TrayIconImage() { return QIcon(QStringLiteral(":/icons/TRAYICON.ico")); }

} // namespace tarvok::ui
