#pragma once
#include "core/FileUtility.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tarvok {

// Two sources that land on one name in a snapshot folder, where every file
// is stored flat under its own name: the later one's copy takes the place of
// the earlier one's, which has no copy there.
struct NameClash {
    std::string Lost;
    std::string Kept;
    bool CaseOnly = false; // the names differ in letter case alone
};

// For each entry of `files` that a later entry at position `from` or after
// lands on, that later entry (the last such one). Names that differ only in
// letter case land on one name where `foldsCase` (FAT, exFAT, Windows shares).
std::vector<NameClash> SnapshotNameClashes(const FileList& files, bool foldsCase, std::size_t from = 0);

// What the user is told when adding a source made a clash.
std::string AddedClashText(const NameClash& clash);
// What the user is told after a backup run into `snapshot` whose sources clashed.
std::string BackupClashText(const std::string& snapshot, const std::vector<NameClash>& clashes);

} // namespace tarvok
