// The end of the session (logout, shutdown, a termination signal): the
// close's writes without its question, and the end of the program.
#include "base/Desktop.h"
#include "ui/main/Main.h"

#include <cstdio>

namespace tarvok::ui {

void TMainForm::SaveWithoutDisplay()
{
    for (const std::string& line : state_.SaveForSessionEnd())
        std::fprintf(stderr, "Tarvok: %s\n", line.c_str());
}

void TMainForm::SaveAtSessionEnd()
{
    SaveWithoutDisplay();
    // Our wallpaper was for this logon only.
    Desktop.RestoreWallpaperSetting();
}

void TMainForm::EndSession()
{
    if (!state_.EndSession())
        return;
    SaveAtSessionEnd();
    hide();
    emit Closed();
}

} // namespace tarvok::ui
