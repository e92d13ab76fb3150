#include "core/AppState.h"

#include "core/ProjectFile.h"
#include "core/SkinChoice.h"
#include "core/TextLines.h"
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
    SkinCount = CountFiles(JoinPath(appDir_, SkinFolder));
    LoadSettings(appDir_, Settings, ProjectList, settingsFile_);
    current_ = &ProjectList.front();
}

void AppState::UseDefaultSettings()
{
    Settings = AppSettings{};
    ClearPrjList(ProjectList);
    ClearPrjList(settingsFile_.Dormant);
    current_ = AddDefaultProject(appDir_, ProjectList);
}

PrjRec& AppState::Current()
{
    EnsureCurrentProject();
    return *current_;
}

bool AppState::SelectProject(int index)
{
    PrjRec* picked = GetPrj(ProjectList, index);
    if (!picked)
        return false;
    current_ = picked;
    return true;
}

void AppState::MakeCurrent(PrjRec* project)
{
    current_ = IndexOfPrj(ProjectList, project) >= 0 ? project : nullptr;
    EnsureCurrentProject();
}

void AppState::EnsureCurrentProject()
{
    if (IndexOfPrj(ProjectList, current_) >= 0)
        return;
    if (ProjectList.empty())
        AddDefaultProject(appDir_, ProjectList);
    current_ = &ProjectList.front();
}

std::string AppState::ProjectFile() const { return ProjectFilePath(current_->BackUpDir); }

void AppState::LoadSourceList()
{
    EnsureCurrentProject();
    sourceListLoaded_ = false;
    sourceListReadError_.clear();
    try {
        tarvok::LoadFileList(ProjectFile(), SourceList);
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
    return "The project file " + ProjectFile() + " could not be read, so the source list cannot be changed.";
}

bool AppState::IsInSourceList(const std::string& path) const
{
    for (const FileRec& file : SourceList)
        if (file.FileName == path)
            return true;
    return false;
}

std::vector<std::string> AppState::AddSources(const std::vector<std::string>& chosen)
{
    std::vector<std::string> refused;
    if (chosen.empty())
        return refused;
    LastDir = DirectoryPart(chosen.front());
    for (const std::string& path : chosen) {
        // The project file holds one path a line.
        if (HasLineBreak(path))
            refused.push_back(path);
        else if (!IsInSourceList(path))
            AddFile(SourceList, FileRec{path, 1, 0});
    }
    return refused;
}

std::vector<NameClash> AppState::NameClashesFrom(std::size_t firstAdded) const
{
    // The project file is there once the list was saved: the drive's answer
    // for its name in other case tells whether it folds case.
    const bool foldsCase = platform::FoldsCase(current_->BackUpDir, ProjectFileName);
    return SnapshotNameClashes(SourceList, foldsCase, firstAdded);
}

void AppState::RemoveSources(const std::vector<bool>& selectedLines)
{
    std::size_t line = 0;
    for (FileRec& file : SourceList) {
        file.Selected = line < selectedLines.size() && selectedLines[line] ? 1 : 0;
        ++line;
    }
    for (auto entry = SourceList.begin(); entry != SourceList.end();)
        entry = entry->Selected == 1 ? DelFile(SourceList, entry) : std::next(entry);
}

void AppState::SaveSourceList() { tarvok::SaveSourceList(ProjectFile(), SourceList); }

void AppState::ChangeBackupDir(const std::string& dir)
{
    Current().BackUpDir = dir;
    // The project must find its sources in its new directory at the next
    // start; another project's file already there is left as it is.
    const std::string projectFile = ProjectFilePath(dir);
    if (sourceListLoaded_ && !platform::FileExists(projectFile))
        tarvok::SaveSourceList(projectFile, SourceList);
}

void AppState::SaveSchedule(const ScheduleSelection& selection)
{
    ApplySchedule(Current(), selection);
    WriteSettingsFile();
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
    if (Settings.TimerBkUp != 1)
        return false;
    const std::vector<PrjRec> due = DueProjects(ProjectList, ticks);
    RunBackups(due, clock, dialogs, showStatus, progress);
    return !due.empty();
}

void AppState::HoldDueBackups(const TickSpan& ticks)
{
    if (Settings.TimerBkUp != 1)
        return;
    for (PrjRec& project : DueProjects(ProjectList, ticks))
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
        SaveSettings(appDir_, Settings, ProjectList, settingsFile_);
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
    if (IndexOfPrj(ProjectList, current_) < 0)
        return;
    if (sourceListLoaded_)
        SaveSourceList();
    else if (!sourceListReadError_.empty())
        notSaved.push_back("The source list was not saved: " + ProjectFile() + " could not be read (" +
                           sourceListReadError_ + ").");
}

void AppState::Clear()
{
    ClearFileList(SourceList);
    ClearFileList(BackupList);
    ClearPrjList(ProjectList);
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
