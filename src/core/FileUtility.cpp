#include "core/FileUtility.h"

#include "platform/PathRules.h"

#include <algorithm>
#include <iterator>

namespace tarvok {
namespace {

template <typename List> auto* ElementAt(List& list, int64_t index)
{
    using Pointer = decltype(&list.front());
    if (index < 0 || index >= static_cast<int64_t>(list.size()))
        return Pointer{nullptr};
    return &*std::next(list.begin(), index);
}

} // namespace

PrjRec* GetPrj(ProjectList& list, int32_t index) { return ElementAt(list, index); }
const PrjRec* GetPrj(const ProjectList& list, int32_t index) { return ElementAt(list, index); }

int32_t CountPrj(const ProjectList& list) { return static_cast<int32_t>(list.size()); }

PrjRec* AddPrj(ProjectList& list, const PrjRec& rec)
{
    list.push_back(rec);
    return &list.back();
}

void ClearPrjList(ProjectList& list) { list.clear(); }

void DelPrj(ProjectList& list, const PrjRec* rec)
{
    const auto it = std::find_if(list.begin(), list.end(), [rec](const PrjRec& r) { return &r == rec; });
    if (it != list.end())
        list.erase(it);
}

int32_t IndexOfPrj(const ProjectList& list, const PrjRec* rec)
{
    int32_t index = 0;
    for (const PrjRec& r : list) {
        if (&r == rec)
            return index;
        ++index;
    }
    return -1;
}

FileRec* GetFile(FileList& list, int32_t index) { return ElementAt(list, index); }
const FileRec* GetFile(const FileList& list, int32_t index) { return ElementAt(list, index); }

FileRec* GetFileAt(FileList& list, uint16_t position)
{
    if (position == 0)
        return nullptr;
    return ElementAt(list, int64_t{position} - 1);
}

FileRec* AddFile(FileList& list, const FileRec& rec)
{
    list.push_back(FileRec{rec.FileName, rec.Exist, 0});
    return &list.back();
}

void ClearFileList(FileList& list) { list.clear(); }

FileList::iterator DelFile(FileList& list, FileList::iterator entry) { return list.erase(entry); }

std::string FileNamePart(const std::string& path)
{
    const auto pos = path.find_last_of(platform::FileNameBoundaries());
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

namespace {

// What is left of a root when its separator is taken off: nothing ("/") or,
// where the system has drives, the drive ("C:").
bool IsRootWithoutSeparator(const std::string& dir)
{
    const bool drives = platform::FileNameBoundaries().find(':') != std::string_view::npos;
    return dir.empty() || (drives && dir.size() == 2 && dir[1] == ':');
}

} // namespace

std::string DirectoryPart(const std::string& path)
{
    const auto pos = path.find_last_of(platform::FileNameBoundaries());
    if (pos == std::string::npos)
        return {};
    if (path[pos] == ':') // "C:name": the drive's current folder
        return path.substr(0, pos + 1);
    std::string dir = path.substr(0, pos);
    return IsRootWithoutSeparator(dir) ? path.substr(0, pos + 1) : dir;
}

std::string JoinPath(const std::string& dir, const std::string& name) { return dir + platform::PathSeparator() + name; }

std::string WithoutTrailingSeparators(const std::string& path)
{
    const auto last = path.find_last_not_of(platform::PathSeparators());
    if (last == std::string::npos)
        return path.substr(0, 1);
    const std::string kept = path.substr(0, last + 1);
    return last + 1 < path.size() && IsRootWithoutSeparator(kept) ? path.substr(0, last + 2) : kept;
}

bool SamePath(const std::string& a, const std::string& b)
{
    const std::string_view separators = platform::PathSeparators();
    const auto isSeparator = [&](char c) { return separators.find(c) != std::string_view::npos; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return x == y || (isSeparator(x) && isSeparator(y)); });
}

} // namespace tarvok
