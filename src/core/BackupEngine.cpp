#include "core/BackupEngine.h"

#include "core/BlockCopy.h"
#include "platform/FileSystem.h"
#include "platform/Folder.h"
#include "platform/RawFile.h"

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
void DeleteUnlessReadOnly(const std::string& path)
{
    if (!platform::IsReadOnly(path))
        platform::DeleteFile(path);
}

bool SameFile(const std::string& a, const std::string& b)
{
    const std::optional<platform::RawFile> file = platform::RawFile::OpenSource(a);
    return file && file->IsSameFileAs(b);
}

} // namespace

const char* BrowserKindWord(BrowserMode mode)
{
    return mode == BrowserMode::FolderView ? "Folder" : "File";
}

std::string SnapshotFolderName(const LocalTime& time)
{
    char name[40];
    std::snprintf(name, sizeof name, "%02d_%02d_%02d", time.Month, time.Day, time.Hour);
    return name;
}

void BackUpFileList(const FileList& Files, const std::string& BackUpDir, const Clock& clock,
                    Dialogs& dialogs)
{
    const std::string snapshot = JoinPath(BackUpDir, SnapshotFolderName(clock.Now()));
    // A failure shows up at the first copy, as "Invalid filename".
    if (!platform::DirectoryExists(snapshot))
        platform::Folder::CreatePrivate(snapshot);
    // Opened at the first copy; a folder that is not the user's is refused
    // before anything is written into it.
    std::optional<platform::Folder> folder;
    std::optional<CopyBatch> copies;
    try {
        for (const FileRec& file : Files) {
            if (!platform::FileExists(file.FileName))
                continue;
            if (!folder) {
                folder.emplace(platform::Folder::OpenPrivate(snapshot));
                folder->RemoveOthersTemporaries(PartialCopyPrefix);
                copies.emplace(*folder);
            }
            copies->Copy(file.FileName, FileNamePart(file.FileName), dialogs);
        }
    } catch (...) {
        // What was copied before the error is kept.
        if (copies)
            copies->Commit();
        throw;
    }
    if (copies)
        copies->Commit();
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

void LoadBkUpFolder(const std::string& Folder, FileList& List)
{
    ClearFileList(List);
    if (!platform::DirectoryExists(Folder))
        return;
    for (const DirEntry& entry : platform::ListDirectory(Folder))
        if (platform::IsFileEntry(entry) && !IsPartialCopyName(entry.Name))
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

void RestoreBkUpFile(const std::string& Source, const std::string& DestDir, Dialogs& dialogs)
{
    const std::string dest = JoinPath(DestDir, FileNamePart(Source));
    // Only make room when there is something to restore: a vanished backup
    // must not leave the current file renamed. Restoring a file onto itself
    // is refused by the copy, so that file keeps its name too.
    if (platform::FileExists(Source) && platform::FileExists(dest) && !SameFile(Source, dest)) {
        if (!platform::RenameFileNoReplace(dest, BakFileName(dest)))
            throw EBackupFileError();
    }
    CopyFileByBlock(Source, dest, dialogs);
}

void DeleteBkUpFolder(const std::string& Folder, FileList& List)
{
    LoadBkUpFolder(Folder, List);
    while (!List.empty()) {
        DeleteUnlessReadOnly(List.front().FileName);
        DelFile(List, List.begin());
    }
    // A copy cut short by a kill is not listed, but must not keep the folder.
    for (const DirEntry& entry : platform::ListDirectory(Folder))
        if (platform::IsFileEntry(entry) && IsPartialCopyName(entry.Name))
            platform::DeleteFile(JoinPath(Folder, entry.Name));
    platform::RemoveDir(Folder);
}

void DeleteSelectedBkUpFiles(FileList& List)
{
    for (auto it = List.begin(); it != List.end();) {
        if (it->Selected != 1) {
            ++it;
            continue;
        }
        DeleteUnlessReadOnly(it->FileName);
        it = DelFile(List, it);
    }
}

} // namespace tarvok
