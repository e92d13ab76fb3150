// Editing of the source list (lbxSource): adding files through the open
// dialog and removing the selected ones; every change is written at once.
#include "base/VisibleText.h"
#include "core/Dialogs.h"
#include "ui/main/Main.h"
#include "ui/widgets/LineList.h"

namespace tarvok::ui {

void TMainForm::btnAddClick()
{
    if (const std::optional<std::string> locked = state_.SourceListLocked()) {
        Dialogs.Message(*locked);
        return;
    }
    // The list stays whole while the dialog waits for the user.
    ListWalk walk(*this);
    std::vector<std::string> chosen;
    const std::size_t before = state_.SourceList().size();
    if (!Dialogs.OpenFiles(state_.AddStartDir(), chosen))
        chosen.clear();
    for (const std::string& path : state_.AddSources(chosen))
        Dialogs.Warning("File names with line breaks cannot be backed up: " + VisibleName(path));
    FilllbxSource(state_.SourceList());
    for (const NameClash& clash : state_.NameClashesFrom(before))
        Dialogs.Warning(AddedClashText(clash));
}

void TMainForm::btnDeleteClick()
{
    if (const std::optional<std::string> locked = state_.SourceListLocked()) {
        Dialogs.Message(*locked);
        return;
    }
    state_.RemoveSources(lbxSource->SelectedLines());
    FilllbxSource(state_.SourceList());
}

} // namespace tarvok::ui
