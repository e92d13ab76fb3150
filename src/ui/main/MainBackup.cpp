// Backup run, restore, deletion of backups and the change of the backup
// directory: the commands that work on the backup directory's contents.
#include "base/VisibleText.h"
#include "core/BrowserView.h"
#include "core/Dialogs.h"
#include "core/ProjectFile.h"
#include "core/Settings.h"
#include "ui/main/Main.h"
#include "ui/widgets/LineList.h"
#include "ui/widgets/ListBoxEvents.h"
#include "ui/widgets/LocalText.h"

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
    if (state_.SourceList().empty()) {
        Dialogs.Message("Please select Source Files first");
        return;
    }
    ListWalk walk(*this);
    BusyWork busy(lbStatus, "BackUp Files Now...");
    BackupRun run;
    {
        WorkBreath breath(*this);
        run = state_.BackUp(Clock, Dialogs, &breath);
    }
    lbStatus->clear();
    ShowBkUpFolders(state_.Current().BackUpDir);
    busy.RestoreCursor();
    Dialogs.Message("BackUP Success.");
    if (!run.Clashes.empty())
        Dialogs.Warning(BackupClashText(run.Snapshot, run.Clashes));
    if (lbxTarget->isVisible())
        lbxTarget->setFocus();
}

void TMainForm::btnRestoreClick()
{
    if (state_.BrowserMode() == BrowserMode::FolderView) {
        Dialogs.Message("Please double click a Folder to enter and select Restore Files.");
        return;
    }
    const auto count = lbxTarget->SelectedCount();
    if (count == 0) {
        Dialogs.Message("No File selected.");
        return;
    }
    // The lists stay whole while the boxes wait for the user.
    ListWalk walk(*this);
    if (!Dialogs.Confirm("Are you sure to restore selected " + std::to_string(count) + " files?"))
        return;
    std::string chosen;
    if (!Dialogs.SelectDirectory(state_.LastDir(), chosen))
        return;
    if (!Dialogs.Confirm("Restore to " + VisibleName(chosen) + "? This will overwrite exist files, if there are."))
        return;

    BusyWork busy(lbStatus, "Restore Files Now...");
    {
        WorkBreath breath(*this);
        state_.RestoreSelected(lbxTarget->SelectedLines(), chosen, Dialogs, &breath);
    }
    busy.RestoreCursor();
    Dialogs.Message("Restore Success.");
    lbStatus->clear();
}

void TMainForm::BtnDelBkUpClick()
{
    const std::string kind = BrowserKindWord(state_.BrowserMode());
    const auto count = lbxTarget->SelectedCount();
    if (count == 0) {
        Dialogs.Message("No " + kind + " selected.");
        return;
    }
    ListWalk walk(*this);
    if (!Dialogs.Confirm("Are you sure to delete selected " + std::to_string(count) + " " + kind + "?"))
        return;

    DeleteFailures failures;
    {
        WorkBreath breath(*this);
        failures = state_.DeleteSelected(lbxTarget->SelectedLines(), &breath);
    }
    // What stayed on the disk is told once the view shows what is left.
    if (state_.BrowserMode() == BrowserMode::FolderView)
        ShowBkUpFolders(JoinPath(state_.Current().BackUpDir, ""));
    else
        ShowBkUpFiles(state_.BackupList());
    ReportDeleteFailures(failures);
}

void TMainForm::btnselDirClick()
{
    ListWalk walk(*this);
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
