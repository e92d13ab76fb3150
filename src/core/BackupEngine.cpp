#include "core/BackupEngine.h"

#include "core/BlockCopy.h"
#include "platform/FileSystem.h"
#include "platform/RawFile.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

namespace tarvok {
namespace {

using platform::DirEntry;

bool IsPlainDirectory(const DirEntry& entry) { return entry.Attr == platform::faDirectory; }

bool IsFileEntry(const DirEntry& entry)
{
    return (entry.Attr & (platform::faDirectory | platform::faVolumeID)) == 0;
}

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
        return lower(static_cast<unsigned char>(x)) < lower(static_cast<unsigned char>(y));
    });
}

void FillFromEntries(const std::string& Folder, const std::vector<DirEntry>& entries, FileList& List)
{
    for (const DirEntry& entry : entries)
        if (IsFileEntry(entry))
            AddFile(List, FileRec{JoinPath(Folder, entry.Name), 1, 0});
}

// The names of the read-only files of one directory. A read-only file is
// protected from deletion here as it would be on a file system that keeps
// the attribute; unlink alone would remove it.
std::set<std::string> ReadOnlyNames(const std::vector<DirEntry>& entries)
{
    std::set<std::string> names;
    for (const DirEntry& entry : entries)
        if (entry.Attr & platform::faReadOnly)
            names.insert(entry.Name);
    return names;
}

bool SameFile(const std::string& a, const std::string& b)
{
    return platform::RawFile::OpenForReading(a).IsSameFileAs(b);
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
        platform::CreateDir(snapshot);
    for (const FileRec& file : Files)
        if (platform::FileExists(file.FileName))
            CopyFileByBlock(file.FileName, JoinPath(snapshot, FileNamePart(file.FileName)), dialogs);
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
    FillFromEntries(Folder, platform::ListDirectory(Folder), List);
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
    ClearFileList(List);
    if (!platform::DirectoryExists(Folder))
        return;
    const std::vector<DirEntry> entries = platform::ListDirectory(Folder);
    const std::set<std::string> readOnly = ReadOnlyNames(entries);
    FillFromEntries(Folder, entries, List);
    while (!List.empty()) {
        const std::string& path = List.front().FileName;
        if (!readOnly.count(FileNamePart(path)))
            platform::DeleteFile(path);
        DelFile(List, List.begin());
    }
    platform::RemoveDir(Folder);
}

void DeleteSelectedBkUpFiles(FileList& List)
{
    std::map<std::string, std::set<std::string>> readOnlyByDir;
    for (auto it = List.begin(); it != List.end();) {
        if (it->Selected != 1) {
            ++it;
            continue;
        }
        const std::string dir = DirectoryPart(it->FileName);
        auto known = readOnlyByDir.find(dir);
        if (known == readOnlyByDir.end())
            known = readOnlyByDir.emplace(dir, ReadOnlyNames(platform::ListDirectory(dir))).first;
        if (!known->second.count(FileNamePart(it->FileName)))
            platform::DeleteFile(it->FileName);
        it = DelFile(List, it);
    }
}

} // namespace tarvok
