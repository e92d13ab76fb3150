#include "core/BrowserView.h"

#include "base/VisibleText.h"

namespace tarvok {

const char* BrowserKindWord(BrowserMode mode) { return mode == BrowserMode::FolderView ? "Folder" : "File"; }

void ReportDeleteFailures(const DeleteFailures& failures)
{
    if (failures.empty())
        return;
    const DeleteFailure& first = failures.front();
    const std::string what =
        failures.size() == 1
            ? VisibleName(first.Path) + " was not deleted"
            : std::to_string(failures.size()) + " backups were not deleted, the first " + VisibleName(first.Path);
    throw EInOutError(first.Error.ErrorCode(), what + ": " + first.Error.what());
}

} // namespace tarvok
