#include "ui/shell/TarvokApplication.h"

#include "ui/shell/ErrorReport.h"
#include "ui/shell/ProgramIcon.h"

namespace tarvok::ui {

TarvokApplication::TarvokApplication(int& argc, char** argv, Dialogs& errors)
    : QApplication(argc, argv), errors_(errors)
{
    // Every window, the boxes too, shows the program's icon; the desktop
    // names the running program by its desktop entry.
    setWindowIcon(ProgramIcon());
    setDesktopFileName(QStringLiteral("org.tarvok.Tarvok"));
}

bool TarvokApplication::notify(QObject* receiver, QEvent* event)
{
    return DeliverReportingErrors(errors_, [&] { return QApplication::notify(receiver, event); });
}

} // namespace tarvok::ui
