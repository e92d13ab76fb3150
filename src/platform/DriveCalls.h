#pragma once
#include <string>

// FAT, exFAT, NTFS and network shares refuse some file calls that ext4
// allows. What the program does instead lives here.
namespace tarvok::platform {

// The calls whose answers differ from drive to drive. The program uses the
// system's own; a test puts in the refusals of a drive.
struct DriveCalls {
    int (*ChangeMode)(int fd, unsigned mode);
    // As renameat2; flags 0 or RENAME_NOREPLACE.
    int (*Rename)(int fromDir, const char* from, int toDir, const char* to, unsigned flags);
};
DriveCalls& Drive();

// A permission change failing so on a file we just made means the drive
// cannot store modes: the file is fine, it only keeps the drive's mode.
bool ModeRefusedByDrive(int error);

// Both rename `from` to `to`, names inside the directory `dir` (a descriptor,
// or AT_FDCWD with paths), and answer 0 or the errno of the failure.
// RenameOver replaces what is at `to`. Where the drive refuses to rename over
// a file, that file is moved aside to a hidden name, the new one renamed in,
// then the old one removed; should the new one not go in, the old one goes
// back, so `to` is never left without a file.
int RenameOver(int dir, const std::string& from, const std::string& to);
// Never replaces an existing `to` (EEXIST). Where the drive has no
// RENAME_NOREPLACE, the name is claimed with an exclusive create and the
// rename goes over that claim.
int RenameNoReplace(int dir, const std::string& from, const std::string& to);

// The hidden name a file waits under while another takes its name:
// ".<name>.tarvok-aside" beside it.
std::string AsideName(const std::string& path);
bool IsAsideName(const std::string& name);
// What a kill left of a move-aside named `aside` inside `dir`: the file goes
// back to its own name when that is free, else it is removed.
void SettleAside(int dir, const std::string& aside);

} // namespace tarvok::platform
