#include "platform/qt/DesktopBackground_linux.h"

#include "platform/AppDir.h"
#include "platform/AutoStartEntry_linux.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/qt/ConfigFileText.h"

#include <QSettings>
#include <QString>
#include <QTemporaryFile>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <utility>

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

// LXQt's and Plasma's desktops keep the picture in a settings file, read
// only at their start; while one runs, only its own command changes it.
// Their settings name the file and "section/key".
struct FileDesktop {
    const char* Program;
    const char* BusName; // the running desktop's on the session bus
};
constexpr FileDesktop Pcmanfm{"pcmanfm-qt", "org.pcmanfm.PCManFM"};
constexpr FileDesktop Plasma{"plasmashell", "org.kde.plasmashell"};

const FileDesktop* FileDesktopOf(const std::string& program)
{
    for (const FileDesktop* desktop : {&Pcmanfm, &Plasma})
        if (program == desktop->Program)
            return desktop;
    return nullptr;
}

using Setting = DesktopBackground::Setting;
using Command = DesktopBackground::Command;

// Every picture the program sets is one of its skins, TarvokSkin<n>.bmp.
constexpr const char* OurPicture = "TarvokSkin";

bool ShowsOurs(const std::string& value) { return value.find(OurPicture) != std::string::npos; }

std::pair<std::string, std::string> SectionAndKey(const Setting& s)
{
    const size_t slash = s.Key.rfind('/');
    return {s.Key.substr(0, slash), s.Key.substr(slash + 1)};
}

std::vector<std::string> BusNameQuery(const char* busName)
{
    return {"--session",
            "--print-reply",
            "--dest=org.freedesktop.DBus",
            "/org/freedesktop/DBus",
            "org.freedesktop.DBus.NameHasOwner",
            std::string("string:") + busName};
}

std::string ReadTextOrNothing(const std::string& path)
{
    try {
        return FileExists(path) ? ReadWholeFile(path) : std::string();
    } catch (const std::exception&) {
        return {};
    }
}

// Where a user has no value of their own, pcmanfm-qt shows the one of the
// first system-wide settings file that has it ($XDG_CONFIG_DIRS).
std::optional<std::string> SystemWideValue(const Setting& s)
{
    if (s.Program != Pcmanfm.Program)
        return std::nullopt;
    const std::string home = ConfigHome() + "/";
    if (!s.Group.starts_with(home))
        return std::nullopt;
    const std::string dirs = EnvironmentValue("XDG_CONFIG_DIRS");
    const auto [section, key] = SectionAndKey(s);
    for (const std::string& dir : Split(dirs.empty() ? "/etc/xdg" : dirs, ':'))
        if (auto value = RawConfigValue(ReadTextOrNothing(dir + "/" + s.Group.substr(home.size())), section, key))
            return value;
    return std::nullopt;
}

// A QSettings value as written, read back by QSettings itself.
std::string QtIniUnescaped(const std::string& raw)
{
    QTemporaryFile file;
    if (!file.open())
        return raw;
    file.write(("[a]\nb=" + raw + "\n").c_str());
    file.close();
    return QSettings(file.fileName(), QSettings::IniFormat).value("a/b").toString().toStdString();
}

// A string for the desktop's script engine.
std::string ScriptString(const std::string& text)
{
    std::string out = "'";
    for (const char c : text) {
        if (c == '\\' || c == '\'')
            out += '\\';
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out + "'";
}

// The command that gives a running file desktop the value back; none where
// it has no way to go back to its default.
std::optional<Command> LiveRestoreCommand(const Setting& s, const std::string& raw, bool wasDefault)
{
    if (s.Program == Pcmanfm.Program) {
        // A system-wide picture is kept as the value, and given back the same way.
        if (raw.empty())
            return std::nullopt;
        return Command{Pcmanfm.Program, {"--set-wallpaper", QtIniUnescaped(raw)}};
    }
    // Plasma: "Containments][N][Wallpaper][org.kde.image][General"; an empty
    // picture is its default.
    const std::string section = SectionAndKey(s).first;
    const size_t idStart = section.find("][") + 2;
    const std::string id = section.substr(idStart, section.find(']', idStart) - idStart);
    const std::string script = "var d = desktopById(" + id +
                               "); d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General']; "
                               "d.writeConfig('Image', " +
                               ScriptString(wasDefault ? std::string() : KConfigUnescaped(raw)) + ");";
    return Command{"dbus-send",
                   {"--session", "--print-reply", "--dest=org.kde.plasmashell", "/PlasmaShell",
                    "org.kde.PlasmaShell.evaluateScript", "string:" + script}};
}

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

std::string ShellLine(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string line = program;
    for (const std::string& argument : arguments)
        line += " " + ShellWord(argument);
    return line;
}

std::string ShellCommand(const std::string& program, const std::vector<std::string>& arguments)
{
    return ShellLine(program, arguments) + "\n";
}

// The logon script's edit of a settings file, as WithRawConfigValue does it:
// key k in section s gets $TARVOK_VALUE, or goes when $TARVOK_DROP is set.
constexpr const char* ConfigEditAwk = R"(
function put() { if (!done && !drop) print k "=" v; done = 1 }
BEGIN { v = ENVIRON["TARVOK_VALUE"]; drop = ENVIRON["TARVOK_DROP"] != "" }
/^\[.*\]$/ { if (here) put(); here = $0 == "[" s "]"; print; next }
here && index($0, k "=") == 1 { put(); next }
{ print }
END { if (here) put(); else if (!done && !drop) { print "[" s "]"; print k "=" v } }
)";

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

