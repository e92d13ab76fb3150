#pragma once
#include "platform/qt/CommandRunner.h"

#include <string>
#include <vector>

namespace tarvok::platform {

// The background setting of a desktop environment that paints its own
// background over the root window: GNOME and its relatives through
// gsettings, Xfce through xfconf-query. Set remembers each setting's value
// from before the first Set of this run; Restore puts those back.
class DesktopBackground {
public:
    // `currentDesktop` is $XDG_CURRENT_DESKTOP: names separated by ":".
    DesktopBackground(CommandRunner& runner, std::string currentDesktop);

    void Set(const std::string& imagePath);
    void Restore();

private:
    // One setting: how to read it and how to write it (the value goes last).
    struct Setting {
        std::string Program;
        std::vector<std::string> Get;
        std::vector<std::string> SetPrefix;
        bool AsGSettingsUri = false;  // a quoted file: URI
        bool AsGSettingsPath = false; // a quoted path
    };
    struct Saved {
        Setting Where;
        std::string Value;
    };

    std::vector<Setting> Settings();
    std::string ValueFor(const Setting& setting, const std::string& imagePath) const;
    bool IsSaved(const Setting& setting) const;

    CommandRunner& runner_;
    std::vector<std::string> desktops_;
    std::vector<Saved> saved_;
};

} // namespace tarvok::platform
