#include "core/AutoStart.h"

#include "core/FileUtility.h"
#include "core/ProfileText.h"
#include "platform/AutoStartEntry.h"
#include "platform/FileSystem.h"

namespace tarvok {

bool IsWinNT() { return true; }

void AddAutoStartRegistry(const std::string& exePath)
{
    if (!platform::WriteAutoStartEntry(exePath))
        throw ERegistryException("Failed to set data for '" + FileNamePart(exePath) + "'");
}

void RemoveAutoStart(const std::string& exePath)
{
    if (!platform::RemoveAutoStartEntry(exePath))
        throw ERegistryException("Failed to delete '" + FileNamePart(exePath) + "'");
}

void AddAutoStartWinIni(const std::string& windowsDir, const std::string& exePath)
{
    const std::string profile = JoinPath(windowsDir, "win.ini");
    try {
        // A profile that exists but cannot be read is never replaced.
        const std::string text = platform::FileExists(profile) ? platform::ReadWholeFile(profile) : std::string();
        const std::string old = ReadProfileString(text, "windows", "run", "");
        const std::string run = old.empty() ? exePath : old + ";" + exePath;
        platform::ReplaceFileContents(profile, WriteProfileString(text, "windows", "run", run));
    } catch (const std::exception&) {
        throw EIniFileException("Unable to write to " + profile);
    }
}

void EnterRunningProgramAtLogon()
{
    if (IsWinNT())
        AddAutoStartRegistry(platform::ExecutablePath());
    else
        AddAutoStartWinIni(ConfigHome(), platform::ExecutablePath());
}

void TakeRunningProgramOutOfLogon() { RemoveAutoStart(platform::ExecutablePath()); }

} // namespace tarvok
