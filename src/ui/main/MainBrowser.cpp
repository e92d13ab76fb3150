// The backup browser (lbxTarget) and what both file lists share: hover
// paths, clearing the selection beside the lines, Ctrl+A and Ctrl+D,
// opening a file by double-click.
#include "core/Dialogs.h"
#include "core/KeyState.h"
#include "core/Shell.h"
#include "ui/main/Main.h"
#include "ui/widgets/LineList.h"
#include "ui/widgets/LocalText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarvok::ui {
namespace {

// Ctrl+A selects every line of `list`, Ctrl+D none; Ctrl as the key state knows it.
void SelectByKey(const KeyState& keys, LineList* list, uint16_t key)
{
    if (!CtrlHeld(keys))
        return;
    if (key == 'A')
        list->selectAll();
    else if (key == 'D')
        list->clearSelection();
}

} // namespace

void TMainForm::ShowBkUpFolders(const std::string& Dir)
{
    lbxTarget->clear();
    const std::vector<std::string> others = state_.ShowBackupFolders(Dir);
    stTarget->setText("BackUp Folders");
    edTarget->setText(Local(Dir));
    lbxTarget->AddLines(state_.BackupFolders());
    for (const std::string& line : others)
        Dialogs.Warning(line);
}

void TMainForm::ShowBkUpFiles(const FileList& List)
{
    if (List.empty()) {
        Dialogs.Message("No files exists.");
        return;
    }
    stTarget->setText("BackUp Files");
    lbxTarget->clear();
    lbxTarget->AddFileLines(List);
}

void TMainForm::lbxTargetDblClick()
{
    if (lbxTarget->count() == 0)
        return;
    if (state_.BrowserMode() == BrowserMode::FolderView) {
        ListWalk walk(*this);
        {
            WorkBreath breath(*this);
            state_.OpenSnapshot(lbxTarget->SelectedLines(), &breath);
        }
        ShowBkUpFiles(state_.BackupList());
        return;
    }
    if (const auto file = AppState::FirstExistingSelected(state_.BackupList(), lbxTarget->SelectedLines()))
        Shell.OpenDocument(*file);
}

void TMainForm::lbxSourceDblClick()
{
    if (lbxSource->count() == 0)
        return;
    if (const auto file = AppState::FirstExistingSelected(state_.SourceList(), lbxSource->SelectedLines()))
        Shell.OpenDocument(*file);
}

void TMainForm::btnBackPrjDirClick()
{
    if (state_.BrowserMode() == BrowserMode::FileView)
        ShowBkUpFolders(state_.Current().BackUpDir);
    if (lbxTarget->isVisible())
        lbxTarget->setFocus();
}

void TMainForm::lbxTargetMouseMove(const QPoint& pos)
{
    if (lbxTarget->count() == 0)
        return;
    const int line = lbxTarget->LineAt(pos);
    if (line < 0) {
        lbStatus->clear();
    } else if (state_.BrowserMode() == BrowserMode::FolderView) {
        lbStatus->setText(Local(JoinPath(state_.Current().BackUpDir, lbxTarget->LineName(line))));
    } else if (const FileRec* file = GetFile(state_.BackupList(), line)) {
        lbStatus->setText(Local(file->FileName));
    }
}

void TMainForm::lbxSourceMouseMove(const QPoint& pos)
{
    if (lbxSource->count() == 0)
        return;
    const int line = lbxSource->LineAt(pos);
    if (line < 0)
        lbStatus->clear();
    else if (const FileRec* file = GetFile(state_.SourceList(), line))
        lbStatus->setText(Local(file->FileName));
}

void TMainForm::lbxtMouseDown(LineList* list, const QPoint& pos)
{
    if (list->count() == 0 || list->LineAt(pos) >= 0)
        return;
    lbStatus->clear();
    list->clearSelection();
}

void TMainForm::lbxSourceKeyDown(uint16_t key) { SelectByKey(state_.KeyState(), lbxSource, key); }

void TMainForm::lbxTargetKeyDown(uint16_t key) { SelectByKey(state_.KeyState(), lbxTarget, key); }

} // namespace tarvok::ui
