#include "ui/shell/TarvokApplication.h"

#include "ui/shell/ErrorReport.h"

namespace tarvok::ui {

TarvokApplication::TarvokApplication(int& argc, char** argv, Dialogs& errors)
    : QApplication(argc, argv), errors_(errors)
{
}

bool TarvokApplication::notify(QObject* receiver, QEvent* event)
{
    return DeliverReportingErrors(errors_, [&] { return QApplication::notify(receiver, event); });
}

} // namespace tarvok::ui
