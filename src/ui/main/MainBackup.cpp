// Backup run, restore, deletion of backups and the change of the backup
// directory: the commands that work on the backup directory's contents.
#include "core/BackupEngine.h"
#include "core/Dialogs.h"
#include "core/ProjectFile.h"
#include "core/Settings.h"
#include "platform/FileSystem.h"
#include "ui/widgets/LocalText.h"
#include "ui/widgets/ListBoxEvents.h"
#include "ui/widgets/ListLines.h"
#include "ui/main/Main.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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
    connect(btnBackUp, &QPushButton::clicked, this, &TMainForm::btnBackUpClick);
    connect(BackUpAll1, &QAction::triggered, this, &TMainForm::btnBackUpClick);
    connect(btnRestore, &QPushButton::clicked, this, &TMainForm::btnRestoreClick);
    connect(RestoreSelectedFiles1, &QAction::triggered, this, &TMainForm::btnRestoreClick);
    connect(BtnDelBkUp, &QPushButton::clicked, this, &TMainForm::BtnDelBkUpClick);
    connect(DeleteSelectedBackupFiles1, &QAction::triggered, this, &TMainForm::BtnDelBkUpClick);
    connect(btnselDir, &QPushButton::clicked, this, &TMainForm::btnselDirClick);
    connect(SelectBackUpDirectory1, &QAction::triggered, this, &TMainForm::btnselDirClick);
    connect(btnAdd, &QPushButton::clicked, this, &TMainForm::btnAddClick);
    connect(AddSourceFiles1, &QAction::triggered, this, &TMainForm::btnAddClick);
    connect(btnDelete, &QPushButton::clicked, this, &TMainForm::btnDeleteClick);
    connect(DeleteSelectedSourceFiles1, &QAction::triggered, this, &TMainForm::btnDeleteClick);
    connect(btnBackPrjDir, &QPushButton::clicked, this, &TMainForm::btnBackPrjDirClick);
    const auto mouseDown = [this](QListWidget* list) {
        return [this, list](const QPoint& pos) { lbxtMouseDown(list, pos); };
    };
    new ListBoxEvents(lbxSource, {[this](const QPoint& pos) { lbxSourceMouseMove(pos); }, mouseDown(lbxSource),
                                  [this] { lbxSourceDblClick(); }, [this](uint16_t key) { lbxSourceKeyDown(key); }});
    new ListBoxEvents(lbxTarget, {[this](const QPoint& pos) { lbxTargetMouseMove(pos); }, mouseDown(lbxTarget),
                                  [this] { lbxTargetDblClick(); }, [this](uint16_t key) { lbxTargetKeyDown(key); }});
}

void TMainForm::btnBackUpClick()
{
    if (SourceList.empty()) {
        Dialogs.Message("Please select Source Files first");
        return;
    }
    ListWalk walk(*this);
    BusyWork busy(lbStatus, "BackUp Files Now...");
    BackUpFileList(SourceList, CurrentProject->BackUpDir, Clock, Dialogs);
    lbStatus->clear();
    ShowBkUpFolders(CurrentProject->BackUpDir);
    busy.RestoreCursor();
    Dialogs.Message("BackUP Success.");
    if (lbxTarget->isVisible())
        lbxTarget->setFocus();
}

void TMainForm::btnRestoreClick()
{
    if (BrowserMode == tarvok::BrowserMode::FolderView) {
        Dialogs.Message("Please double click a Folder to enter and select Restore Files.");
        return;
    }
    const auto count = lbxTarget->selectedItems().size();
    if (count == 0) {
        Dialogs.Message("No File selected.");
        return;
    }
    if (!Dialogs.Confirm("Are you sure to restore selected " + std::to_string(count) + " files?"))
        return;
    std::string chosen;
    if (!Dialogs.SelectDirectory(LastDir, chosen))
        return;
    if (!Dialogs.Confirm("Restore to " + chosen + "? This will overwrite exist files, if there are."))
        return;

    ListWalk walk(*this);
    BusyWork busy(lbStatus, "Restore Files Now...");
    LastDir = chosen;
    int line = 0;
    for (auto entry = BackupList.begin(); entry != BackupList.end() && line < lbxTarget->count(); ++entry, ++line)
        if (lbxTarget->item(line)->isSelected())
            RestoreBkUpFile(entry->FileName, LastDir, Dialogs);
    busy.RestoreCursor();
    Dialogs.Message("Restore Success.");
    lbStatus->clear();
}

void TMainForm::BtnDelBkUpClick()
{
    const std::string kind = BrowserKindWord(BrowserMode);
    const auto count = lbxTarget->selectedItems().size();
    if (count == 0) {
        Dialogs.Message("No " + kind + " selected.");
        return;
    }
    if (!Dialogs.Confirm("Are you sure to delete selected " + std::to_string(count) + " " + kind + "?"))
        return;

    // What stayed on the disk is told once the view shows what is left.
    DeleteFailures failures;
    if (BrowserMode == tarvok::BrowserMode::FolderView) {
        for (int line = 0; line < lbxTarget->count(); ++line) {
            const QListWidgetItem* item = lbxTarget->item(line);
            if (!item->isSelected())
                continue;
            DeleteFailures stayed = DeleteBkUpFolder(JoinPath(CurrentProject->BackUpDir, LineName(item)), BackupList);
            failures.insert(failures.end(), stayed.begin(), stayed.end());
        }
        ShowBkUpFolders(CurrentProject->BackUpDir + PathSeparator);
        ReportDeleteFailures(failures);
        return;
    }
    int line = 0;
    for (FileRec& entry : BackupList) {
        entry.Selected = line < lbxTarget->count() && lbxTarget->item(line)->isSelected() ? 1 : 0;
        ++line;
    }
    failures = DeleteSelectedBkUpFiles(BackupList);
    ShowBkUpFiles(BackupList);
    ReportDeleteFailures(failures);
}

void TMainForm::btnselDirClick()
{
    if (!Dialogs.Confirm("Change " + CurrentProject->Name + " BackUp Directory?"))
        return;
    std::string chosen;
    if (!Dialogs.SelectDirectory(CurrentProject->BackUpDir, chosen))
        return;
    if (HasLineBreak(chosen)) {
        Dialogs.Warning(LineBreakInDirectoryText);
        return;
    }
    edTarget->setText(Local(chosen));
    CurrentProject->BackUpDir = chosen;
    ShowBkUpFolders(CurrentProject->BackUpDir);
    // The project must find its sources in its new directory at the next
    // start; another project's file already there is left as it is.
    const std::string projectFile = ProjectFilePath(chosen);
    if (SourceListLoaded && !platform::FileExists(projectFile))
        SaveSourceList(projectFile, SourceList);
}

} // namespace tarvok::ui
