#include "core/BlockCopy.h"

#include "core/Dialogs.h"
#include "core/FileUtility.h"
#include "core/InOutError.h"
#include "platform/FileSystem.h"
#include "platform/RawFile.h"

namespace tarvok {

std::string MissingSourceText(const std::string& source)
{
    return FileNamePart(source) + " 不存在";
}

void CopyFileByBlock(const std::string& Source, const std::string& Dest, Dialogs& dialogs)
{
    if (!platform::FileExists(Source)) {
        dialogs.Warning(MissingSourceText(Source));
        return;
    }
    // Read-only access is enough, so read-only sources copy like any other.
    platform::RawFile source = platform::RawFile::OpenForReading(Source);
    if (source.IsSameFileAs(Dest))
        throw EInOutError(5, "Cannot copy " + FileNamePart(Source) + " onto itself");
    platform::RawFile dest = platform::RawFile::CreateForWriting(Dest);

    char buffer[CopyBlockSize];
    for (;;) {
        const size_t read = source.Read(buffer, sizeof buffer);
        if (read == 0)
            break;
        if (dest.Write(buffer, read) < read)
            throw EInOutError(101);
    }
    source.Close();
    dest.Close();
}

} // namespace tarvok
