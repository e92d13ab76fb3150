// The backup browser (lbxTarget) and what both file lists share: hover
// paths, clearing the selection beside the lines, Ctrl+A and Ctrl+D,
// opening a file by double-click.
#include "core/BackupEngine.h"
#include "core/Dialogs.h"
#include "core/KeyState.h"
#include "core/Shell.h"
#include "platform/FileSystem.h"
#include "ui/widgets/LineList.h"
#include "ui/widgets/LocalText.h"
#include "ui/main/Main.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarvok::ui {
namespace {

// The first entry of `files` whose line is selected and whose file still
// exists, walking lines and entries together.
const FileRec* FirstSelectedExisting(const LineList* list, const FileList& files)
{
    int line = 0;
    for (auto entry = files.begin(); entry != files.end() && line < list->count(); ++entry, ++line)
        if (list->IsSelected(line) && platform::FileExists(entry->FileName))
            return &*entry;
    return nullptr;
}

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
    state_.BrowserMode = BrowserMode::FolderView;
    stTarget->setText("BackUp Folders");
    edTarget->setText(Local(Dir));
    lbxTarget->AddLines(ListBkUpFolders(Dir));
}

void TMainForm::ShowBkUpFiles(const FileList& List)
{
    if (List.empty()) {
        Dialogs.Message("No files exists.");
        return;
    }
    stTarget->setText("BackUp Files");
    state_.BrowserMode = BrowserMode::FileView;
    lbxTarget->clear();
    lbxTarget->AddFileLines(List);
}

void TMainForm::lbxTargetDblClick()
{
    if (lbxTarget->count() == 0)
        return;
    if (state_.BrowserMode == BrowserMode::FolderView) {
        std::string folder;
        for (int line = 0; line < lbxTarget->count(); ++line) {
            if (lbxTarget->IsSelected(line)) {
                folder = JoinPath(state_.Current().BackUpDir, lbxTarget->LineName(line));
                break;
            }
        }
        ListWalk walk(*this);
        {
            WorkBreath breath(*this);
            LoadBkUpFolder(folder, state_.BackupList, &breath);
        }
        ShowBkUpFiles(state_.BackupList);
        platform::ReleaseFreedMemory(); // what the listing of a large folder took
        return;
    }
    if (const FileRec* file = FirstSelectedExisting(lbxTarget, state_.BackupList))
        Shell.OpenDocument(file->FileName);
}

void TMainForm::lbxSourceDblClick()
{
    if (lbxSource->count() == 0)
        return;
    if (const FileRec* file = FirstSelectedExisting(lbxSource, state_.SourceList))
        Shell.OpenDocument(file->FileName);
}

void TMainForm::btnBackPrjDirClick()
{
    if (state_.BrowserMode == BrowserMode::FileView)
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
    } else if (state_.BrowserMode == BrowserMode::FolderView) {
        lbStatus->setText(Local(JoinPath(state_.Current().BackUpDir, lbxTarget->LineName(line))));
    } else if (const FileRec* file = GetFile(state_.BackupList, line)) {
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
    else if (const FileRec* file = GetFile(state_.SourceList, line))
        lbStatus->setText(Local(file->FileName));
}

void TMainForm::lbxtMouseDown(LineList* list, const QPoint& pos)
{
    if (list->count() == 0 || list->LineAt(pos) >= 0)
        return;
    lbStatus->clear();
    list->clearSelection();
}

void TMainForm::lbxSourceKeyDown(uint16_t key) { SelectByKey(state_.KeyState, lbxSource, key); }

void TMainForm::lbxTargetKeyDown(uint16_t key) { SelectByKey(state_.KeyState, lbxTarget, key); }

} // namespace tarvok::ui
