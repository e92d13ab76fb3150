#include "platform/qt/DesktopBackground_linux.h"

#include "platform/AutoStartEntry_linux.h"
#include "platform/FileSystem.h"

#include <QString>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace tarvok::platform {
namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(separator, start), text.size());
        if (end > start)
            parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string WithoutLineEnd(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// A string in GVariant text form, as gsettings reads it.
std::string GVariantString(const std::string& text)
{
    std::string out = "'";
    for (const char c : text) {
        if (c == '\\' || c == '\'')
            out += '\\';
        out += c;
    }
    return out + "'";
}

// Desktops that keep their background in a gsettings schema.
struct GSettingsDesktop {
    std::vector<std::string> Names; // lower case, as in $XDG_CURRENT_DESKTOP
    const char* Schema;
    const char* DconfDir; // where dconf keeps the values the user set
    std::vector<const char*> Keys;
    bool Uri; // the keys hold file: URIs, else paths
};

const std::vector<GSettingsDesktop>& GSettingsDesktops()
{
    static const std::vector<GSettingsDesktop> desktops = {
        {{"gnome", "unity", "budgie", "pantheon"},
         "org.gnome.desktop.background",
         "/org/gnome/desktop/background/",
         {"picture-uri", "picture-uri-dark"},
         true},
        {{"x-cinnamon", "cinnamon"},
         "org.cinnamon.desktop.background",
         "/org/cinnamon/desktop/background/",
         {"picture-uri"},
         true},
        {{"mate"}, "org.mate.background", "/org/mate/desktop/background/", {"picture-filename"}, false},
    };
    return desktops;
}

const GSettingsDesktop* SchemaDesktop(const std::string& schema)
{
    for (const GSettingsDesktop& desktop : GSettingsDesktops())
        if (schema == desktop.Schema)
            return &desktop;
    return nullptr;
}

constexpr const char* GSettings = "gsettings";
constexpr const char* Xfconf = "xfconf-query";
constexpr const char* XfconfChannel = "xfce4-desktop";

using Setting = DesktopBackground::Setting;

std::vector<std::string> GetCommand(const Setting& s)
{
    if (s.Program == GSettings)
        return {"get", s.Group, s.Key};
    return {"-c", s.Group, "-p", s.Key};
}

std::vector<std::string> SetCommand(const Setting& s, const std::string& value)
{
    if (s.Program == GSettings)
        return {"set", s.Group, s.Key, value};
    return {"-c", s.Group, "-p", s.Key, "-s", value};
}

std::vector<std::string> ResetCommand(const Setting& s)
{
    if (s.Program == GSettings)
        return {"reset", s.Group, s.Key};
    return {"-c", s.Group, "-p", s.Key, "-r"};
}

std::string ValueFor(const Setting& setting, const std::string& imagePath)
{
    const GSettingsDesktop* desktop = setting.Program == GSettings ? SchemaDesktop(setting.Group) : nullptr;
    if (!desktop)
        return imagePath;
    if (desktop->Uri)
        return GVariantString(QUrl::fromLocalFile(QString::fromLocal8Bit(imagePath)).toEncoded().toStdString());
    return GVariantString(imagePath);
}

// The keep file holds one setting a line, its fields separated by tabs:
// program, group, key, "default" or "value", value.
std::string Escaped(const std::string& field)
{
    std::string out;
    for (const char c : field) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

// One word for sh, whatever it holds.
std::string ShellWord(const std::string& text)
{
    std::string out = "'";
    for (const char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string ShellCommand(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string line = program;
    for (const std::string& argument : arguments)
        line += " " + ShellWord(argument);
    return line + "\n";
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\t') {
            fields.emplace_back();
        } else if (c == '\\' && i + 1 < line.size()) {
            const char next = line[++i];
            fields.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next;
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

} // namespace

DesktopBackground::DesktopBackground(CommandRunner& runner, std::string currentDesktop, std::string keepFile,
                                     std::string logonEntry)
    : runner_(runner), desktops_(Split(Lower(std::move(currentDesktop)), ':')), keepFile_(std::move(keepFile)),
      logonEntry_(std::move(logonEntry))
{
}

std::vector<Setting> DesktopBackground::Settings()
{
    const auto runs = [&](const std::vector<std::string>& names) {
        return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return std::find(desktops_.begin(), desktops_.end(), name) != desktops_.end();
        });
    };
    std::vector<Setting> settings;
    for (const GSettingsDesktop& desktop : GSettingsDesktops()) {
        if (!runs(desktop.Names))
            continue;
        for (const char* key : desktop.Keys)
            settings.push_back({GSettings, desktop.Schema, key});
    }
    if (runs({"xfce"})) {
        // One image property per monitor and workspace.
        const CommandResult list = runner_.Run(Xfconf, {"-c", XfconfChannel, "-l"});
        if (list.Succeeded) {
            for (const std::string& property : Split(list.Output, '\n')) {
                const std::string suffix = "/last-image";
                if (property.size() > suffix.size() && property.ends_with(suffix))
                    settings.push_back({Xfconf, XfconfChannel, property});
            }
        }
    }
    return settings;
}

bool DesktopBackground::AtDefault(const Setting& setting)
{
    // Xfce lists only the properties that are set.
    const GSettingsDesktop* desktop = setting.Program == GSettings ? SchemaDesktop(setting.Group) : nullptr;
    if (!desktop)
        return false;
    // gsettings shows the default the same as a value; dconf reads nothing
    // for a key the user never set. Without dconf the value is kept as set.
    const CommandResult user = runner_.Run("dconf", {"read", desktop->DconfDir + setting.Key});
    return user.Succeeded && WithoutLineEnd(user.Output).empty();
}

bool DesktopBackground::IsSaved(const Setting& setting) const
{
    return std::any_of(saved_.begin(), saved_.end(), [&](const Saved& saved) { return saved.Where == setting; });
}

void DesktopBackground::WriteKeepFile() const
{
    std::string text;
    for (const Saved& saved : saved_)
        text += Escaped(saved.Where.Program) + "\t" + Escaped(saved.Where.Group) + "\t" + Escaped(saved.Where.Key) +
                "\t" + (saved.WasDefault ? "default" : "value") + "\t" + Escaped(saved.Value) + "\n";
    try {
        ReplaceFileContents(keepFile_, text);
    } catch (const std::exception&) {
        // The values are still kept in memory for a Clear or the session's end.
    }
    WriteLogonRestore();
}

void DesktopBackground::WriteLogonRestore() const
{
    std::string script = "#!/bin/sh\n# Puts back the wallpaper the desktop had before Tarvok's, once.\n";
    for (const Saved& saved : saved_) {
        const Setting& where = saved.Where;
        script += ShellCommand(where.Program, saved.WasDefault ? ResetCommand(where) : SetCommand(where, saved.Value));
    }
    script += ShellCommand("rm", {"-f", "--", keepFile_, ScriptPath(), logonEntry_});
    const std::string entry = "[Desktop Entry]\nType=Application\nName=Tarvok wallpaper\nNoDisplay=true\nExec=sh " +
                              DesktopEntryExec(ScriptPath()) + "\n";
    try {
        ReplaceFileContents(ScriptPath(), script);
        CreateDirWithParents(std::filesystem::path(logonEntry_).parent_path().string());
        ReplaceFileContents(logonEntry_, entry);
    } catch (const std::exception&) {
        // The program's own next start still restores from the keep file.
    }
}

void DesktopBackground::Set(const std::string& imagePath)
{
    std::vector<Setting> settings;
    bool added = false;
    for (const Setting& setting : Settings()) {
        if (!IsSaved(setting)) {
            // A setting this desktop does not have is left alone.
            const CommandResult old = runner_.Run(setting.Program, GetCommand(setting));
            if (!old.Succeeded)
                continue;
            saved_.push_back({setting, WithoutLineEnd(old.Output), AtDefault(setting)});
            added = true;
        }
        settings.push_back(setting);
    }
    // On disk before anything changes: a program killed now leaves the
    // values for its next start.
    if (added)
        WriteKeepFile();
    for (const Setting& setting : settings)
        runner_.Run(setting.Program, SetCommand(setting, ValueFor(setting, imagePath)));
}

void DesktopBackground::Restore()
{
    if (saved_.empty())
        ReadKeepFile();
    for (const Saved& saved : saved_) {
        const Setting& where = saved.Where;
        runner_.Run(where.Program, saved.WasDefault ? ResetCommand(where) : SetCommand(where, saved.Value));
    }
    saved_.clear();
    DeleteFile(keepFile_);
    DeleteFile(ScriptPath());
    DeleteFile(logonEntry_);
}

void DesktopBackground::ReadKeepFile()
{
    std::string text;
    try {
        if (FileExists(keepFile_))
            text = ReadWholeFile(keepFile_);
    } catch (const std::exception&) {
        return;
    }
    for (const std::string& line : Split(text, '\n')) {
        const std::vector<std::string> f = Fields(line);
        // Only the two tools the program itself writes for are run.
        if (f.size() != 5 || (f[0] != GSettings && f[0] != Xfconf) || (f[3] != "default" && f[3] != "value"))
            continue;
        saved_.push_back({{f[0], f[1], f[2]}, f[4], f[3] == "default"});
    }
}

} // namespace tarvok::platform
