#include "ui/shell/ErrorReport.h"

#include "base/InOutError.h"

namespace tarvok::ui {

void ReportError(Dialogs& dialogs, const std::exception& error) { dialogs.ErrorBox(ErrorBoxText(error.what())); }

} // namespace tarvok::ui
