// The Tools menu's desktop commands and the tray menu's Hide IE and Screen
// Saver On.
#include "base/Desktop.h"
#include "core/AutoStart.h"
#include "core/Dialogs.h"
#include "core/SkinChoice.h"
#include "core/WindowSearch.h"
#include "ui/main/Main.h"

#include <QAction>

namespace tarvok::ui {
void TMainForm::ConnectDesktopTools()
{
    // A run that ended without the session's end left the desktop's own
    // wallpaper setting replaced.
    Desktop.RestoreWallpaperSetting();
    const std::pair<QAction*, void (TMainForm::*)()> reactions[] = {
        {SetcurrentSkinasWallPaper1, &TMainForm::SetcurrentSkinasWallPaper1Click},
        {ClearWallPaper1, &TMainForm::ClearWallPaper1Click},
        {RunTarvokonWindowsStartUp1, &TMainForm::RunTarvokonWindowsStartUp1Click},
        {DisableAutoStarUp1, &TMainForm::DisableAutoStarUp1Click},
        {DosMode1, &TMainForm::DosMode1Click},
        {HideIE1, &TMainForm::HideIE1Click},
        {ScreenSaverOn1, &TMainForm::ScreenSaverOn1Click},
    };
    for (const auto& [action, reaction] : reactions)
        React(action, &QAction::triggered, reaction);
}

// Both wallpaper commands act only while the current skin's file exists.
void TMainForm::SetcurrentSkinasWallPaper1Click()
{
    const std::optional<std::string> skin = state_.CurrentSkinFile();
    if (skin && !Desktop.SetWallpaper(*skin))
        Dialogs.Message("This desktop does not show the wallpaper");
}

void TMainForm::ClearWallPaper1Click()
{
    if (state_.CurrentSkinFile())
        Desktop.ClearWallpaper();
}

void TMainForm::RunTarvokonWindowsStartUp1Click() { EnterRunningProgramAtLogon(); }

void TMainForm::DisableAutoStarUp1Click() { TakeRunningProgramOutOfLogon(); }

void TMainForm::DosMode1Click() { Desktop.RunDosShell(); }

void TMainForm::HideIE1Click()
{
    const WindowHandle window = FindWindowByTitle(Desktop, "Welcome To HiNet - MicroSsoft Internet Explorer", "");
    if (window == 0)
        Dialogs.Message("Window Not Found!");
    else
        Desktop.HideWindow(window);
}

void TMainForm::ScreenSaverOn1Click()
{
    if (!Desktop.StartScreenSaver())
        Dialogs.Message("Can not turn on Screen Saver");
}

} // namespace tarvok::ui
