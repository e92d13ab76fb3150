// Backup run, restore, deletion of backups and the change of the backup
// directory: the commands that work on the backup directory's contents.
#include "core/BackupEngine.h"
#include "core/Dialogs.h"
#include "core/ProjectFile.h"
#include "core/Settings.h"
#include "platform/FileSystem.h"
#include "ui/widgets/LocalText.h"
#include "ui/widgets/ListBoxEvents.h"
#include "ui/widgets/LineList.h"
#include "ui/main/Main.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarvok::ui {
namespace {

// The hourglass and a status text, shown at once, for a command that copies.
// Should an error end the command, the cursor and the status line are put
// back before the error reaches the error box.
class BusyWork {
public:
    BusyWork(QLabel* status, const char* text) : status_(status)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        status_->setText(QString::fromLatin1(text));
        status_->repaint();
    }
    ~BusyWork()
    {
        if (busy_) {
            QApplication::restoreOverrideCursor();
            status_->clear();
        }
    }
    BusyWork(const BusyWork&) = delete;
    BusyWork& operator=(const BusyWork&) = delete;

    void RestoreCursor()
    {
        QApplication::restoreOverrideCursor();
        busy_ = false;
    }

private:
    QLabel* status_;
    bool busy_ = true;
};

} // namespace

void TMainForm::ConnectBackup()
{
    // Each command has a button and a filemenu item.
    const struct {
        QPushButton* button;
        QAction* item;
        void (TMainForm::*reaction)();
    } commands[] = {
        {btnBackUp, BackUpAll1, &TMainForm::btnBackUpClick},
        {btnRestore, RestoreSelectedFiles1, &TMainForm::btnRestoreClick},
        {BtnDelBkUp, DeleteSelectedBackupFiles1, &TMainForm::BtnDelBkUpClick},
        {btnselDir, SelectBackUpDirectory1, &TMainForm::btnselDirClick},
        {btnAdd, AddSourceFiles1, &TMainForm::btnAddClick},
        {btnDelete, DeleteSelectedSourceFiles1, &TMainForm::btnDeleteClick},
    };
    for (const auto& command : commands) {
        React(command.button, &QPushButton::clicked, command.reaction);
        React(command.item, &QAction::triggered, command.reaction);
    }
    React(btnBackPrjDir, &QPushButton::clicked, &TMainForm::btnBackPrjDirClick);
    const auto mouseDown = [this](LineList* list) {
        return Reporting([this, list](const QPoint& pos) { lbxtMouseDown(list, pos); });
    };
    new ListBoxEvents(lbxSource, {Reporting(&TMainForm::lbxSourceMouseMove), mouseDown(lbxSource),
                                  Reporting(&TMainForm::lbxSourceDblClick), Reporting(&TMainForm::lbxSourceKeyDown)});
    new ListBoxEvents(lbxTarget, {Reporting(&TMainForm::lbxTargetMouseMove), mouseDown(lbxTarget),
                                  Reporting(&TMainForm::lbxTargetDblClick), Reporting(&TMainForm::lbxTargetKeyDown)});
}

void TMainForm::btnBackUpClick()
{
    if (state_.SourceList.empty()) {
        Dialogs.Message("Please select Source Files first");
        return;
    }
    ListWalk walk(*this);
    BusyWork busy(lbStatus, "BackUp Files Now...");
    const std::string snapshot = JoinPath(state_.Current().BackUpDir, SnapshotFolderName(Clock.Now()));
    std::vector<NameClash> clashes;
    {
        WorkBreath breath(*this);
        clashes = BackUpFileList(state_.SourceList, state_.Current().BackUpDir, Clock, Dialogs, &breath);
    }
    lbStatus->clear();
    ShowBkUpFolders(state_.Current().BackUpDir);
    busy.RestoreCursor();
    Dialogs.Message("BackUP Success.");
    if (!clashes.empty())
        Dialogs.Warning(BackupClashText(snapshot, clashes));
    if (lbxTarget->isVisible())
        lbxTarget->setFocus();
}

