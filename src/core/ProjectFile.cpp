#include "core/ProjectFile.h"

#include "core/Settings.h"
#include "core/TextLines.h"
#include "platform/FileSystem.h"

namespace tarvok {

void LoadFileList(const std::string& path, FileList& list)
{
    ClearFileList(list);
    // Left behind by a replace that a kill interrupted.
    platform::RemoveReplaceLeftovers(path);
    if (!platform::FileExists(path))
        return;
    const std::string text = [&] {
        try {
            return platform::ReadWholeFile(path);
        } catch (const EInOutError& error) {
            throw ErrorAtFile(error, path);
        }
    }();
    LineReader reader(text);
    do {
        std::string line = reader.ReadText();
        if (platform::FileExists(line))
            AddFile(list, FileRec{std::move(line), 1, 0});
    } while (!reader.AtEnd());
}

std::string FormatFileList(const FileList& list, std::string_view previousFile)
{
    LineWriter writer(previousFile);
    for (const FileRec& rec : list)
        writer.Append(rec.FileName);
    return writer.Text();
}

void SaveSourceList(const std::string& path, const FileList& list)
{
    try {
        platform::ReplaceFileContents(path, FormatFileList(list, PreviousText(path)));
    } catch (const EInOutError& error) {
        throw ErrorAtFile(error, path);
    }
}

void CarryProjectFile(const std::string& oldDir, const std::string& newDir)
{
    const std::string target = ProjectFilePath(newDir);
    if (platform::FileExists(target))
        return;
    const std::string source = ProjectFilePath(oldDir);
    platform::ReplaceFileContents(target,
                                  platform::FileExists(source) ? platform::ReadWholeFile(source) : std::string());
}

} // namespace tarvok
