#include "core/BackupEngine.h"

#include "base/InOutError.h"
#include "base/VisibleText.h"
#include "core/BlockCopy.h"
#include "core/Dialogs.h"
#include "core/WorkProgress.h"
#include "platform/DriveCalls.h"
#include "platform/FileSystem.h"
#include "platform/Folder.h"
#include "platform/RawFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

namespace tarvok {
namespace {

using platform::DirEntry;

bool IsPlainDirectory(const DirEntry& entry) { return entry.Attr == platform::faDirectory; }

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
        return lower(static_cast<unsigned char>(x)) < lower(static_cast<unsigned char>(y));
    });
}

// A read-only file is kept, as on a file system that keeps the attribute;
// unlink alone would remove it.
void DeleteBackupFile(platform::Folder& folder, const std::string& name, DeleteFailures& failures)
{
    try {
        if (folder.IsReadOnly(name))
            throw EInOutError(5);
        folder.RemoveOrThrow(name);
    } catch (const EInOutError& error) {
        failures.push_back({JoinPath(folder.Path(), name), error});
    }
}

// Deletes work through a handle of the snapshot folder opened inside its
// backup directory and checked at that moment: whatever another user put in
// its place after the listing (a link to the user's own files, a folder of
// theirs) is refused, and nothing outside the folder is touched.
uint64_t BytesOf(const FileList& files)
{
    uint64_t total = 0;
    for (const FileRec& file : files)
        total += platform::FileSizeOf(file.FileName);
    return total;
}

platform::Folder OpenSnapshotIn(const platform::Folder& backups, const std::string& folder)
{
    return backups.OpenOwnFolder(FileNamePart(folder), PartialCopyPrefix);
}

// The backup `source` inside its snapshot folder, opened to be restored;
// nothing, after a warning saying why, when it is gone, a link or another
// user's file.
std::optional<platform::RawFile> OpenBackup(platform::Folder& snapshot, const std::string& source, Dialogs& dialogs)
{
    const std::string name = FileNamePart(source);
    switch (snapshot.WhoseEntry(name, PartialCopyPrefix)) {
    case platform::Folder::Whose::OwnLink:
        dialogs.Warning(VisibleName(source) + ": is a link and was not restored");
        return {};
    case platform::Folder::Whose::Other: dialogs.Warning(OthersFolderText(source)); return {};
    case platform::Folder::Whose::Missing:
    case platform::Folder::Whose::User: break;
    }
    std::optional<platform::RawFile> backup = snapshot.OpenOwnSource(name, PartialCopyPrefix);
    if (!backup)
        dialogs.Warning(MissingSourceText(source));
    return backup;
}

// The first `named` of `names` for a message, and how many more there are.
std::string FirstNames(const std::vector<std::string>& names, size_t named)
{
    std::string text;
    for (size_t i = 0; i < names.size() && i < named; ++i)
        text += (i > 0 ? ", " : "") + VisibleName(names[i]);
    if (names.size() > named)
        text += " and " + std::to_string(names.size() - named) + " more";
    return text;
}

// What a stopped restore adds to its error: the files it had restored;
// nothing when there were none.
std::string RestoredBefore(const std::vector<std::string>& restored)
{
    return restored.empty() ? std::string() : "\nRestored before it stopped: " + FirstNames(restored, 10);
}

} // namespace

std::string SnapshotFolderName(const LocalTime& time)
{
    char name[40];
    std::snprintf(name, sizeof name, "%02d_%02d_%02d", time.Month, time.Day, time.Hour);
    return name;
}

