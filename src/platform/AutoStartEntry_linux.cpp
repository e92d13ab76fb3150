#include "platform/AutoStartEntry_linux.h"
#include "platform/AutoStartEntry.h"

#include "platform/AppDir.h"
#include "platform/FileSystem.h"

#include <exception>
#include <filesystem>
#include <string_view>

namespace tarvok::platform {
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

std::string ExecutableName(const std::string& exePath) { return std::filesystem::path(exePath).filename().string(); }

} // namespace

std::string AutoStartEntryPath(const std::string& exePath, const std::string& nameSuffix)
{
    return ConfigHome() + "/autostart/" + ExecutableName(exePath) + nameSuffix + ".desktop";
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
           "Name=" +
           EscapeStringValue(ExecutableName(exePath)) +
           "\n"
           "Exec=" +
           DesktopEntryExec(exePath) + " " + AtLogonArgument + "\n";
}

bool WriteAutoStartEntry(const std::string& exePath)
{
    const std::string entry = AutoStartEntryPath(exePath);
    CreateDirWithParents(std::filesystem::path(entry).parent_path().string());
    try {
        ReplaceFileContents(entry, AutoStartEntryText(exePath));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool RemoveAutoStartEntry(const std::string& exePath)
{
    const std::string entry = AutoStartEntryPath(exePath);
    return !FileExists(entry) || DeleteFile(entry);
}

} // namespace tarvok::platform
