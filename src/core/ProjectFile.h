#pragma once
#include "core/FileUtility.h"

#include <string>
#include <string_view>

namespace tarvok {

// Replaces `list` with the existing plain files named in the project file at
// `path`, in file order. A missing file gives an empty list.
void LoadFileList(const std::string& path, FileList& list);
// The exact text a project file holds for `list`; lines that `previousFile`
// held keep their bytes (LineWriter). A name holding a line break raises
// "Invalid filename".
std::string FormatFileList(const FileList& list, std::string_view previousFile = {});
// Replaces the project file at `path` atomically with `list`.
void SaveSourceList(const std::string& path, const FileList& list);
// A project moving from `oldDir` to `newDir` takes its project file along
// (empty when it had none), since a project whose directory holds no project
// file is dropped at the next start. A file already in `newDir` belongs to
// another project and stays as it is.
void CarryProjectFile(const std::string& oldDir, const std::string& newDir);

} // namespace tarvok