DesktopBackground::Plan DesktopBackground::MakePlan()
{
    const auto runs = [&](const std::vector<std::string>& names) {
        return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return std::find(desktops_.begin(), desktops_.end(), name) != desktops_.end();
        });
    };
    Plan plan;
    for (const GSettingsDesktop& desktop : GSettingsDesktops()) {
        if (!runs(desktop.Names))
            continue;
        plan.PaintsOwn = true;
        for (const char* key : desktop.Keys)
            plan.Settings.push_back({GSettings, desktop.Schema, key});
    }
    if (runs({"xfce"})) {
        plan.PaintsOwn = true;
        // One image property per monitor and workspace.
        const CommandResult list = runner_.Run(Xfconf, {"-c", XfconfChannel, "-l"});
        if (list.Succeeded) {
            for (const std::string& property : Split(list.Output, '\n')) {
                const std::string suffix = "/last-image";
                if (property.size() > suffix.size() && property.ends_with(suffix))
                    plan.Settings.push_back({Xfconf, XfconfChannel, property});
            }
        }
    }
    // Without its desktop running LXQt or Plasma shows the root window.
    if (runs({"lxqt"}) && Answers(Pcmanfm.BusName)) {
        plan.PaintsOwn = true;
        plan.Settings.push_back(
            {Pcmanfm.Program, ConfigHome() + "/pcmanfm-qt/lxqt/settings.conf", "Desktop/Wallpaper"});
        plan.Commands.push_back({Pcmanfm.Program, {"--set-wallpaper"}});
    }
    if (runs({"kde"}) && Answers(Plasma.BusName)) {
        plan.PaintsOwn = true;
        const std::string file = ConfigHome() + "/plasma-org.kde.plasma.desktop-appletsrc";
        const std::string text = ReadTextOrNothing(file);
        for (const std::string& section : ConfigSections(text)) {
            // The desktops among the containments; panels have one too.
            const std::string prefix = "Containments][";
            const std::string id = section.substr(std::min(prefix.size(), section.size()));
            const std::optional<std::string> plugin = RawConfigValue(text, section, "plugin");
            if (section.starts_with(prefix) && !id.empty() && id.find(']') == std::string::npos &&
                (plugin == "org.kde.desktopcontainment" || plugin == "org.kde.plasma.folder"))
                plan.Settings.push_back({Plasma.Program, file, section + "][Wallpaper][org.kde.image][General/Image"});
        }
        plan.Commands.push_back({"plasma-apply-wallpaperimage", {}});
    }
    return plan;
}

bool DesktopBackground::Answers(const char* busName)
{
    const CommandResult reply = runner_.Run("dbus-send", BusNameQuery(busName));
    return reply.Succeeded && reply.Output.find("boolean true") != std::string::npos;
}

std::optional<DesktopBackground::Saved> DesktopBackground::Read(const Setting& setting)
{
    // Our own picture, left by a run that lost its keep file, is never
    // kept as the user's: the desktop's default stands in for it.
    if (FileDesktopOf(setting.Program)) {
        const auto [section, key] = SectionAndKey(setting);
        const std::optional<std::string> raw = RawConfigValue(ReadTextOrNothing(setting.Group), section, key);
        if (raw && !ShowsOurs(*raw))
            return Saved{setting, *raw, false};
        return Saved{setting, SystemWideValue(setting).value_or(""), true};
    }
    // A setting this desktop does not have is left alone.
    const CommandResult old = runner_.Run(setting.Program, GetCommand(setting));
    if (!old.Succeeded)
        return std::nullopt;
    const std::string value = WithoutLineEnd(old.Output);
    return Saved{setting, value, ShowsOurs(value) || AtDefault(setting, value)};
}

bool DesktopBackground::AtDefault(const Setting& setting, const std::string& value)
{
    // Xfce lists only the properties that are set.
    const GSettingsDesktop* desktop = setting.Program == GSettings ? SchemaDesktop(setting.Group) : nullptr;
    if (!desktop)
        return false;
    // gsettings shows the default the same as a value; dconf reads nothing
    // for a key the user never set.
    const CommandResult user = runner_.Run("dconf", {"read", desktop->DconfDir + setting.Key});
    if (user.Succeeded)
        return WithoutLineEnd(user.Output).empty();
    // Without dconf, gsettings on its memory backend shows the schema's default.
    const CommandResult schema =
        runner_.Run("env", {"GSETTINGS_BACKEND=memory", GSettings, "get", setting.Group, setting.Key});
    return schema.Succeeded && WithoutLineEnd(schema.Output) == value;
}

