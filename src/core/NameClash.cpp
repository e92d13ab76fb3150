#include "core/NameClash.h"

#include "base/VisibleText.h"

#include <algorithm>
#include <unordered_map>

namespace tarvok {
namespace {

// Letter case as FAT and exFAT ignore it, for the letters of ASCII.
std::string Folded(std::string name)
{
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    return name;
}

} // namespace

std::vector<NameClash> SnapshotNameClashes(const FileList& files, bool foldsCase, std::size_t from)
{
    std::vector<const std::string*> paths;
    for (const FileRec& file : files)
        paths.push_back(&file.FileName);
    // The last entry landing on each name, found walking back from the end.
    std::unordered_map<std::string, std::size_t> last;
    std::vector<NameClash> clashes;
    for (std::size_t i = paths.size(); i-- > 0;) {
        const std::string name = FileNamePart(*paths[i]);
        const auto [kept, first] = last.emplace(foldsCase ? Folded(name) : name, i);
        if (!first && kept->second >= from)
            clashes.push_back({*paths[i], *paths[kept->second], FileNamePart(*paths[kept->second]) != name});
    }
    std::reverse(clashes.begin(), clashes.end());
    return clashes;
}

std::string AddedClashText(const NameClash& clash)
{
    const std::string how = clash.CaseOnly ? "names that differ only in letter case, which the backup drive does "
                                             "not tell apart"
                                           : "the same name";
    return VisibleName(clash.Kept) + " and " + VisibleName(clash.Lost) + " have " + how +
           ": a snapshot keeps only one copy, of " + VisibleName(clash.Kept) + ", the later in the list.";
}

std::string BackupClashText(const std::string& snapshot, const std::vector<NameClash>& clashes)
{
    std::string text = "These files have no copy in " + VisibleName(snapshot) +
                       ", because a later source of the same name took its place:";
    for (const NameClash& clash : clashes)
        text += "\n" + VisibleName(clash.Lost) + " (by " + VisibleName(clash.Kept) + ")";
    return text;
}

} // namespace tarvok
