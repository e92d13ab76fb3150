#pragma once
#include "base/InOutError.h"

#include <string>
#include <vector>

namespace tarvok {

// The two views of the backup browser: the snapshot folders of a backup
// directory, or the files of one snapshot folder.
enum class BrowserMode { FolderView, FileView };

// "Folder" or "File": the singular word the delete messages use for a view.
const char* BrowserKindWord(BrowserMode mode);

// A backup that stayed on the disk, and why.
struct DeleteFailure {
    std::string Path;
    EInOutError Error;
};
using DeleteFailures = std::vector<DeleteFailure>;

// Raises the error of the first failure, naming its file and how many
// backups stayed; nothing when all went.
void ReportDeleteFailures(const DeleteFailures& failures);

} // namespace tarvok
