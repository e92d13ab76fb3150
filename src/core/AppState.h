#pragma once
#include "core/AutoBackup.h"
#include "core/BackupEngine.h"
#include "core/FileUtility.h"
#include "core/KeyState.h"
#include "core/Schedule.h"
#include "core/Settings.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tarvok {

// The program's state and what may be done with it, apart from any window:
// the projects and the current one, the settings and the files they come
// from, the current project's source list, the browser's listing, and the
// guards that keep work and a close or a reload from freeing each other's
// records. The window shows it and forwards the user's commands to it.
class AppState {
public:
    explicit AppState(std::string appDir);
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    const std::string& AppDir() const { return appDir_; }

    // What the window shows; changed only through the operations below.
    const AppSettings& Settings() const { return settings_; }
    const tarvok::ProjectList& ProjectList() const { return projectList_; }
    const FileList& SourceList() const { return sourceList_; }
    const FileList& BackupList() const { return backupList_; } // the snapshot folder the browser shows
    // The snapshot folders the browser shows in its folder view, by name.
    const std::vector<std::string>& BackupFolders() const { return backupFolders_; }
    tarvok::BrowserMode BrowserMode() const { return browserMode_; }
    // The last directory files were added from or restored to.
    const std::string& LastDir() const { return lastDir_; }
    uint16_t SkinCount() const { return skinCount_; } // files in AppDir/Skin, counted at the start
    const tarvok::KeyState& KeyState() const { return keyState_; }

    // ---- Start and the current project -----------------------------------
    // Makes the default backup directory, counts the skins and reads the
    // settings file. A file that exists but cannot be read throws
    // EInOutError; UseDefaultSettings then gives the run a start.
    void LoadAtStart();
    // The defaults and the default project; the unreadable file is never
    // replaced in this run.
    void UseDefaultSettings();
    // Always a record of ProjectList: the first when the current one is
    // gone, the default project when the list is empty.
    const PrjRec& Current();
    int CurrentIndex() const { return IndexOfPrj(projectList_, current_); }
    // Makes a record of ProjectList current again when the current one was
    // deleted, recreating the default project when the list is empty.
    void EnsureCurrentProject();
    // Makes the project at `index` current; false when there is none.
    bool SelectProject(int index);

    // ---- The projects -------------------------------------------------------
    // Adds a project in the default folder, whose file is made there when
    // missing (a project without one is dropped at the next start; one
    // already there is shared). Returns its index.
    int AddProject(const std::string& name);
    // The current project's deletion leaves the first current.
    void DeleteProject(int index);
    void RenameProject(int index, const std::string& name);
    // The project moves to `dir`, its file along unless another is there.
    void MoveProject(int index, const std::string& dir);
    void ToggleAutoBackup(int index);

    // ---- The current project's source list ----------------------------------
    // Reads the current project's file into SourceList. Until it is read the
    // list belongs to no project, so a failure (thrown) keeps the close from
    // writing the list over the file.
    void LoadSourceList();
    bool SourceListLoaded() const { return sourceListLoaded_; }
    // Why the source list may not change, or nothing when it may.
    std::optional<std::string> SourceListLocked() const;
    bool IsInSourceList(const std::string& path) const;
    // Where the open dialog for new sources starts.
    std::string AddStartDir() const;
    // Adds the chosen files not yet listed, remembers their folder and
    // writes the list; returns the paths refused for holding a line break.
    std::vector<std::string> AddSources(const std::vector<std::string>& chosen);
    // The entries from position `firstAdded` on that take the snapshot name
    // of an entry before them (see SnapshotNameClashes), letter case counting
    // as the project's backup drive counts it.
    std::vector<NameClash> NameClashesFrom(std::size_t firstAdded) const;
    // Removes the entries whose line is selected and writes the list. Lines
    // here and below show the list's entries in order: line i, entry i.
    void RemoveSources(const std::vector<bool>& selectedLines);
    // Writes the source list to the current project's file.
    void SaveSourceList();
    // The first selected entry of `list` whose file still exists.
    static std::optional<std::string> FirstExistingSelected(const FileList& list,
                                                            const std::vector<bool>& selectedLines);
    // The current project moves to `dir`; its list goes along unless
    // another project's file is already there.
    void ChangeBackupDir(const std::string& dir);
    // Applies the schedule panel's choice to the current project and writes
    // the settings file.
    void SaveSchedule(const ScheduleSelection& selection);
    // The panel's day and hour boxes change the current project at once;
    // the settings file is written by Set or at the close.
    void SetBackupDay(uint8_t day);
    void SetBackupHour(uint8_t hour);
    void SetTimerBackups(bool on) { settings_.TimerBkUp = on ? 1 : 0; }

    // ---- The backup directory and its snapshots -------------------------------
    // Copies the current project's sources into a new snapshot folder.
    BackupRun BackUp(const Clock& clock, Dialogs& dialogs, WorkProgress* progress);
    // Lists the snapshot folders of `dir` for the folder view. Answers the
    // lines to tell about other users' folders there, each folder once a run.
    std::vector<std::string> ShowBackupFolders(const std::string& dir);
    // Reads the first selected snapshot folder for the file view, which
    // stays a folder view while the folder holds no file.
    void OpenSnapshot(const std::vector<bool>& selectedLines, WorkProgress* progress);
    // Restores the selected files of the file view into `dir`.
    void RestoreSelected(const std::vector<bool>& selectedLines, const std::string& dir, Dialogs& dialogs,
                         WorkProgress* progress);
    // Deletes the selected snapshot folders, or the selected files of one.
    DeleteFailures DeleteSelected(const std::vector<bool>& selectedLines, WorkProgress* progress);

