#pragma once
#include "core/FileUtility.h"

#include <string>

namespace tarvok {

// Replaces `list` with the existing plain files named in the project file at
// `path`, in file order. A missing file gives an empty list.
void LoadFileList(const std::string& path, FileList& list);
// The exact text a project file holds for `list`; a name holding a line
// break raises "Invalid filename".
std::string FormatFileList(const FileList& list);
// Replaces the project file at `path` atomically with `list`.
void SaveSourceList(const std::string& path, const FileList& list);

} // namespace tarvok
