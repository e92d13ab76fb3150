#pragma once
#include <string>

class QWidget;

namespace tarvok {
class Dialogs;
}

namespace tarvok::ui {

// The modal "Select Directory" dialog. Opens on `start` (empty: the current
// directory); a typed directory that does not exist is created, with its
// parents, after the user agrees to the question asked through `dialogs`.
// True and `chosen` when the user accepted.
bool ExecuteSelectDirectoryDialog(QWidget* parent, const std::string& start, std::string& chosen,
                                  Dialogs& dialogs);

} // namespace tarvok::ui
