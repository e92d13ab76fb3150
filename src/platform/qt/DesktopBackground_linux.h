#pragma once
#include "platform/qt/CommandRunner.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvok::platform {

// The background setting of a desktop environment that paints its own
// background over the root window: GNOME and its relatives through
// gsettings, Xfce through xfconf-query, a running LXQt (pcmanfm-qt) or
// Plasma desktop through its own command, its value read from its settings
// file and put back through the running desktop, else into that file. That
// setting outlasts the logon, so the values the first Set replaced are also
// written to a keep file before anything changes (never our own picture: a
// default stands in for it); Restore puts them back where the desktop still
// shows our picture (a key that held its default is reset) and removes the file. With nothing kept in memory, Restore
// reads the file: a run that ended without restoring left it behind. Ours lasts the logon only, also after a normal
// exit: beside the keep file a script runs the same restore, and an autostart entry has the next logon run it once; the
// script removes both and the keep file, as Restore does.
class DesktopBackground {
public:
    // `currentDesktop` is $XDG_CURRENT_DESKTOP: names separated by ":";
    // `logonEntry` is the autostart entry's path.
    DesktopBackground(CommandRunner& runner, std::string currentDesktop, std::string keepFile, std::string logonEntry);

    // True when the desktop's own tools took the picture, false when the
    // desktop paints over the root window and they did not; nullopt where
    // no desktop is known to paint over it.
    std::optional<bool> Set(const std::string& imagePath);
    void Restore();

    // One setting: the tool, and the schema and key (gsettings), the
    // channel and property (xfconf-query), or the settings file and
    // "section/key" (pcmanfm-qt, plasmashell) it names.
    struct Setting {
        std::string Program;
        std::string Group;
        std::string Key;
        bool operator==(const Setting&) const = default;
    };

    using Command = std::pair<std::string, std::vector<std::string>>;

private:
    struct Saved {
        Setting Where;
        std::string Value;
        bool WasDefault = false; // the user had never set it
    };

    // What Set does on this desktop: the settings to keep first, and the
    // desktop's own commands, which take the picture's path last.
    struct Plan {
        bool PaintsOwn = false;
        std::vector<Setting> Settings;
        std::vector<Command> Commands;
    };
    Plan MakePlan();
    std::optional<Saved> Read(const Setting& setting);
    bool Answers(const char* busName);
    bool AtDefault(const Setting& setting, const std::string& value);
    bool ShowsOursNow(const Setting& setting);
    bool IsSaved(const Setting& setting) const;
    void WriteKeepFile() const;
    void WriteLogonRestore() const;
    std::string ScriptPath() const { return keepFile_ + ".sh"; }
    void ReadKeepFile();

    CommandRunner& runner_;
    std::vector<std::string> desktops_;
    std::string keepFile_;
    std::string logonEntry_;
    std::vector<Saved> saved_;
};

} // namespace tarvok::platform
