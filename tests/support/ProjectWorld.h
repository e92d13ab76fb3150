#pragma once
#include "TempDir.h"
#include "core/FileUtility.h"
#include "core/ProjectFile.h"
#include "core/Settings.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tarvok::test {

// An application directory of its own with a settings file and projects
// made to order.
struct ProjectWorld {
    TempDir App;

    std::string SettingsText() const { return ReadFile(App / SettingsFileName); }

    // Writes a settings file holding `projects`, after the three settings.
    void WriteSettings(const AppSettings& settings, const ProjectList& projects) const
    {
        WriteFile(App / SettingsFileName, FormatSettings(settings, projects));
    }

    // A project whose backup directory and project file exist, listing the
    // named files (made in its own source folder).
    PrjRec MakeProject(const std::string& name, const std::vector<std::string>& files) const
    {
        PrjRec project;
        project.Name = name;
        project.BackUpDir = App / ("backup-" + name);
        project.AutoBkUp = 1;
        project.Hour = 10;
        std::filesystem::create_directories(project.BackUpDir);
        std::filesystem::create_directories(App / ("sources-" + name));
        std::string list;
        for (const std::string& file : files) {
            const std::string source = App / ("sources-" + name + "/" + file);
            WriteFile(source, file);
            list += source + "\r\n";
        }
        WriteFile(ProjectFilePath(project.BackUpDir), list);
        return project;
    }
};

// Two ways a file cannot be read: no permission (not for root, who reads
// anything; the nobody run covers it) and a size no such file may have.
enum class Spoil { Unreadable, Huge };
constexpr uintmax_t HugeSize = (uintmax_t{64} << 20) + 1;

inline std::vector<Spoil> SpoilsForThisUser()
{
    // Windows has no mode that keeps its owner from reading a file.
#ifdef _WIN32
    const bool modesStopUs = false;
#else
    const bool modesStopUs = !RunningAsRoot();
#endif
    if (!modesStopUs)
        return {Spoil::Huge};
    return {Spoil::Unreadable, Spoil::Huge};
}

// Why a file spoilt so could not be read.
inline std::string CauseOf(Spoil spoil)
{
    return spoil == Spoil::Unreadable ? "File access denied" : "The file is larger than 64 MB";
}

inline void SpoilFile(const std::string& path, Spoil spoil)
{
    if (spoil == Spoil::Unreadable)
        std::filesystem::permissions(path, std::filesystem::perms::none);
    else
        std::filesystem::resize_file(path, HugeSize);
}

} // namespace tarvok::test
