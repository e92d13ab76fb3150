#include "core/AppState.h"

#include "base/VisibleText.h"
#include "core/ProjectFile.h"
#include "core/SkinChoice.h"
#include "core/TextLines.h"
#include "core/WorkProgress.h"
#include "platform/AppDir.h"
#include "platform/FileSystem.h"

#include <utility>

namespace tarvok {

AppState::AppState(std::string appDir) : appDir_(std::move(appDir)) {}

void AppState::LoadAtStart()
{
    const std::string defaultBackupDir = JoinPath(appDir_, DefaultBackupFolder);
    if (!platform::DirectoryExists(defaultBackupDir))
        platform::CreateDir(defaultBackupDir);
    skinCount_ = CountFiles(JoinPath(appDir_, SkinFolder));
    LoadSettings(appDir_, settings_, projectList_, settingsFile_);
    current_ = &projectList_.front();
}

void AppState::UseDefaultSettings()
{
    settings_ = AppSettings{};
    ClearPrjList(projectList_);
    ClearPrjList(settingsFile_.Dormant);
    current_ = AddDefaultProject(appDir_, projectList_);
}

const PrjRec& AppState::Current() { return EditedCurrent(); }

PrjRec& AppState::EditedCurrent()
{
    EnsureCurrentProject();
    return *current_;
}

bool AppState::SelectProject(int index)
{
    PrjRec* picked = GetPrj(projectList_, index);
    if (!picked)
        return false;
    current_ = picked;
    return true;
}

int AppState::AddProject(const std::string& name)
{
    PrjRec* added = AddDefaultProject(appDir_, projectList_);
    added->Name = name;
    const std::string projectFile = ProjectFilePath(added->BackUpDir);
    if (!platform::FileExists(projectFile))
        tarvok::SaveSourceList(projectFile, FileList{});
    return CountPrj(projectList_) - 1;
}

void AppState::DeleteProject(int index)
{
    PrjRec* project = GetPrj(projectList_, index);
    if (!project)
        return;
    if (project == current_)
        current_ = nullptr;
    DelPrj(projectList_, project);
    if (!current_ && !projectList_.empty())
        current_ = &projectList_.front();
}

void AppState::RenameProject(int index, const std::string& name)
{
    if (PrjRec* project = GetPrj(projectList_, index))
        project->Name = name;
}

void AppState::MoveProject(int index, const std::string& dir)
{
    PrjRec* project = GetPrj(projectList_, index);
    if (!project)
        return;
    const std::string newDir = WithoutTrailingSeparators(dir);
    CarryProjectFile(project->BackUpDir, newDir);
    project->BackUpDir = newDir;
}

void AppState::ToggleAutoBackup(int index)
{
    if (PrjRec* project = GetPrj(projectList_, index))
        project->AutoBkUp = project->AutoBkUp ? 0 : 1;
}

void AppState::EnsureCurrentProject()
{
    if (IndexOfPrj(projectList_, current_) >= 0)
        return;
    if (projectList_.empty())
        AddDefaultProject(appDir_, projectList_);
    current_ = &projectList_.front();
}

std::string AppState::ProjectFile() const { return ProjectFilePath(current_->BackUpDir); }

void AppState::LoadSourceList()
{
    EnsureCurrentProject();
    sourceListLoaded_ = false;
    sourceListReadError_.clear();
    try {
        tarvok::LoadFileList(ProjectFile(), sourceList_);
    } catch (const EInOutError& error) {
        sourceListReadError_ = CauseAtFile(error, ProjectFile());
        throw;
    }
    sourceListLoaded_ = true;
}

std::optional<std::string> AppState::SourceListLocked() const
{
    if (sourceListLoaded_)
        return std::nullopt;
    // A project file that could not be read is never replaced by what the
    // window holds instead.
    return "The project file " + VisibleName(ProjectFile()) +
           " could not be read, so the source list cannot be changed.";
}

bool AppState::IsInSourceList(const std::string& path) const
{
    for (const FileRec& file : sourceList_)
        if (SamePath(file.FileName, path))
            return true;
    return false;
}

template <typename List> auto AppState::SelectedEntries(List& list, const std::vector<bool>& selectedLines)
{
    std::vector<decltype(&list.front())> selected;
    std::size_t line = 0;
    for (auto entry = list.begin(); entry != list.end() && line < selectedLines.size(); ++entry, ++line)
        if (selectedLines[line])
            selected.push_back(&*entry);
    return selected;
}

void AppState::MarkSelected(FileList& list, const std::vector<bool>& selectedLines)
{
    for (FileRec& file : list)
        file.Selected = 0;
    for (FileRec* file : SelectedEntries(list, selectedLines))
        file->Selected = 1;
}

std::string AppState::AddStartDir() const
{
    // Where the open dialog starts until a directory has been used.
    return platform::DirectoryExists(lastDir_) ? lastDir_ : "..";
}

std::vector<std::string> AppState::AddSources(const std::vector<std::string>& chosen)
{
    std::vector<std::string> refused;
    if (!chosen.empty())
        lastDir_ = DirectoryPart(chosen.front());
    for (const std::string& path : chosen) {
        // The project file holds one path a line.
        if (HasLineBreak(path))
            refused.push_back(path);
        else if (!IsInSourceList(path))
            AddFile(sourceList_, FileRec{path, 1, 0});
    }
    SaveSourceList();
    return refused;
}

std::vector<NameClash> AppState::NameClashesFrom(std::size_t firstAdded) const
{
    // The project file is there once the list was saved: the drive's answer
    // for its name in other case tells whether it folds case.
    const bool foldsCase = platform::FoldsCase(current_->BackUpDir, ProjectFileName);
    return SnapshotNameClashes(sourceList_, foldsCase, firstAdded);
}

void AppState::RemoveSources(const std::vector<bool>& selectedLines)
{
    MarkSelected(sourceList_, selectedLines);
    for (auto entry = sourceList_.begin(); entry != sourceList_.end();)
        entry = entry->Selected == 1 ? DelFile(sourceList_, entry) : std::next(entry);
    SaveSourceList();
}

std::optional<std::string> AppState::FirstExistingSelected(const FileList& list, const std::vector<bool>& selectedLines)
{
    for (const FileRec* file : SelectedEntries(list, selectedLines))
        if (platform::FileExists(file->FileName))
            return file->FileName;
    return std::nullopt;
}

void AppState::SaveSourceList() { tarvok::SaveSourceList(ProjectFile(), sourceList_); }

void AppState::ChangeBackupDir(const std::string& dir)
{
    EditedCurrent().BackUpDir = dir;
    // The project must find its sources in its new directory at the next
    // start; another project's file already there is left as it is.
    const std::string projectFile = ProjectFilePath(dir);
    if (sourceListLoaded_ && !platform::FileExists(projectFile))
        tarvok::SaveSourceList(projectFile, sourceList_);
}

void AppState::SaveSchedule(const ScheduleSelection& selection)
{
    ApplySchedule(EditedCurrent(), selection);
    WriteSettingsFile();
}

void AppState::SetBackupDay(uint8_t day) { EditedCurrent().Day = day; }

void AppState::SetBackupHour(uint8_t hour) { EditedCurrent().Hour = hour; }

BackupRun AppState::BackUp(const Clock& clock, Dialogs& dialogs, WorkProgress* progress)
{
    const std::string backupDir = Current().BackUpDir;
    BackupRun run{JoinPath(backupDir, SnapshotFolderName(clock.Now())), {}};
    run.Clashes = BackUpFileList(sourceList_, backupDir, clock, dialogs, progress);
    return run;
}

std::vector<std::string> AppState::ShowBackupFolders(const std::string& dir)
{
    browserMode_ = tarvok::BrowserMode::FolderView;
    std::vector<std::string> others;
    backupFolders_ = ListBkUpFolders(dir, &others);
    std::vector<std::string> news;
    for (const std::string& folder : others)
        if (othersFoldersTold_.insert(folder).second)
            news.push_back(OthersFolderText(folder));
    return news;
}

void AppState::OpenSnapshot(const std::vector<bool>& selectedLines, WorkProgress* progress)
{
    const std::vector<const std::string*> selected = SelectedEntries(std::as_const(backupFolders_), selectedLines);
    const std::string folder = selected.empty() ? std::string() : JoinPath(Current().BackUpDir, *selected.front());
    LoadBkUpFolder(folder, backupList_, progress);
    if (!backupList_.empty())
        browserMode_ = tarvok::BrowserMode::FileView;
    platform::ReleaseFreedMemory(); // what the listing of a large folder took
}

void AppState::RestoreSelected(const std::vector<bool>& selectedLines, const std::string& dir, Dialogs& dialogs,
                               WorkProgress* progress)
{
    lastDir_ = dir;
    std::vector<std::string> sources;
    for (const FileRec* file : SelectedEntries(std::as_const(backupList_), selectedLines))
        sources.push_back(file->FileName);
    RestoreBkUpFiles(sources, dir, dialogs, progress);
}

DeleteFailures AppState::DeleteSelected(const std::vector<bool>& selectedLines, WorkProgress* progress)
{
    if (browserMode_ == tarvok::BrowserMode::FileView) {
        MarkSelected(backupList_, selectedLines);
        return DeleteSelectedBkUpFiles(backupList_, progress);
    }
    const std::string backupDir = Current().BackUpDir;
    DeleteFailures failures;
    for (const std::string* name : SelectedEntries(std::as_const(backupFolders_), selectedLines)) {
        DeleteFailures stayed = DeleteBkUpFolder(JoinPath(backupDir, *name), backupList_, progress);
        failures.insert(failures.end(), stayed.begin(), stayed.end());
    }
    platform::ReleaseFreedMemory(); // what the folders' lists took
    return failures;
}

std::optional<std::string> AppState::CurrentSkinFile() const
{
    const std::string skin = SkinPath(appDir_, settings_.SkinNo);
    if (!platform::FileExists(skin))
        return std::nullopt;
    return skin;
}

void AppState::PickRandomSkin(uint32_t seed) { settings_.SkinNo = RandomSkinNo(skinCount_, seed); }

void AppState::StepSkin(const std::function<bool(const std::string& path)>& load)
{
    StepToNextSkin(settings_.SkinNo, skinCount_, [&](int32_t skinNo) { return load(SkinPath(appDir_, skinNo)); });
}

bool AppState::EndWork()
{
    if (--workDepth_ > 0 || !closeHeld_)
        return false;
    closeHeld_ = false;
    return true;
}

TickSpan AppState::NextTick(const TickTime& now)
{
    const TickSpan ticks{lastTick_, now, clockSetSinceTick_};
    lastTick_ = now;
    clockSetSinceTick_ = false;
    return ticks;
}

bool AppState::RunDueBackups(const TickSpan& ticks, const Clock& clock, Dialogs& dialogs,
                             const StatusWriter& showStatus, WorkProgress* progress)
{
    if (settings_.TimerBkUp != 1)
        return false;
    const std::vector<PrjRec> due = DueProjects(projectList_, ticks);
    RunBackups(due, clock, dialogs, showStatus, progress);
    return !due.empty();
}

void AppState::HoldDueBackups(const TickSpan& ticks)
{
    if (settings_.TimerBkUp != 1)
        return;
    for (PrjRec& project : DueProjects(projectList_, ticks))
        heldBackups_.push_back(std::move(project));
}

bool AppState::RunHeldBackups(const Clock& clock, Dialogs& dialogs, const StatusWriter& showStatus,
                              WorkProgress* progress)
{
    const std::vector<PrjRec> held = std::exchange(heldBackups_, {});
    RunBackups(held, clock, dialogs, showStatus, progress);
    return !held.empty();
}

std::vector<std::string> AppState::SaveForClose()
{
    std::vector<std::string> notSaved;
    if (cleared_)
        return notSaved;
    SaveSettingsForClose(notSaved);
    SaveSourceListForClose(notSaved);
    return notSaved;
}

std::vector<std::string> AppState::SaveForSessionEnd()
{
    std::vector<std::string> notSaved;
    if (cleared_)
        return notSaved;
    // Each file on its own: one that cannot be written must not cost the other.
    try {
        SaveSettingsForClose(notSaved);
    } catch (const std::exception& error) {
        notSaved.push_back("The settings were not saved to " + SettingsPath(appDir_) + ": " + error.what() + ".");
    }
    try {
        SaveSourceListForClose(notSaved);
    } catch (const std::exception& error) {
        notSaved.push_back(std::string("The source list was not saved: ") + error.what() + ".");
    }
    return notSaved;
}

void AppState::SaveSettingsForClose(std::vector<std::string>& notSaved)
{
    if (settingsFile_.ReadError) {
        notSaved.push_back("The settings were not saved: " + SettingsPath(appDir_) + " could not be read (" +
                           settingsFile_.ReadError->what() + ").");
        return;
    }
    WriteSettingsFile();
}

void AppState::WriteSettingsFile()
{
    try {
        SaveSettings(appDir_, settings_, projectList_, settingsFile_);
    } catch (const EInOutError& error) {
        // Our folder could not be made at the start (a read-only home, say):
        // the write can only tell that the path is invalid, the folder why.
        const std::optional<std::string> why = platform::WhyAppDirIsMissing(appDir_);
        if (!why)
            throw;
        throw ErrorAtFile(EInOutError(error.ErrorCode(), *why), SettingsPath(appDir_));
    }
}

void AppState::SaveSourceListForClose(std::vector<std::string>& notSaved)
{
    if (IndexOfPrj(projectList_, current_) < 0)
        return;
    if (sourceListLoaded_)
        SaveSourceList();
    else if (!sourceListReadError_.empty())
        notSaved.push_back("The source list was not saved: " + ProjectFile() + " could not be read (" +
                           sourceListReadError_ + ").");
}

void AppState::Clear()
{
    ClearFileList(sourceList_);
    backupFolders_.clear();
    ClearFileList(backupList_);
    ClearPrjList(projectList_);
    current_ = nullptr;
    sourceListLoaded_ = false;
    cleared_ = true;
}

bool AppState::EndSession()
{
    if (sessionEnded_)
        return false;
    sessionEnded_ = true;
    return true;
}

} // namespace tarvok