std::vector<NameClash> BackUpFileList(const FileList& Files, const std::string& BackUpDir, const Clock& clock,
                                      Dialogs& dialogs, WorkProgress* progress)
{
    if (progress)
        progress->Begin(BytesOf(Files));
    const std::string snapshot = JoinPath(BackUpDir, SnapshotFolderName(clock.Now()));
    // A failure shows up at the first copy, with the reason the folder is missing.
    std::optional<EInOutError> notMade;
    if (!platform::DirectoryExists(snapshot))
        notMade = platform::Folder::MakePrivate(snapshot);
    // Opened at the first copy; a folder that is not the user's is refused
    // before anything is written into it.
    std::optional<platform::Folder> folder;
    FileList copied;
    std::vector<std::string> written; // may repeat a name: flushed twice then
    for (const FileRec& file : Files) {
        if (!platform::FileExists(file.FileName))
            continue;
        copied.push_back(file);
        if (!folder) {
            try {
                folder.emplace(platform::Folder::OpenPrivate(snapshot, PartialCopyPrefix));
            } catch (const EInOutError& error) {
                throw ErrorAtFile(notMade && !platform::DirectoryExists(snapshot) ? *notMade : error, snapshot);
            }
            folder->RemoveAbandonedTemporaries(PartialCopyPrefix);
        }
        try {
            CopyIntoFolder(file.FileName, *folder, FileNamePart(file.FileName), dialogs, progress);
            written.push_back(FileNamePart(file.FileName));
        } catch (const EInOutError& error) {
            // What was copied before the error is kept; the error says which file stopped the run.
            try {
                folder->Flush(written);
            } catch (const EInOutError&) {
            }
            throw ErrorAtFile(error, file.FileName);
        }
    }
    // Each file's write-back started as it was closed; waiting for this
    // run's files alone leaves out whatever else the drive is writing.
    if (folder)
        folder->Flush(written);
    std::vector<NameClash> clashes = SnapshotNameClashes(copied, true);
    const auto caseOnly = std::find_if(clashes.begin(), clashes.end(), [](const NameClash& c) { return c.CaseOnly; });
    if (caseOnly != clashes.end() && !platform::FoldsCase(snapshot, FileNamePart(caseOnly->Kept)))
        return SnapshotNameClashes(copied, false);
    return clashes;
}

std::vector<std::string> ListBkUpFolders(const std::string& Dir, std::vector<std::string>* othersFolders)
{
    std::vector<std::string> names;
    std::optional<platform::Folder> backups;
    try {
        backups.emplace(platform::Folder::Open(Dir));
    } catch (const EInOutError&) {
        return names;
    }
    for (DirEntry& entry : backups->List()) {
        if (!IsPlainDirectory(entry))
            continue;
        if (backups->WhoseEntry(entry.Name, PartialCopyPrefix) != platform::Folder::Whose::User) {
            if (othersFolders)
                othersFolders->push_back(JoinPath(Dir, entry.Name));
            continue;
        }
        names.push_back(std::move(entry.Name));
    }
    std::stable_sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
}

std::string OthersFolderText(const std::string& folder) { return VisibleName(folder) + ": belongs to another user"; }

void LoadBkUpFolder(const std::string& Folder, FileList& List, WorkProgress* progress)
{
    ClearFileList(List);
    if (!platform::DirectoryExists(Folder))
        return;
    try {
        OpenSnapshotIn(platform::Folder::Open(DirectoryPart(Folder)), Folder);
    } catch (const EInOutError&) {
        return;
    }
    if (progress)
        progress->Begin(0);
    const auto read = [progress] {
        if (progress)
            progress->Advance(1);
    };
    for (const DirEntry& entry : platform::ListDirectory(Folder, read))
        if (platform::IsFileEntry(entry) && !IsPartialCopyName(entry.Name) && !platform::IsAsideName(entry.Name))
            AddFile(List, FileRec{JoinPath(Folder, entry.Name), 1, 0});
}

std::string BakFileName(const std::string& path)
{
    const std::string name = FileNamePart(path);
    const std::string dir = path.substr(0, path.size() - name.size());
    // A leading dot starts a hidden name, not an extension: ".profile" keeps it.
    const auto dot = name.rfind('.');
    std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    if (stem.size() + 4 <= MaxFileNameBytes)
        return dir + stem + ".BAK";
    uint32_t hash = 2166136261u; // FNV-1a
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    char tail[16];
    std::snprintf(tail, sizeof tail, "~%08x.BAK", hash);
    size_t keep = MaxFileNameBytes - std::strlen(tail);
    while (keep > 0 && (static_cast<unsigned char>(stem[keep]) & 0xc0) == 0x80) // not inside a character
        --keep;
    return dir + stem.substr(0, keep) + tail;
}

EBackupFileError BackupFileErrorAt(const std::string& bakPath)
{
    return EBackupFileError(VisibleName(bakPath) + ": Unable to create backup file.");
}

