#include "core/Settings.h"

#include "core/TextLines.h"
#include "core/TextNumber.h"
#include "platform/FileSystem.h"

#include <optional>

namespace tarvok {
namespace {

// A number that is unreadable or outside [low, high] takes the default.
int32_t ReadNumber(LineReader& reader, int32_t low, int32_t high, int32_t fallback)
{
    const std::optional<int32_t> value = ParseInteger(reader.ReadText());
    return value && *value >= low && *value <= high ? *value : fallback;
}

uint8_t ReadByte(LineReader& reader, int32_t high, int32_t fallback)
{
    return static_cast<uint8_t>(ReadNumber(reader, 0, high, fallback));
}

} // namespace

std::string SettingsPath(const std::string& appDir) { return JoinPath(appDir, SettingsFileName); }

std::string ProjectFilePath(const std::string& backUpDir) { return JoinPath(backUpDir, ProjectFileName); }

std::string PreviousText(const std::string& path)
{
    return platform::ReadPlainFileNoFollow(path, platform::MaxWholeFileSize).value_or(std::string());
}

void LoadSettings(const std::string& appDir, AppSettings& settings, ProjectList& projects, SettingsFileState& state)
{
    const std::string path = SettingsPath(appDir);
    // Left behind by a replace that a kill interrupted.
    platform::RemoveReplaceLeftovers(path);
    if (!platform::FileExists(path)) {
        settings = AppSettings{1, -1, 0};
    } else {
        std::string text;
        try {
            text = platform::ReadWholeFile(path);
        } catch (const EInOutError& error) {
            state.ReadError = error;
            throw ErrorAtFile(error, path);
        }
        LineReader reader(text);
        settings.RandomSkin = ReadByte(reader, 255, 1);
        settings.SkinNo = ReadNumber(reader, INT32_MIN, INT32_MAX, -1);
        settings.TimerBkUp = ReadByte(reader, 255, 1);
        for (int reserved = 0; reserved < 3; ++reserved)
            reader.ReadLine();
        // One block is always read, even when the file ends after the header.
        do {
            PrjRec rec;
            rec.Name = reader.ReadText();
            rec.BackUpDir = reader.ReadText();
            rec.AutoBkUp = ReadByte(reader, 1, 1);
            rec.Period = ReadByte(reader, 3, 0);
            rec.Day = ReadByte(reader, 30, 1);
            rec.Hour = ReadByte(reader, 23, 1);
            // A directory that is there without its project file has lost
            // the project; one that is not there may be on a drive away.
            if (platform::FileExists(ProjectFilePath(rec.BackUpDir)))
                AddPrj(projects, rec);
            else if (!rec.BackUpDir.empty() && !platform::DirectoryExists(rec.BackUpDir))
                AddPrj(state.Dormant, rec);
        } while (!reader.AtEnd());
    }
    if (projects.empty())
        AddDefaultProject(appDir, projects);
}

PrjRec* AddDefaultProject(const std::string& appDir, ProjectList& projects)
{
    PrjRec rec;
    rec.Name = "MyPrj-1";
    rec.BackUpDir = JoinPath(appDir, DefaultBackupFolder);
    if (!platform::DirectoryExists(rec.BackUpDir))
        platform::CreateDir(rec.BackUpDir);
    rec.AutoBkUp = 1;
    rec.Period = 0;
    rec.Day = 1;
    rec.Hour = 10;
    return AddPrj(projects, rec);
}

std::string FormatSettings(const AppSettings& settings, const ProjectList& projects, const ProjectList& dormant,
                           std::string_view previousFile)
{
    LineWriter writer(previousFile);
    auto line = [&writer](const std::string& value) { writer.Append(value); };
    line(std::to_string(settings.RandomSkin));
    line(std::to_string(settings.SkinNo));
    line(std::to_string(settings.TimerBkUp));
    line("Reserve 1");
    line("Reserve 2");
    line("Reserve 3");
    for (const ProjectList* list : {&projects, &dormant}) {
        for (const PrjRec& rec : *list) {
            line(rec.Name);
            line(rec.BackUpDir);
            line(std::to_string(rec.AutoBkUp));
            line(std::to_string(rec.Period));
            line(std::to_string(rec.Day));
            line(std::to_string(rec.Hour));
        }
    }
    return writer.Text();
}

void SaveSettings(const std::string& appDir, const AppSettings& settings, const ProjectList& projects,
                  const SettingsFileState& state)
{
    const std::string path = SettingsPath(appDir);
    if (state.ReadError)
        throw ErrorAtFile(*state.ReadError, path);
    try {
        platform::ReplaceFileContents(path, FormatSettings(settings, projects, state.Dormant, PreviousText(path)));
    } catch (const EInOutError& error) {
        throw ErrorAtFile(error, path);
    }
}

} // namespace tarvok
