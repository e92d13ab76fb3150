#pragma once
#include "core/FileUtility.h"

#include <string>
#include <vector>

class QListWidget;
class QListWidgetItem;

namespace tarvok::ui {

// Adds a line for each name, each keeping the exact bytes of its name. A
// name that is not valid text in the system's encoding is shown with
// replacement characters, so the shown text cannot lead back to the file.
void AddLines(QListWidget* list, const std::vector<std::string>& names);
// A line for each entry of `files`: its file name without the directory.
void AddFileLines(QListWidget* list, const FileList& files);

// The bytes the line was added with.
std::string LineName(const QListWidgetItem* item);

} // namespace tarvok::ui