void RestoreBkUpFiles(const std::vector<std::string>& Sources, const std::string& DestDir, Dialogs& dialogs,
                      WorkProgress* progress)
{
    // Opened once: whatever the path leads to later (a link in a shared
    // folder turned to the user's own files), every step happens here.
    platform::Folder folder = [&] {
        try {
            return platform::Folder::Open(DestDir);
        } catch (const EInOutError& error) {
            throw ErrorAtFile(error, DestDir);
        }
    }();
    if (progress) {
        uint64_t total = 0;
        for (const std::string& source : Sources)
            total += platform::FileSizeOf(source);
        progress->Begin(total);
    }
    std::optional<platform::Folder> snapshot;
    std::vector<std::string> restored;
    for (const std::string& source : Sources) {
        const std::string name = FileNamePart(source);
        const std::string dest = JoinPath(DestDir, name);
        // A vanished backup must not leave the current file renamed.
        if (!platform::FileExists(source)) {
            dialogs.Warning(MissingSourceText(source));
            continue;
        }
        if (!snapshot || snapshot->Path() != DirectoryPart(source)) {
            snapshot.reset();
            try {
                snapshot.emplace(OpenSnapshotIn(platform::Folder::Open(DirectoryPart(DirectoryPart(source))),
                                                DirectoryPart(source)));
            } catch (const EInOutError& error) {
                throw EInOutError(error.ErrorCode(),
                                  ErrorAtFile(error, DirectoryPart(source)).what() + RestoredBefore(restored));
            }
        }
        try {
            std::optional<platform::RawFile> backup = OpenBackup(*snapshot, source, dialogs);
            if (!backup)
                continue;
            // The copy is made whole beside the current file first, so
            // whatever fails, that file keeps its own name.
            PendingCopy copy = PendingCopy::Make(std::move(*backup), folder, name, true, progress);
            if (!folder.ReplaceKeepingOld(copy.Temporary(), name, BakFileName(name)))
                throw BackupFileErrorAt(JoinPath(DestDir, BakFileName(name)));
            copy.Placed();
            restored.push_back(name);
        } catch (const EInOutError& error) {
            throw EInOutError(error.ErrorCode(), ErrorAtFile(error, dest).what() + RestoredBefore(restored));
        } catch (const EBackupFileError& error) {
            throw EBackupFileError(error.what() + RestoredBefore(restored));
        }
    }
}

void RestoreBkUpFile(const std::string& Source, const std::string& DestDir, Dialogs& dialogs)
{
    RestoreBkUpFiles({Source}, DestDir, dialogs);
}

DeleteFailures DeleteBkUpFolder(const std::string& Folder, FileList& List, WorkProgress* progress)
{
    DeleteFailures failures;
    ClearFileList(List);
    if (!platform::DirectoryExists(Folder))
        return failures;
    try {
        platform::Folder backups = platform::Folder::Open(DirectoryPart(Folder));
        platform::Folder snapshot = OpenSnapshotIn(backups, Folder);
        const std::vector<DirEntry> entries = snapshot.List();
        if (progress)
            progress->Begin(entries.size());
        for (const DirEntry& entry : entries) {
            if (progress)
                progress->Advance(1);
            if (!platform::IsFileEntry(entry))
                continue;
            // Copies and moves cut short by a kill are not listed, but must not keep the folder.
            if ((IsPartialCopyName(entry.Name) && snapshot.IsAbandoned(entry.Name)) ||
                platform::IsAsideName(entry.Name))
                snapshot.Remove(entry.Name);
            else if (IsPartialCopyName(entry.Name))
                continue; // a live copy's: it keeps the folder
            else
                DeleteBackupFile(snapshot, entry.Name, failures);
        }
        std::vector<std::string> left;
        for (const DirEntry& entry : snapshot.List())
            left.push_back(entry.Name);
        if (left.empty())
            backups.RemoveFolderOrThrow(FileNamePart(Folder), snapshot);
        else if (failures.empty()) // files reported above say why already
            failures.push_back({Folder, EInOutError(5, "It still holds " + FirstNames(left, 5))});
    } catch (const EInOutError& error) {
        failures.push_back({Folder, error});
    }
    return failures;
}

DeleteFailures DeleteSelectedBkUpFiles(FileList& List, WorkProgress* progress)
{
    DeleteFailures failures;
    if (progress)
        progress->Begin(static_cast<uint64_t>(
            std::count_if(List.begin(), List.end(), [](const FileRec& file) { return file.Selected == 1; })));
    for (auto it = List.begin(); it != List.end();) {
        if (it->Selected != 1) {
            ++it;
            continue;
        }
        if (progress)
            progress->Advance(1);
        const size_t before = failures.size();
        try {
            const std::string folder = DirectoryPart(it->FileName);
            platform::Folder snapshot = OpenSnapshotIn(platform::Folder::Open(DirectoryPart(folder)), folder);
            DeleteBackupFile(snapshot, FileNamePart(it->FileName), failures);
        } catch (const EInOutError& error) {
            failures.push_back({it->FileName, error});
        }
        if (failures.size() == before) {
            it = DelFile(List, it);
        } else {
            it->Selected = 0;
            ++it;
        }
    }
    return failures;
}

} // namespace tarvok
