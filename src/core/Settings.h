#pragma once
#include "base/InOutError.h"
#include "core/FileUtility.h"
#include "core/TextLines.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvok {

struct AppSettings {
    uint8_t RandomSkin = 1;
    int32_t SkinNo = -1;
    uint8_t TimerBkUp = 0;
};

inline constexpr const char* SettingsFileName = "Tarvok.ini";
inline constexpr const char* ProjectFileName = "Project.ini";
inline constexpr const char* DefaultBackupFolder = "BkUp";
// Beside the settings file: the desktop's wallpaper setting while ours replaces it.
inline constexpr const char* WallpaperKeepFileName = "Tarvok.wallpaper";

std::string SettingsPath(const std::string& appDir);
std::string ProjectFilePath(const std::string& backUpDir);

// What a load learnt about the settings file besides the values it shows.
struct SettingsFileState {
    // Projects whose backup directory is missing (on a drive not mounted,
    // say). They stay out of the window, are written back unchanged after
    // the live projects and return when their directory does.
    ProjectList Dormant;
    // Why the file could not be read in this run; it is then never replaced.
    std::optional<EInOutError> ReadError;
};

// Reads the settings file of `appDir` into `settings` and appends its projects
// to `projects`; afterwards `projects` is never empty. Throws EInOutError when
// the file exists but cannot be read, after noting it in `state`.
void LoadSettings(const std::string& appDir, AppSettings& settings, ProjectList& projects, SettingsFileState& state);
// Appends the default project "MyPrj-1" in appDir/BkUp (created if missing).
PrjRec* AddDefaultProject(const std::string& appDir, ProjectList& projects);
// A name or directory holding CR or LF (HasLineBreak) would shift every
// later line of the settings file; such a text is never stored in a project.
inline constexpr const char* LineBreakInDirectoryText =
    "A backup directory whose name holds a line break cannot be used.";
// The exact text the settings file holds for these values; lines that
// `previousFile` held keep their bytes (LineWriter). A name holding a line
// break raises "Invalid filename".
std::string FormatSettings(const AppSettings& settings, const ProjectList& projects,
                           const ProjectList& dormant = ProjectList{}, std::string_view previousFile = {});
// What the file at `path` holds now, for LineWriter; nothing when it cannot
// be read.
std::string PreviousText(const std::string& path);
// Replaces the settings file atomically; throws EInOutError on failure, and
// the read error again when the file could not be read in this run.
void SaveSettings(const std::string& appDir, const AppSettings& settings, const ProjectList& projects,
                  const SettingsFileState& state);

} // namespace tarvok
