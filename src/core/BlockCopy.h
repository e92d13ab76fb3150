#pragma once
#include "platform/Folder.h"

#include <cstddef>
#include <optional>
#include <string>

namespace tarvok {

class Dialogs;
class WorkProgress;

// One request of this size costs a network share one round trip, as cp's
// own blocks do; smaller blocks made a copy onto a share several times slower.
inline constexpr size_t CopyBlockSize = size_t{1} << 20;

// A copy is written under a temporary name beginning so and renamed into
// place when whole; only a kill leaves one behind. Files the program makes
// for a moment (to learn what a drive does) are named so too.
inline constexpr char PartialCopyPrefix[] = ".tarvok-partial-";
bool IsPartialCopyName(const std::string& name);

// Copies Source to Dest in blocks of CopyBlockSize, no further than
// the size Source had when opened. The copy's permission bits are Source's,
// without write for group and others, and always readable and writable by
// the owner, where the drive can store them. Anything but a regular file at
// Source is reported as a missing source (a warning) and the call returns;
// every other failure throws EInOutError. Dest is replaced only by a whole,
// flushed copy; a link at Dest is replaced, not written through. Source and
// Dest naming the same file is refused.
void CopyFileByBlock(const std::string& Source, const std::string& Dest, Dialogs& dialogs);

// A whole copy of Source waiting in a folder under a temporary name, locked
// while it waits, so that the caller can make room for it first. It is
// removed unless the caller renames it into place and says so.
class PendingCopy {
public:
    // As CopyFileByBlock up to the rename, the copy flushed when `flush` is
    // set; nothing (after the warning) when Source is not a plain file.
    static std::optional<PendingCopy> Make(const std::string& Source, platform::Folder& folder, const std::string& Name,
                                           Dialogs& dialogs, bool flush, WorkProgress* progress = nullptr);
    // The same from a source the caller opened.
    static PendingCopy Make(platform::RawFile source, platform::Folder& folder, const std::string& Name, bool flush,
                            WorkProgress* progress = nullptr);
    PendingCopy(PendingCopy&& other) noexcept;
    PendingCopy& operator=(PendingCopy&&) = delete;
    ~PendingCopy();
    const std::string& Temporary() const { return temporary_; }
    void Placed() { temporary_.clear(); }

private:
    PendingCopy(platform::Folder& folder, platform::RawFile file);
    platform::Folder& folder_;
    platform::RawFile file_; // closed; holds the temporary's lock
    std::string temporary_;
};

// Copies Source, a file the caller has seen as a plain file, into the folder
// under Name, as CopyFileByBlock does, and puts it in place as soon as it is
// whole, so no more room is needed than for this one copy. The copy is not
// flushed: the caller flushes the folder once all are done.
// Each block copied is told to `progress`, where there is one.
void CopyIntoFolder(const std::string& Source, platform::Folder& folder, const std::string& Name, Dialogs& dialogs,
                    WorkProgress* progress = nullptr);

// The warning shown for a missing source: "<file name> 不存在".
std::string MissingSourceText(const std::string& source);

} // namespace tarvok
