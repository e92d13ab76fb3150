#include "core/BlockCopy.h"

#include "base/InOutError.h"
#include "base/VisibleText.h"
#include "core/Dialogs.h"
#include "core/FileUtility.h"
#include "core/WorkProgress.h"
#include "platform/FileSystem.h"
#include "platform/Folder.h"
#include "platform/RawFile.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace tarvok {
namespace {

// A copy is as private as its source, and never writable by others.
uint32_t CopyMode(uint32_t sourceMode)
{
    constexpr uint32_t kept = 0700 | 0050 | 0005; // owner all; read and execute for the rest
    return (sourceMode & kept) | 0600;
}

// Copies the source into a new temporary file of the folder, which is
// removed when the copy fails; the file comes back closed, still locked.
platform::RawFile CopyToTemporary(platform::RawFile& source, platform::Folder& folder, bool flush,
                                  WorkProgress* progress)
{
    platform::RawFile dest = folder.CreateTemporary(PartialCopyPrefix);
    try {
        // A file that keeps growing is copied as it was at the open.
        uint64_t left = source.SizeAtOpen();
        std::vector<char> buffer(static_cast<size_t>(std::min<uint64_t>(left, CopyBlockSize)));
        while (left > 0) {
            const size_t read =
                source.Read(buffer.data(), static_cast<size_t>(std::min<uint64_t>(left, buffer.size())));
            if (read == 0)
                break;
            // The rest of a short write is tried again, so the drive says why it stopped.
            for (size_t done = 0; done < read;) {
                const size_t written = dest.Write(buffer.data() + done, read - done);
                if (written == 0)
                    throw EInOutError(101);
                done += written;
            }
            left -= read;
            if (progress)
                progress->Advance(read);
        }
        dest.SetMode(CopyMode(source.ModeAtOpen()));
        if (flush)
            dest.Flush();
        else
            dest.StartWriteBack();
        source.Close();
        dest.Close();
    } catch (...) {
        folder.Remove(FileNamePart(dest.Path()));
        throw;
    }
    return dest;
}

// A whole copy of Source renamed over Name as soon as it is made.
void CopyAndPlace(const std::string& Source, platform::Folder& folder, const std::string& Name, Dialogs& dialogs,
                  bool flush, WorkProgress* progress)
{
    if (std::optional<PendingCopy> copy = PendingCopy::Make(Source, folder, Name, dialogs, flush, progress)) {
        folder.Replace(copy->Temporary(), Name);
        copy->Placed();
    }
}

} // namespace

bool IsPartialCopyName(const std::string& name) { return platform::Folder::IsTemporaryName(name, PartialCopyPrefix); }

std::string MissingSourceText(const std::string& source) { return VisibleName(FileNamePart(source)) + " 不存在"; }

void CopyFileByBlock(const std::string& Source, const std::string& Dest, Dialogs& dialogs)
{
    // Looking first keeps devices from being opened at all.
    if (!platform::FileExists(Source)) {
        dialogs.Warning(MissingSourceText(Source));
        return;
    }
    const std::string dir = DirectoryPart(Dest);
    platform::Folder folder = platform::Folder::Open(dir.empty() ? "." : dir);
    CopyAndPlace(Source, folder, FileNamePart(Dest), dialogs, true, nullptr);
}

std::optional<PendingCopy> PendingCopy::Make(const std::string& Source, platform::Folder& folder,
                                             const std::string& Name, Dialogs& dialogs, bool flush,
                                             WorkProgress* progress)
{
    std::optional<platform::RawFile> source = platform::RawFile::OpenSource(Source);
    if (!source) {
        dialogs.Warning(MissingSourceText(Source));
        return std::nullopt;
    }
    return Make(std::move(*source), folder, Name, flush, progress);
}

PendingCopy PendingCopy::Make(platform::RawFile source, platform::Folder& folder, const std::string& Name, bool flush,
                              WorkProgress* progress)
{
    if (folder.HoldsFile(Name, source))
        throw EInOutError(5, "Cannot copy " + VisibleName(FileNamePart(source.Path())) + " onto itself");
    return PendingCopy(folder, CopyToTemporary(source, folder, flush, progress));
}

PendingCopy::PendingCopy(platform::Folder& folder, platform::RawFile file)
    : folder_(folder), file_(std::move(file)), temporary_(FileNamePart(file_.Path()))
{
}

PendingCopy::PendingCopy(PendingCopy&& other) noexcept
    : folder_(other.folder_), file_(std::move(other.file_)), temporary_(std::move(other.temporary_))
{
    other.temporary_.clear();
}

PendingCopy::~PendingCopy()
{
    if (!temporary_.empty())
        folder_.Remove(temporary_);
}

void CopyIntoFolder(const std::string& Source, platform::Folder& folder, const std::string& Name, Dialogs& dialogs,
                    WorkProgress* progress)
{
    CopyAndPlace(Source, folder, Name, dialogs, false, progress);
}

} // namespace tarvok
