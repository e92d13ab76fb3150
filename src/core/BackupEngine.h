#pragma once
#include "base/Clock.h"
#include "base/InOutError.h"
#include "core/BrowserView.h"
#include "core/FileUtility.h"
#include "core/NameClash.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvok {

class Dialogs;
class WorkProgress;

// MM_DD_HH, each part two digits, from the local time of the run.
std::string SnapshotFolderName(const LocalTime& time);

// One backup run: creates the snapshot folder inside BackUpDir (one level,
// mode 0700, BackUpDir itself is not created) and copies every existing file
// of Files flat into it under its own name; missing files are skipped. A
// snapshot folder that is a link or another user's is refused before anything
// is written. Each copy replaces its earlier one as soon as it is whole; at
// the end the run waits for its own files to reach the disk, not for other
// programs' writes. A copy error (EInOutError, naming the
// file) ends the run at that file, keeping the copies made before it.
// Answers the sources that have no copy in the snapshot because a later one
// landed on the same name (names that differ only in case count where the
// drive folds case).
// The bytes copied are told to `progress`, where there is one.
std::vector<NameClash> BackUpFileList(const FileList& Files, const std::string& BackUpDir, const Clock& clock,
                                      Dialogs& dialogs, WorkProgress* progress = nullptr);

// What a run leaves to tell: the snapshot folder it wrote and the sources
// that got no copy of their own there.
struct BackupRun {
    std::string Snapshot;
    std::vector<NameClash> Clashes;
};

// Names of the snapshot folders directly inside Dir: entries that are plain
// directories and nothing else (not hidden, not read-only, not links) and
// the user's own (or root's), sorted once ignoring case. A missing or
// unreadable Dir gives none. Another user's folders are passed over; their
// full paths go to `othersFolders`, where given.
std::vector<std::string> ListBkUpFolders(const std::string& Dir, std::vector<std::string>* othersFolders = nullptr);

// The line the browser shows for a snapshot folder of another user.
std::string OthersFolderText(const std::string& folder);

// Replaces List with every entry of Folder that is not a directory nor an
// unfinished copy, in the file system's order, each with its full path and
// Exist 1. A folder that is not the user's own (another user's, or a link)
// gives none.
// Each entry read is told to `progress`, where there is one (whose total is
// not known beforehand: 0).
void LoadBkUpFolder(const std::string& Folder, FileList& List, WorkProgress* progress = nullptr);

// The name an existing file is given before a restore overwrites it: the
// last extension of its file name replaced by ".BAK", or ".BAK" appended.
// A name that would pass MaxFileNameBytes so is cut: the longest start of
// the stem (whole UTF-8 characters) that leaves room for "~", eight hex
// digits of a hash of the whole file name, and ".BAK"; names that share a
// long start thus keep ".BAK" names of their own.
std::string BakFileName(const std::string& path);
// The longest file name the drives we write to store (ext4, FAT, exFAT and
// NTFS alike, 255 bytes of UTF-8 at most).
inline constexpr std::size_t MaxFileNameBytes = 255;

// Raised when an existing destination cannot be renamed to its ".BAK" name.
class EBackupFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// "<bak>: Unable to create backup file."
EBackupFileError BackupFileErrorAt(const std::string& bakPath);

// Restores backed-up files into DestDir, each under its own name. DestDir
// is opened once and every step happens inside what was opened, whatever
// its path leads to later. Each copy is made whole under a temporary name
// first; then a file already there takes its ".BAK" name, never replacing
// an existing ".BAK" file (EBackupFileError then), and the copy takes its
// place; where the drive has hard links or exchanges, the name is never
// free in between. Whatever fails, the file there keeps its own name. A
// vanished backup only gets the copy's missing-file warning and leaves the
// destination alone. An error that stops the restore says which files were
// restored before it. Backups are read only from a snapshot folder of the
// user's own, never through a link: an entry that is a link or another
// user's file is not restored, and a warning says so.
void RestoreBkUpFiles(const std::vector<std::string>& Sources, const std::string& DestDir, Dialogs& dialogs,
                      WorkProgress* progress = nullptr);
void RestoreBkUpFile(const std::string& Source, const std::string& DestDir, Dialogs& dialogs);

// Deletes the files directly inside Folder, then the folder itself when
// nothing is left in it; List ends up empty. What could not be removed stays
// in place and is answered; a folder kept by anything else (a subfolder, a
// live copy's temporary) is answered with what it still holds. Works inside the folder as it is at this moment:
// one that is now a link or not the user's is answered, nothing in it deleted.
// Both deletes tell each file done to `progress`, where there is one.
[[nodiscard]] DeleteFailures DeleteBkUpFolder(const std::string& Folder, FileList& List,
                                              WorkProgress* progress = nullptr);

// Deletes the files of the entries of List whose Selected is 1 and removes
// those entries; an entry whose file stays is kept, unselected, and answered.
// A snapshot folder that is now a link or not the user's keeps its files.
[[nodiscard]] DeleteFailures DeleteSelectedBkUpFiles(FileList& List, WorkProgress* progress = nullptr);

} // namespace tarvok