void TMainForm::btnRestoreClick()
{
    if (state_.BrowserMode == BrowserMode::FolderView) {
        Dialogs.Message("Please double click a Folder to enter and select Restore Files.");
        return;
    }
    const auto count = lbxTarget->SelectedCount();
    if (count == 0) {
        Dialogs.Message("No File selected.");
        return;
    }
    if (!Dialogs.Confirm("Are you sure to restore selected " + std::to_string(count) + " files?"))
        return;
    std::string chosen;
    if (!Dialogs.SelectDirectory(state_.LastDir, chosen))
        return;
    if (!Dialogs.Confirm("Restore to " + chosen + "? This will overwrite exist files, if there are."))
        return;

    ListWalk walk(*this);
    BusyWork busy(lbStatus, "Restore Files Now...");
    state_.LastDir = chosen;
    std::vector<std::string> selected;
    const FileList& backups = state_.BackupList;
    int line = 0;
    for (auto entry = backups.begin(); entry != backups.end() && line < lbxTarget->count(); ++entry, ++line)
        if (lbxTarget->IsSelected(line))
            selected.push_back(entry->FileName);
    {
        WorkBreath breath(*this);
        RestoreBkUpFiles(selected, chosen, Dialogs, &breath);
    }
    busy.RestoreCursor();
    Dialogs.Message("Restore Success.");
    lbStatus->clear();
}

void TMainForm::BtnDelBkUpClick()
{
    const std::string kind = BrowserKindWord(state_.BrowserMode);
    const auto count = lbxTarget->SelectedCount();
    if (count == 0) {
        Dialogs.Message("No " + kind + " selected.");
        return;
    }
    if (!Dialogs.Confirm("Are you sure to delete selected " + std::to_string(count) + " " + kind + "?"))
        return;

    // What stayed on the disk is told once the view shows what is left.
    const std::string backupDir = state_.Current().BackUpDir;
    FileList& backups = state_.BackupList;
    DeleteFailures failures;
    ListWalk walk(*this);
    if (state_.BrowserMode == BrowserMode::FolderView) {
        std::vector<std::string> folders;
        for (int line = 0; line < lbxTarget->count(); ++line)
            if (lbxTarget->IsSelected(line))
                folders.push_back(JoinPath(backupDir, lbxTarget->LineName(line)));
        {
            WorkBreath breath(*this);
            for (const std::string& folder : folders) {
                DeleteFailures stayed = DeleteBkUpFolder(folder, backups, &breath);
                failures.insert(failures.end(), stayed.begin(), stayed.end());
            }
        }
        ShowBkUpFolders(backupDir + PathSeparator);
        platform::ReleaseFreedMemory(); // what the folders' lists took
        ReportDeleteFailures(failures);
        return;
    }
    int line = 0;
    for (FileRec& entry : backups) {
        entry.Selected = line < lbxTarget->count() && lbxTarget->IsSelected(line) ? 1 : 0;
        ++line;
    }
    {
        WorkBreath breath(*this);
        failures = DeleteSelectedBkUpFiles(backups, &breath);
    }
    ShowBkUpFiles(backups);
    ReportDeleteFailures(failures);
}

void TMainForm::btnselDirClick()
{
    const PrjRec& current = state_.Current();
    if (!Dialogs.Confirm("Change " + current.Name + " BackUp Directory?"))
        return;
    std::string chosen;
    if (!Dialogs.SelectDirectory(current.BackUpDir, chosen))
        return;
    if (HasLineBreak(chosen)) {
        Dialogs.Warning(LineBreakInDirectoryText);
        return;
    }
    edTarget->setText(Local(chosen));
    ShowBkUpFolders(chosen);
    state_.ChangeBackupDir(chosen);
}

} // namespace tarvok::ui
