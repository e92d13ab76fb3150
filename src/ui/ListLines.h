#pragma once
#include <string>

class QListWidget;
class QListWidgetItem;

namespace tarvok::ui {

// A list line that keeps the exact bytes of the name it shows. A name that
// is not valid text in the system's encoding is shown with replacement
// characters, so the shown text cannot lead back to the file.
void AddLine(QListWidget* list, const std::string& name);

// The bytes the line was added with.
std::string LineName(const QListWidgetItem* item);

} // namespace tarvok::ui
