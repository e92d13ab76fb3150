#pragma once
#include <string>

// FAT, exFAT, NTFS and network shares refuse some file calls that ext4
// allows. What the program does instead lives here.
namespace tarvok::platform {

// The calls whose answers differ from drive to drive. The program uses the
// system's own; a test puts in the refusals of a drive.
struct DriveCalls {
    int (*ChangeMode)(int fd, unsigned mode);
    // As renameat2; flags 0, RENAME_NOREPLACE or RENAME_EXCHANGE.
    int (*Rename)(int fromDir, const char* from, int toDir, const char* to, unsigned flags);
    // As linkat without following a link: a second name of the same file.
    int (*Link)(int fromDir, const char* from, int toDir, const char* to);
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

// How putting `from` at `to` while the file at `to` keeps living as `keep`
// ended: done, or the errno of the step that failed.
struct KeepResult {
    int Error = 0;
    bool KeepFailed = false; // the old file could not take the name `keep`
};
// Puts `from` at `to`, the file there first taking the name `keep`, which is
// never replaced. `to` is never free where the drive has hard links (`keep`
// is linked, then `from` renamed over `to`) or exchanges (`from` and `to`
// swap, then the old file goes to `keep`); elsewhere the old file is renamed
// to `keep` and `from` renamed in after it. Whatever fails, `to` keeps the
// old file and nothing named `keep` is left of ours.
KeepResult ReplaceKeepingOld(int dir, const std::string& from, const std::string& to, const std::string& keep);

// A temporary file is locked for as long as its writer may still rename it
// into place. Locks the new temporary open as `fd` and answers a second
// descriptor that holds the lock after `fd` is closed, until it is closed
// itself; -1 where the drive has no locks.
int HoldTemporary(int fd);
// True when no live copy can be writing the temporary `name` inside `dir`:
// a plain file nobody holds, or, where locks do not reach every writer (a
// network or FUSE drive, another machine), one left unwritten for a day.
bool IsAbandonedTemporary(int dir, const std::string& name);

// True for the names a whole-file replace gives its temporary: `prefix`
// (".<name>.") and six letters or digits.
bool IsReplaceTemporaryName(const std::string& name, const std::string& prefix);

// The hidden name a file waits under while another takes its name:
// ".<name>.tarvok-aside" beside it.
inline constexpr char AsideSuffix[] = ".tarvok-aside";
std::string AsideName(const std::string& path);
bool IsAsideName(const std::string& name);
// What a kill left of a move-aside named `aside` inside `dir`: the file goes
// back to its own name when that is free, else it is removed.
void SettleAside(int dir, const std::string& aside);

} // namespace tarvok::platform
