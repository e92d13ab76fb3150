// Editing of the source list (lbxSource): adding files through the open
// dialog and removing the selected ones; every change is written at once.
#include "core/Dialogs.h"
#include "core/ProjectFile.h"
#include "core/Settings.h"
#include "platform/FileSystem.h"
#include "ui/main/Main.h"

#include <QListWidget>

namespace tarvok::ui {
namespace {

// Where the open dialog starts until a directory has been used.
const char* const InitialAddDir = "..";

// The project file holds one path a line: a path holding a line break
// would come back as other paths.
bool HoldsLineBreak(const std::string& path) { return path.find_first_of("\r\n") != std::string::npos; }

// A project file that could not be read is never replaced by what the
// window holds instead; the user is told why nothing changes.
bool SourceListWritable(TMainForm& form)
{
    if (form.SourceListLoaded)
        return true;
    form.Dialogs.Message("The project file " + ProjectFilePath(form.CurrentProject->BackUpDir) +
                         " could not be read, so the source list cannot be changed.");
    return false;
}

} // namespace

bool TMainForm::IsInSourceList(const std::string& path) const
{
    for (const FileRec& file : SourceList)
        if (file.FileName == path)
            return true;
    return false;
}

void TMainForm::btnAddClick()
{
    if (!SourceListWritable(*this))
        return;
    const std::string startDir = platform::DirectoryExists(LastDir) ? LastDir : InitialAddDir;
    std::vector<std::string> chosen;
    if (Dialogs.OpenFiles(startDir, chosen) && !chosen.empty()) {
        LastDir = DirectoryPart(chosen.front());
        for (const std::string& path : chosen) {
            if (HoldsLineBreak(path))
                Dialogs.Warning("File names with line breaks cannot be backed up: " + path);
            else if (!IsInSourceList(path))
                AddFile(SourceList, FileRec{path, 1, 0});
        }
    }
    SaveSourceList(ProjectFilePath(CurrentProject->BackUpDir), SourceList);
    FilllbxSource(SourceList);
}

void TMainForm::btnDeleteClick()
{
    if (!SourceListWritable(*this))
        return;
    int line = 0;
    for (FileRec& file : SourceList) {
        file.Selected = line < lbxSource->count() && lbxSource->item(line)->isSelected() ? 1 : 0;
        ++line;
    }
    for (auto entry = SourceList.begin(); entry != SourceList.end();)
        entry = entry->Selected == 1 ? DelFile(SourceList, entry) : std::next(entry);
    SaveSourceList(ProjectFilePath(CurrentProject->BackUpDir), SourceList);
    FilllbxSource(SourceList);
}

} // namespace tarvok::ui
