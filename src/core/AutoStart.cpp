#include "core/AutoStart.h"

#include "core/FileUtility.h"
#include "core/ProfileText.h"
#include "platform/FileSystem.h"
#include "platform/Environment.h"

#include <cstdlib>
#include <string_view>

namespace tarvok {
namespace {

// Escapes of every string value of a desktop entry.
std::string EscapeStringValue(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

// Characters that make an Exec argument need quotes.
constexpr std::string_view ExecReserved = " \t\n\"'\\><~|&;$*?#()`";

} // namespace

bool IsWinNT() { return true; }

std::string ConfigHome()
{
    const std::string configured = platform::EnvironmentValue("XDG_CONFIG_HOME");
    if (!configured.empty() && configured.front() == '/')
        return configured;
    return platform::EnvironmentValue("HOME") + "/.config";
}

std::string AutoStartEntryPath(const std::string& exePath)
{
    return JoinPath(ConfigHome() + "/autostart", FileNamePart(exePath) + ".desktop");
}

std::string DesktopEntryExec(const std::string& exePath)
{
    const bool quote = exePath.find_first_of(ExecReserved) != std::string::npos;
    std::string arg;
    for (const char c : exePath) {
        if (c == '%')
            arg += "%%"; // a field code otherwise
        else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            arg += std::string("\\") + c;
        else
            arg += c;
    }
    return EscapeStringValue(quote ? "\"" + arg + "\"" : arg);
}

std::string AutoStartEntryText(const std::string& exePath)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" + EscapeStringValue(FileNamePart(exePath)) + "\n"
           "Exec=" + DesktopEntryExec(exePath) + "\n";
}

void AddAutoStartRegistry(const std::string& exePath)
{
    const std::string entry = AutoStartEntryPath(exePath);
    platform::CreateDirWithParents(DirectoryPart(entry));
    try {
        platform::ReplaceFileContents(entry, AutoStartEntryText(exePath));
    } catch (const std::exception&) {
        throw ERegistryException("Failed to set data for '" + FileNamePart(exePath) + "'");
    }
}

void RemoveAutoStart(const std::string& exePath)
{
    const std::string entry = AutoStartEntryPath(exePath);
    if (!platform::FileExists(entry))
        return;
    if (!platform::DeleteFile(entry))
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

} // namespace tarvok
