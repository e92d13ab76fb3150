// Editing of the source list (lbxSource): adding files through the open
// dialog and removing the selected ones; every change is written at once.
#include "core/Dialogs.h"
#include "platform/FileSystem.h"
#include "ui/main/Main.h"
#include "ui/widgets/LineList.h"

namespace tarvok::ui {
namespace {

// Where the open dialog starts until a directory has been used.
const char* const InitialAddDir = "..";

} // namespace

void TMainForm::btnAddClick()
{
    if (const std::optional<std::string> locked = state_.SourceListLocked()) {
        Dialogs.Message(*locked);
        return;
    }
    const std::string startDir = platform::DirectoryExists(state_.LastDir) ? state_.LastDir : InitialAddDir;
    std::vector<std::string> chosen;
    const std::size_t before = state_.SourceList.size();
    if (Dialogs.OpenFiles(startDir, chosen))
        for (const std::string& path : state_.AddSources(chosen))
            Dialogs.Warning("File names with line breaks cannot be backed up: " + path);
    state_.SaveSourceList();
    FilllbxSource(state_.SourceList);
    for (const NameClash& clash : state_.NameClashesFrom(before))
        Dialogs.Warning(AddedClashText(clash));
}

void TMainForm::btnDeleteClick()
{
    if (const std::optional<std::string> locked = state_.SourceListLocked()) {
        Dialogs.Message(*locked);
        return;
    }
    std::vector<bool> selected;
    for (int line = 0; line < lbxSource->count(); ++line)
        selected.push_back(lbxSource->IsSelected(line));
    state_.RemoveSources(selected);
    state_.SaveSourceList();
    FilllbxSource(state_.SourceList);
}

} // namespace tarvok::ui
