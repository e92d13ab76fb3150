#pragma once
#include "ConsoleDialogs.h"
#include "platform/SystemClock.h"
#include "ui/main/Main.h"

#include <QTimer>

#include <string>

namespace tarvok::bench {

// The real main window on `appDir`, shown, with its timer stopped so that
// nothing but the measured work runs.
struct BenchWindow {
    explicit BenchWindow(const std::string& appDir) : Form(Dialogs, Clock, Shell, appDir)
    {
        Form.Timer1->stop();
        Form.show();
    }

    ConsoleDialogs Dialogs{false};
    NoShell Shell;
    platform::SystemClock Clock;
    ui::TMainForm Form;
};

} // namespace tarvok::bench