    // ---- Skins and keys ------------------------------------------------------------
    // The current skin's file, while it exists.
    std::optional<std::string> CurrentSkinFile() const;
    void PickRandomSkin(uint32_t seed);
    // Steps to the next skin `load` accepts (see StepToNextSkin).
    void StepSkin(const std::function<bool(const std::string& path)>& load);
    void ToggleRandomSkin() { settings_.RandomSkin = settings_.RandomSkin ? 0 : 1; }
    bool TimelySkinChange() const { return timelySkinChange_; }
    void ToggleTimelySkinChange() { timelySkinChange_ = !timelySkinChange_; }
    uint32_t SkinChangePeriod() const { return 30000; } // milliseconds
    // Whether the controls show over the skin.
    bool ComponentsShown() const { return componentsShown_; }
    void ToggleComponentsShown() { componentsShown_ = !componentsShown_; }
    // True when the key was recorded under Ctrl (see NoteKeyDown).
    bool NoteKeyDown(uint16_t key) { return tarvok::NoteKeyDown(keyState_, key); }
    void NoteKeyUp(uint16_t key) { tarvok::NoteKeyUp(keyState_, key); }
    void ForgetKey(uint16_t key) { keyState_.Flags.at(key) = 0; }
    void ForgetKeys() { ClearKeyState(keyState_); }

    // ---- Work on the lists ------------------------------------------------
    // A backup run, a restore or automatic backups walk the lists and may
    // wait in a box meanwhile; a close or a reload during it waits until it
    // is over, since both would free the records being walked.
    void BeginWork() { ++workDepth_; }
    // True when this ended the last work and a close was held back for it.
    bool EndWork();
    bool Working() const { return workDepth_ > 0; }
    void HoldClose() { closeHeld_ = true; }
    // A reload the window owes once a box or the work is over.
    void OweRefresh() { refreshOwed_ = true; }
    bool RefreshOwed() const { return refreshOwed_; }
    void RefreshDone() { refreshOwed_ = false; }

    // ---- The tick ------------------------------------------------------------
    // What this tick decides with: the tick before it and whether the system
    // clock was set since. Remembered at once, so a tick running inside a box
    // that this one opens sees this one as the tick before it.
    TickSpan NextTick(const TickTime& now);
    void ClockWasSet() { clockSetSinceTick_ = true; }
    // Runs the projects due at this tick when automatic backups are on;
    // returns whether any ran.
    bool RunDueBackups(const TickSpan& ticks, const Clock& clock, Dialogs& dialogs, const StatusWriter& showStatus,
                       WorkProgress* progress = nullptr);
    // A tick that falls in the middle of a run (between its steps, not in a
    // box it opened) keeps what is due for after it: a run never starts
    // inside another, and no due project is lost to a long one.
    void HoldDueBackups(const TickSpan& ticks);
    bool HasHeldBackups() const { return !heldBackups_.empty(); }
    bool RunHeldBackups(const Clock& clock, Dialogs& dialogs, const StatusWriter& showStatus,
                        WorkProgress* progress = nullptr);

    // ---- The end ------------------------------------------------------------------
    // The close's writes: the settings file and the current source list,
    // each unless it could not be read, which is said in the returned
    // sentences. A write failure throws. Returns nothing a second time: the
    // lists are emptied after the first.
    std::vector<std::string> SaveForClose();
    // The same for the session's end, where nobody is left to answer: each
    // file on its own, a failure becoming one more sentence.
    std::vector<std::string> SaveForSessionEnd();
    // Frees the lists after the close. Nothing is written after it: the
    // emptied lists would replace the user's files.
    void Clear();
    // True the first time only.
    bool EndSession();
    bool SessionEnded() const { return sessionEnded_; }

private:
    std::string ProjectFile() const;
    // SaveSettings, naming why our folder is missing where that is the cause.
    void WriteSettingsFile();
    void SaveSettingsForClose(std::vector<std::string>& notSaved);
    void SaveSourceListForClose(std::vector<std::string>& notSaved);

    // Current(), to be changed.
    PrjRec& EditedCurrent();
    // The entries of `list` whose line is selected.
    template <typename List> static auto SelectedEntries(List& list, const std::vector<bool>& selectedLines);
    // Marks those entries Selected and only those, as the engine's deletes want.
    static void MarkSelected(FileList& list, const std::vector<bool>& selectedLines);

    std::string appDir_;
    AppSettings settings_;
    tarvok::ProjectList projectList_;
    FileList sourceList_;
    FileList backupList_;
    std::vector<std::string> backupFolders_;
    std::set<std::string> othersFoldersTold_;
    tarvok::BrowserMode browserMode_ = tarvok::BrowserMode::FolderView;
    std::string lastDir_;
    uint16_t skinCount_ = 0;
    tarvok::KeyState keyState_;
    bool timelySkinChange_ = true;
    bool componentsShown_ = true;
    SettingsFileState settingsFile_; // dormant projects; why the settings file could not be read
    PrjRec* current_ = nullptr;
    bool sourceListLoaded_ = false;
    std::string sourceListReadError_; // why the current project's file could not be read
    int workDepth_ = 0;
    bool closeHeld_ = false;
    bool refreshOwed_ = false;
    std::optional<TickTime> lastTick_;
    std::vector<PrjRec> heldBackups_;
    bool clockSetSinceTick_ = false;
    bool sessionEnded_ = false;
    bool cleared_ = false;
};

} // namespace tarvok
