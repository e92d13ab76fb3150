#pragma once
#include "core/AutoBackup.h"
#include "core/BackupEngine.h"
#include "core/FileUtility.h"
#include "core/KeyState.h"
#include "core/Schedule.h"
#include "core/Settings.h"

#include <cstdint>
#include <optional>
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

    AppSettings Settings;
    tarvok::ProjectList ProjectList;
    FileList SourceList;
    FileList BackupList; // the snapshot folder the browser shows
    tarvok::BrowserMode BrowserMode = tarvok::BrowserMode::FolderView;
    std::string LastDir;    // the last directory files were added from or restored to
    uint16_t SkinCount = 0; // files in AppDir/Skin, counted at the start
    tarvok::KeyState KeyState;

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
    PrjRec& Current();
    int CurrentIndex() const { return IndexOfPrj(ProjectList, current_); }
    // Makes the project at `index` current; false when there is none.
    bool SelectProject(int index);
    // Makes `project` current when it is a record of ProjectList (an editor
    // of the list hands back its choice), else the first project.
    void MakeCurrent(PrjRec* project);

    // ---- The current project's source list ----------------------------------
    // Reads the current project's file into SourceList. Until it is read the
    // list belongs to no project, so a failure (thrown) keeps the close from
    // writing the list over the file.
    void LoadSourceList();
    bool SourceListLoaded() const { return sourceListLoaded_; }
    // Why the source list may not change, or nothing when it may.
    std::optional<std::string> SourceListLocked() const;
    bool IsInSourceList(const std::string& path) const;
    // Adds the chosen files not yet listed and remembers their folder;
    // returns the paths refused for holding a line break.
    std::vector<std::string> AddSources(const std::vector<std::string>& chosen);
    // The entries from position `firstAdded` on that take the snapshot name
    // of an entry before them (see SnapshotNameClashes), letter case counting
    // as the project's backup drive counts it.
    std::vector<NameClash> NameClashesFrom(std::size_t firstAdded) const;
    // Removes the entries whose line is selected, line i showing entry i.
    void RemoveSources(const std::vector<bool>& selectedLines);
    // Writes the source list to the current project's file.
    void SaveSourceList();
    // The current project moves to `dir`; its list goes along unless
    // another project's file is already there.
    void ChangeBackupDir(const std::string& dir);
    // Applies the schedule panel's choice to the current project and writes
    // the settings file.
    void SaveSchedule(const ScheduleSelection& selection);

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
    // Makes the current project a record of ProjectList again, recreating
    // the default project when the list is empty.
    void EnsureCurrentProject();
    std::string ProjectFile() const;
    // SaveSettings, naming why our folder is missing where that is the cause.
    void WriteSettingsFile();
    void SaveSettingsForClose(std::vector<std::string>& notSaved);
    void SaveSourceListForClose(std::vector<std::string>& notSaved);

    std::string appDir_;
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
