// The end of the session (logout, shutdown, a termination signal): the
// close's writes without its question, and the end of the program.
#include "base/Desktop.h"
#include "ui/main/Main.h"

#include <QApplication>
#include <QDialog>

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
    // A box or dialog still open ends unanswered, as by its close button:
    // a question counts as No, the projects dialog's edits as cancelled.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
            dialog->close();
    hide();
    emit Closed();
}

} // namespace tarvok::ui
