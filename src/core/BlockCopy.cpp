#include "core/BlockCopy.h"

#include "core/Dialogs.h"
#include "core/FileUtility.h"
#include "core/InOutError.h"
#include "platform/FileSystem.h"
#include "platform/Folder.h"
#include "platform/RawFile.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace tarvok {
namespace {

// A copy is as private as its source, and never writable by others.
uint32_t CopyMode(uint32_t sourceMode)
{
    constexpr uint32_t kept = 0700 | 0050 | 0005; // owner all; read and execute for the rest
    return (sourceMode & kept) | 0600;
}

// Opens Source, which was seen as a plain file, for a copy to Dest; nothing
// (after the warning) when it is not one any more.
std::optional<platform::RawFile> OpenSourceFor(const std::string& Source, const std::string& Dest,
                                               Dialogs& dialogs)
{
    std::optional<platform::RawFile> source = platform::RawFile::OpenSource(Source);
    if (!source) {
        dialogs.Warning(MissingSourceText(Source));
        return std::nullopt;
    }
    if (source->IsSameFileAs(Dest))
        throw EInOutError(5, "Cannot copy " + FileNamePart(Source) + " onto itself");
    return source;
}

// Copies the source into a new temporary file of the folder and returns its
// name; the temporary file is removed when the copy fails.
std::string CopyToTemporary(platform::RawFile& source, platform::Folder& folder, bool flush)
{
    platform::RawFile dest = folder.CreateTemporary(PartialCopyPrefix);
    const std::string name = FileNamePart(dest.Path());
    try {
        char buffer[CopyBlockSize];
        // A file that keeps growing is copied as it was at the open.
        uint64_t left = source.SizeAtOpen();
        while (left > 0) {
            const size_t read = source.Read(buffer, static_cast<size_t>(std::min<uint64_t>(left, sizeof buffer)));
            if (read == 0)
                break;
            if (dest.Write(buffer, read) < read)
                throw EInOutError(101);
            left -= read;
        }
        dest.SetMode(CopyMode(source.ModeAtOpen()));
        if (flush)
            dest.Flush();
        source.Close();
        dest.Close();
    } catch (...) {
        folder.Remove(name);
        throw;
    }
    return name;
}

} // namespace

bool IsPartialCopyName(const std::string& name) { return name.rfind(PartialCopyPrefix, 0) == 0; }


std::string MissingSourceText(const std::string& source)
{
    return FileNamePart(source) + " 不存在";
}

void CopyFileByBlock(const std::string& Source, const std::string& Dest, Dialogs& dialogs)
{
    // Looking first keeps devices from being opened at all.
    if (!platform::FileExists(Source)) {
        dialogs.Warning(MissingSourceText(Source));
        return;
    }
    std::optional<platform::RawFile> source = OpenSourceFor(Source, Dest, dialogs);
    if (!source)
        return;
    const std::string dir = DirectoryPart(Dest);
    platform::Folder folder = platform::Folder::Open(dir.empty() ? "." : dir);
    const std::string temporary = CopyToTemporary(*source, folder, true);
    try {
        folder.Replace(temporary, FileNamePart(Dest));
    } catch (...) {
        folder.Remove(temporary);
        throw;
    }
}

CopyBatch::~CopyBatch()
{
    for (const auto& copy : pending_)
        folder_.Remove(copy.first);
}

void CopyBatch::Copy(const std::string& Source, const std::string& Name, Dialogs& dialogs)
{
    std::optional<platform::RawFile> source = OpenSourceFor(Source, JoinPath(folder_.Path(), Name), dialogs);
    if (source)
        pending_.emplace_back(CopyToTemporary(*source, folder_, false), Name);
}

void CopyBatch::Commit()
{
    if (pending_.empty())
        return;
    // One flush for all: a flush per file would cost more than the copies.
    folder_.Flush();
    size_t done = 0;
    try {
        for (; done < pending_.size(); ++done)
            folder_.Replace(pending_[done].first, pending_[done].second);
    } catch (...) {
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(done));
        throw;
    }
    pending_.clear();
}

} // namespace tarvok
