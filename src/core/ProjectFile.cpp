#include "core/ProjectFile.h"

#include "core/BlockCopy.h"
#include "core/Settings.h"
#include "core/TextLines.h"
#include "platform/FileSystem.h"
#include "platform/Folder.h"

namespace tarvok {
namespace {

constexpr char OthersFileText[] = "belongs to another user";

} // namespace

void LoadFileList(const std::string& path, FileList& list)
{
    ClearFileList(list);
    // Left behind by a replace that a kill interrupted.
    platform::RemoveReplaceLeftovers(path);
    // Another user's file in a shared folder names no sources of ours.
    if (!platform::FileExists(path) || platform::Folder::BelongsToAnotherUser(path, PartialCopyPrefix))
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
        if (platform::Folder::BelongsToAnotherUser(path, PartialCopyPrefix))
            throw EInOutError(5, OthersFileText);
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
