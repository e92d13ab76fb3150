#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tarvok {

class Dialogs;
namespace platform {
class Folder;
}

inline constexpr size_t CopyBlockSize = 2048;

// A copy is written under a temporary name beginning so and renamed into
// place when whole; only a kill leaves one behind.
inline constexpr char PartialCopyPrefix[] = ".tarvok-partial-";
bool IsPartialCopyName(const std::string& name);

// Copies Source to Dest through one fixed 2048-byte buffer, no further than
// the size Source had when opened. The copy's permission bits are Source's,
// without write for group and others, and always readable and writable by
// the owner. Anything but a regular file at Source is
// reported as a missing source (a warning) and the call returns; every other
// failure throws EInOutError. Dest is replaced only by a whole, flushed copy;
// a link at Dest is replaced, not written through. Source and Dest naming the
// same file is refused.
void CopyFileByBlock(const std::string& Source, const std::string& Dest, Dialogs& dialogs);

// Copies into one folder, each whole under a temporary name, until Commit
// flushes them all at once and renames them into place in the order made.
// Copies not committed are removed.
class CopyBatch {
public:
    explicit CopyBatch(platform::Folder& folder) : folder_(folder) {}
    ~CopyBatch();
    CopyBatch(const CopyBatch&) = delete;
    CopyBatch& operator=(const CopyBatch&) = delete;

    // As CopyFileByBlock, into the folder under Name, for a Source the
    // caller has seen as a plain file.
    void Copy(const std::string& Source, const std::string& Name, Dialogs& dialogs);
    void Commit();

private:
    platform::Folder& folder_;
    std::vector<std::pair<std::string, std::string>> pending_; // temporary name, final name
};

// The warning shown for a missing source: "<file name> 不存在".
std::string MissingSourceText(const std::string& source);

} // namespace tarvok
