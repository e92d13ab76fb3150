#pragma once
#include <cstdint>
#include <list>
#include <string>

namespace tarvok {

// One backup project. A std::list keeps element addresses stable, so a
// PrjRec* (CurrentProject) stays valid while other records come and go.
struct PrjRec {
    std::string Name;
    std::string BackUpDir;
    uint8_t Period = 0;   // 0 Hourly, 1 Daily, 2 Weekly, 3 Monthly
    uint8_t Day = 0;      // weekday 0..6 (Sunday first) or day of month - 1
    uint8_t Hour = 0;     // 0..23
    uint8_t AutoBkUp = 0; // 1: takes part in automatic backups
};
using ProjectList = std::list<PrjRec>;

// One entry of a file list: a full path and the deletion mark.
struct FileRec {
    std::string FileName;
    uint8_t Exist = 0;
    uint8_t Selected = 0;
};
using FileList = std::list<FileRec>;

// Project list primitives.
PrjRec* GetPrj(ProjectList& list, int32_t index);
const PrjRec* GetPrj(const ProjectList& list, int32_t index);
int32_t CountPrj(const ProjectList& list);
PrjRec* AddPrj(ProjectList& list, const PrjRec& rec);
void ClearPrjList(ProjectList& list);
void DelPrj(ProjectList& list, const PrjRec* rec);
int32_t IndexOfPrj(const ProjectList& list, const PrjRec* rec);

// File list primitives. GetFile counts from 0, GetFileAt from 1.
FileRec* GetFile(FileList& list, int32_t index);
const FileRec* GetFile(const FileList& list, int32_t index);
FileRec* GetFileAt(FileList& list, uint16_t position);
FileRec* AddFile(FileList& list, const FileRec& rec);
void ClearFileList(FileList& list);
// Removes the entry and returns the one that followed it.
FileList::iterator DelFile(FileList& list, FileList::iterator entry);

// Paths in the system's own spelling: '/' on Linux; on Windows '\' written,
// '\' and '/' read, and the file-name part follows the last separator or the
// drive's colon. Paths compare byte for byte.
std::string FileNamePart(const std::string& path);
// The directory part without its trailing separator; a root ("/", "C:\")
// keeps it.
std::string DirectoryPart(const std::string& path);
// `dir`, one separator and `name`; a root's own separator stays, so a drive
// root gives the doubled separator ("C:\\name"), which the system accepts.
std::string JoinPath(const std::string& dir, const std::string& name);
// The path without trailing separators; a root keeps its one.
std::string WithoutTrailingSeparators(const std::string& path);
// Byte for byte, but for the separators: on Windows "C:\a/b" is "C:\a\b".
bool SamePath(const std::string& a, const std::string& b);

} // namespace tarvok
