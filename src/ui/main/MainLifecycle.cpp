// Creation, showing and closing of the main window, and the current project.
#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/InOutError.h"
#include "core/ProjectFile.h"
#include "core/Schedule.h"
#include "core/SkinChoice.h"
#include "platform/FileSystem.h"
#include "platform/qt/UserName.h"
#include "ui/shell/ErrorReport.h"
#include "ui/widgets/ListLines.h"
#include "ui/widgets/LocalText.h"
#include "ui/main/Main.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

namespace tarvok::ui {
namespace {

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

} // namespace

void TMainForm::ConnectLifecycle()
{
    connect(cbxProjects, &QComboBox::activated, this, &TMainForm::cbxProjectsChange);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);
}

void TMainForm::FormCreate()
{
    const std::string defaultBackupDir = JoinPath(AppDir, DefaultBackupFolder);
    if (!platform::DirectoryExists(defaultBackupDir))
        platform::CreateDir(defaultBackupDir);
    SkinCount = CountFiles(JoinPath(AppDir, SkinFolder));

    try {
        LoadSettings(AppDir, Settings, ProjectList, SettingsFile);
    } catch (const EInOutError& error) {
        // Go on as without a settings file, so the window has a current
        // project; the file itself is never replaced in this run.
        ReportError(Dialogs, error);
        Settings = AppSettings{};
        ClearPrjList(ProjectList);
        ClearPrjList(SettingsFile.Dormant);
        AddDefaultProject(AppDir, ProjectList);
    }
    RandomSkin1->setChecked(Settings.RandomSkin != 0);
    CurrentProject = &ProjectList.front();
    if (Settings.RandomSkin == 1)
        Settings.SkinNo = RandomSkinNo(SkinCount, Clock.TickCount());
    SetUpSkin();

    CreateTrayIcon();

    if (Settings.TimerBkUp == 0) {
        const std::optional<std::string> user = CurrentUserName();
        if (!user)
            return;
        if (Dialogs.Confirm("Hi, " + *user + ". Do you wanna enable Auto BackUp?"))
            Settings.TimerBkUp = 1;
    }
    if (Settings.TimerBkUp == 0) {
        tbtnStop->setChecked(true);
        tbtnStopRunClick(tbtnStop);
    } else if (Settings.TimerBkUp == 1) {
        tbtnRun->setChecked(true);
        tbtnStopRunClick(tbtnRun);
    }
}

std::optional<std::string> TMainForm::CurrentUserName() { return platform::CurrentUserName(); }

uint16_t TMainForm::CountFiles(const std::string& dir)
{
    uint16_t count = 0;
    for (const platform::DirEntry& entry : platform::ListDirectory(dir))
        if (platform::IsFileEntry(entry))
            ++count;
    return count;
}

void TMainForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored by the window manager was never hidden.
    if (!event->spontaneous())
        FormShow();
}

void TMainForm::FormShow()
{
    EnsureCurrentProject();
    cbxBkupType->setCurrentIndex(CurrentProject->Period);
    if (btnBackUp->isVisible())
        btnBackUp->setFocus();
    FillcbxProjects();
    cbxProjects->setCurrentIndex(IndexOfPrj(ProjectList, CurrentProject));
    if (ListWalkDepth > 0)
        RefreshPending = true; // the next tick after the work reloads
    else
        LoadCurrentPrj();
}

void TMainForm::EnsureCurrentProject()
{
    if (IndexOfPrj(ProjectList, CurrentProject) >= 0)
        return;
    if (ProjectList.empty())
        AddDefaultProject(AppDir, ProjectList);
    CurrentProject = &ProjectList.front();
}

void TMainForm::LoadCurrentPrj()
{
    EnsureCurrentProject();
    // Until its own list is in, the list belongs to no project: a failed
    // load must not let the close write it over the project file.
    SourceListLoaded = false;
    ProjectFileReadError.clear();
    lbxSource->clear();
    try {
        LoadFileList(ProjectFilePath(CurrentProject->BackUpDir), SourceList);
    } catch (const EInOutError& error) {
        ProjectFileReadError = error.what();
        throw;
    }
    SourceListLoaded = true;
    FilllbxSource(SourceList);
    edBkUp->setText(QString::fromLatin1(AutoBkUpText(CurrentProject->AutoBkUp)));
    ShowBkUpFolders(CurrentProject->BackUpDir);
    edTarget->setText(Local(CurrentProject->BackUpDir));
    cbxBkupType->setCurrentIndex(CurrentProject->Period);
    cbxBkupTypeChange();
    cbxTime->setCurrentIndex(CurrentProject->Hour);
}

void TMainForm::FillcbxProjects()
{
    cbxProjects->clear();
    for (const PrjRec& project : ProjectList)
        cbxProjects->addItem(Local(project.Name));
}

void TMainForm::FilllbxSource(const FileList& list)
{
    lbxSource->clear();
    AddFileLines(lbxSource, list);
}

void TMainForm::cbxProjectsChange()
{
    // Typed text that names no project keeps the current one.
    PrjRec* picked = GetPrj(ProjectList, cbxProjects->currentIndex());
    if (!picked)
        return;
    CurrentProject = picked;
    LoadCurrentPrj();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // The session's end has written everything and is ending the program.
    if (SessionEnded) {
        event->accept();
        return;
    }
    // Refused until the close steps are done; an error in them keeps the window open.
    event->ignore();
    if (!FormCloseQuery())
        return;
    if (ListWalkDepth > 0) {
        ClosePending = true;
        return;
    }
    FinishClose();
    event->accept();
}

void TMainForm::FinishClose()
{
    FormClose();
    hide();
    emit Closed();
}

TMainForm::ListWalk::ListWalk(TMainForm& form) : form_(form) { ++form_.ListWalkDepth; }

TMainForm::ListWalk::~ListWalk()
{
    if (--form_.ListWalkDepth > 0 || !form_.ClosePending)
        return;
    // The close the user already allowed finishes once the reaction is over.
    QTimer::singleShot(0, &form_, [form = &form_] {
        form->ClosePending = false;
        form->FinishClose();
    });
}

bool TMainForm::FormCloseQuery() { return Dialogs.Confirm("Are you sure to exit this program?"); }

void TMainForm::FormClose()
{
    std::vector<std::string> notSaved;
    SaveSettingsForClose(notSaved);
    SaveSourceListForClose(notSaved);
    ClearFileList(SourceList);
    ClearFileList(BackupList);
    ClearPrjList(ProjectList);
    CurrentProject = nullptr;
    SourceListLoaded = false;
    if (!notSaved.empty())
        Dialogs.Warning(JoinLines(notSaved));
}

void TMainForm::SaveSettingsForClose(std::vector<std::string>& notSaved)
{
    if (SettingsFile.ReadError) {
        notSaved.push_back("The settings were not saved: " + SettingsPath(AppDir) + " could not be read (" +
                           SettingsFile.ReadError->what() + ").");
        return;
    }
    SaveSettings(AppDir, Settings, ProjectList, SettingsFile);
}

void TMainForm::SaveSourceListForClose(std::vector<std::string>& notSaved)
{
    if (IndexOfPrj(ProjectList, CurrentProject) < 0)
        return;
    const std::string path = ProjectFilePath(CurrentProject->BackUpDir);
    if (SourceListLoaded)
        SaveSourceList(path, SourceList);
    else if (!ProjectFileReadError.empty())
        notSaved.push_back("The source list was not saved: " + path + " could not be read (" +
                           ProjectFileReadError + ").");
}

void TMainForm::FormDestroy()
{
    if (TrayIcon)
        TrayIcon->hide();
}

} // namespace tarvok::ui
