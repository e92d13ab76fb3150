#include "core/BackupEngine.h"

#include "base/InOutError.h"
#include "core/BlockCopy.h"
#include "core/Dialogs.h"
#include "core/WorkProgress.h"
#include "platform/DriveCalls.h"
#include "platform/FileSystem.h"
#include "platform/Folder.h"

#include <algorithm>
#include <cstdio>
#include <optional>

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
        } catch (const EInOutError& error) {
            // What was copied before the error is kept; the error says which file stopped the run.
            try {
                folder->Flush();
            } catch (const EInOutError&) {
            }
            throw ErrorAtFile(error, file.FileName);
        }
    }
    // One flush for all: a flush per file would cost more than the copies.
    if (folder)
        folder->Flush();
    std::vector<NameClash> clashes = SnapshotNameClashes(copied, true);
    const auto caseOnly = std::find_if(clashes.begin(), clashes.end(), [](const NameClash& c) { return c.CaseOnly; });
    if (caseOnly != clashes.end() && !platform::FoldsCase(snapshot, FileNamePart(caseOnly->Kept)))
        return SnapshotNameClashes(copied, false);
    return clashes;
}

std::vector<std::string> ListBkUpFolders(const std::string& Dir)
{
    std::vector<std::string> names;
    for (DirEntry& entry : platform::ListDirectory(Dir))
        if (IsPlainDirectory(entry))
            names.push_back(std::move(entry.Name));
    std::stable_sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
}

void LoadBkUpFolder(const std::string& Folder, FileList& List, WorkProgress* progress)
{
    ClearFileList(List);
    if (!platform::DirectoryExists(Folder))
        return;
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
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    return dir + stem + ".BAK";
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
    for (const std::string& source : Sources) {
        const std::string name = FileNamePart(source);
        const std::string dest = JoinPath(DestDir, name);
        // A vanished backup must not leave the current file renamed.
        if (!platform::FileExists(source)) {
            dialogs.Warning(MissingSourceText(source));
            continue;
        }
        try {
            // The copy is made whole beside the current file first, so
            // whatever fails, that file keeps its own name.
            std::optional<PendingCopy> copy = PendingCopy::Make(source, folder, name, dialogs, true, progress);
            if (!copy)
                continue;
            if (!folder.ReplaceKeepingOld(copy->Temporary(), name, BakFileName(name)))
                throw EBackupFileError();
            copy->Placed();
        } catch (const EInOutError& error) {
            throw ErrorAtFile(error, dest);
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
        // A folder kept by a subfolder, or by files reported above, is no news.
        if (snapshot.List().empty())
            backups.RemoveFolderOrThrow(FileNamePart(Folder), snapshot);
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
