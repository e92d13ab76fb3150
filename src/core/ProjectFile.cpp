#include "core/ProjectFile.h"

#include "core/TextLines.h"
#include "platform/FileSystem.h"

namespace tarvok {

void LoadFileList(const std::string& path, FileList& list)
{
    ClearFileList(list);
    if (!platform::FileExists(path))
        return;
    const std::string text = platform::ReadWholeFile(path);
    LineReader reader(text);
    do {
        std::string line = reader.ReadLine();
        if (platform::FileExists(line))
            AddFile(list, FileRec{std::move(line), 1, 0});
    } while (!reader.AtEnd());
}

std::string FormatFileList(const FileList& list)
{
    std::string text;
    for (const FileRec& rec : list)
        AppendLine(text, rec.FileName);
    return text;
}

void SaveSourceList(const std::string& path, const FileList& list)
{
    platform::ReplaceFileContents(path, FormatFileList(list));
}

} // namespace tarvok