bool DesktopBackground::ShowsOursNow(const Setting& setting)
{
    if (FileDesktopOf(setting.Program)) {
        const auto [section, key] = SectionAndKey(setting);
        return ShowsOurs(RawConfigValue(ReadTextOrNothing(setting.Group), section, key).value_or(""));
    }
    const CommandResult now = runner_.Run(setting.Program, GetCommand(setting));
    return now.Succeeded && ShowsOurs(now.Output);
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
        const FileDesktop* desktop = FileDesktopOf(where.Program);
        // Only while the desktop still shows our picture.
        const std::string showsOurs = " 2>/dev/null | grep -q " + ShellWord(OurPicture) + "; then\n";
        if (!desktop) {
            script +=
                "if " + ShellLine(where.Program, GetCommand(where)) + showsOurs + "  " +
                ShellCommand(where.Program, saved.WasDefault ? ResetCommand(where) : SetCommand(where, saved.Value)) +
                "fi\n";
            continue;
        }
        script += "if grep -q " + ShellWord(OurPicture) + " " + ShellWord(where.Group) + " 2>/dev/null; then\n";
        // The running desktop takes it by its command, else the file, which
        // it reads at its start.
        const auto [section, key] = SectionAndKey(where);
        const std::string temporary = where.Group + ".tarvok";
        script += "if " + ShellLine("dbus-send", BusNameQuery(desktop->BusName)) +
                  " 2>/dev/null | grep -q 'boolean true'; then\n";
        if (const auto live = LiveRestoreCommand(where, saved.Value, saved.WasDefault))
            script += "  " + ShellCommand(live->first, live->second);
        else
            script += "  :\n";
        script += "elif [ -f " + ShellWord(where.Group) + " ]; then\n  TARVOK_VALUE=" + ShellWord(saved.Value) +
                  " TARVOK_DROP=" + (saved.WasDefault ? "1" : "''") + " awk -v s=" + ShellWord(section) +
                  " -v k=" + ShellWord(key) + " " + ShellWord(ConfigEditAwk) + " " + ShellWord(where.Group) + " >" +
                  ShellWord(temporary) + " && cat " + ShellWord(temporary) + " >" + ShellWord(where.Group) +
                  "\n  rm -f " + ShellWord(temporary) + "\nfi\nfi\n";
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

std::optional<bool> DesktopBackground::Set(const std::string& imagePath)
{
    const Plan plan = MakePlan();
    std::vector<Setting> settings;
    bool added = false;
    for (const Setting& setting : plan.Settings) {
        if (!IsSaved(setting)) {
            const std::optional<Saved> old = Read(setting);
            if (!old)
                continue;
            saved_.push_back(*old);
            added = true;
        }
        settings.push_back(setting);
    }
    // On disk before anything changes: a program killed now leaves the
    // values for its next start.
    if (added)
        WriteKeepFile();
    if (!plan.PaintsOwn)
        return std::nullopt;
    bool ran = false;
    bool taken = true;
    for (const Setting& setting : settings) {
        if (FileDesktopOf(setting.Program))
            continue;
        taken = runner_.Run(setting.Program, SetCommand(setting, ValueFor(setting, imagePath))).Succeeded && taken;
        ran = true;
    }
    for (const auto& [program, arguments] : plan.Commands) {
        std::vector<std::string> withPath = arguments;
        withPath.push_back(imagePath);
        taken = runner_.Run(program, withPath).Succeeded && taken;
        ran = true;
    }
    return ran && taken;
}

void DesktopBackground::Restore()
{
    if (saved_.empty())
        ReadKeepFile();
    std::vector<std::pair<const FileDesktop*, bool>> running;
    const auto answers = [&](const FileDesktop* desktop) {
        for (const auto& [known, live] : running)
            if (known == desktop)
                return live;
        running.emplace_back(desktop, Answers(desktop->BusName));
        return running.back().second;
    };
    for (const Saved& saved : saved_) {
        const Setting& where = saved.Where;
        // A picture the user chose meanwhile stays.
        if (!ShowsOursNow(where))
            continue;
        const FileDesktop* desktop = FileDesktopOf(where.Program);
        if (!desktop) {
            runner_.Run(where.Program, saved.WasDefault ? ResetCommand(where) : SetCommand(where, saved.Value));
        } else if (answers(desktop)) {
            if (const auto live = LiveRestoreCommand(where, saved.Value, saved.WasDefault))
                runner_.Run(live->first, live->second);
        } else if (FileExists(where.Group)) {
            const auto [section, key] = SectionAndKey(where);
            const std::optional<std::string> value =
                saved.WasDefault ? std::nullopt : std::optional<std::string>(saved.Value);
            try {
                ReplaceFileContents(where.Group, WithRawConfigValue(ReadWholeFile(where.Group), section, key, value));
            } catch (const std::exception&) {
                // A file we may not write keeps our picture; nothing else would do better.
            }
        }
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
        // Only the tools the program itself writes for are run.
        if (f.size() != 5 || (f[0] != GSettings && f[0] != Xfconf && !FileDesktopOf(f[0])) ||
            (f[3] != "default" && f[3] != "value"))
            continue;
        saved_.push_back({{f[0], f[1], f[2]}, f[4], f[3] == "default"});
    }
}

} // namespace tarvok::platform
