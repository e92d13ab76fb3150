// The end of the session (logout, shutdown, a termination signal): the
// close's writes without its question, and the end of the program.
#include "core/Settings.h"
#include "ui/main/Main.h"

#include <cstdio>

namespace tarvok::ui {

void TMainForm::SaveAtSessionEnd()
{
    // Each file on its own: one that cannot be written must not cost the other.
    std::vector<std::string> notSaved;
    try {
        SaveSettingsForClose(notSaved);
    } catch (const std::exception& error) {
        notSaved.push_back("The settings were not saved to " + SettingsPath(AppDir) + ": " + error.what() + ".");
    }
    try {
        SaveSourceListForClose(notSaved);
    } catch (const std::exception& error) {
        notSaved.push_back(std::string("The source list was not saved: ") + error.what() + ".");
    }
    for (const std::string& line : notSaved)
        std::fprintf(stderr, "Tarvok: %s\n", line.c_str());
    // Our wallpaper was for this logon only.
    Desktop->RestoreWallpaperSetting();
}

void TMainForm::EndSession()
{
    if (SessionEnded)
        return;
    SessionEnded = true;
    SaveAtSessionEnd();
    hide();
    emit Closed();
}

} // namespace tarvok::ui
