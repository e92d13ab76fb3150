#pragma once
#include "ConsoleDialogs.h"
#include "core/Settings.h"
#include "platform/SystemClock.h"
#include "platform/qt/Desktop_linux.h"
#include "ui/main/Main.h"

#include <QTimer>

#include <string>

namespace tarvok::bench {

// The real main window on `appDir`, shown, with its timer stopped so that
// nothing but the measured work runs.
struct BenchWindow {
    explicit BenchWindow(const std::string& appDir)
        : Desktop(JoinPath(appDir, WallpaperKeepFileName), JoinPath(appDir, "logon.desktop")),
          Form({Dialogs, Clock, Shell, Desktop, [] { return std::optional<std::string>(); }}, appDir)
    {
        Form.Controls().Timer1->stop();
        Form.show();
    }

    ConsoleDialogs Dialogs{false};
    NoShell Shell;
    platform::SystemClock Clock;
    platform::LinuxDesktop Desktop;
    ui::TMainForm Form;
};

} // namespace tarvok::bench
