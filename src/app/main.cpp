// The program entry: one copy at a time, then the main window, hidden, and
// the event loop until the window closes.
#include "ui/main/Main.h"
#include "core/FileUtility.h"
#include "core/Settings.h"
#include "platform/AppDir.h"
#include "platform/AutoStartEntry.h"
#include "platform/FileSystem.h"
#include "platform/SystemClock.h"
#include "platform/UserName.h"
#include "platform/qt/DisplayLoss.h"
#include "platform/qt/SessionEnd.h"
#include "platform/qt/SingleInstance.h"
#include "platform/qt/SystemDesktop.h"
#include "platform/qt/TimeChangeWatcher.h"
#include "platform/qt/TrayHost.h"
#include "platform/qt/X11Platform.h"
#include "ui/dialogs/QtDialogs.h"
#include "ui/shell/QtShell.h"
#include "ui/shell/TarvokApplication.h"

#include <QSystemTrayIcon>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

using namespace tarvok;

int main(int argc, char** argv)
{
    platform::IgnoreBrokenPipes();
    // Before the file can be replaced by an upgrade.
    platform::ExecutablePath();
    // Before any window exists: a second copy wakes the first and ends.
    QCoreApplication::setApplicationName(QStringLiteral("Tarvok"));
    // A portable copy keeps its files beside itself, an installed one in
    // the user's config folder, which gets the example skins on first start.
    const std::string appDir = platform::DetermineAppDir({TARVOK_INSTALLED_BIN_DIRS});
    std::string refusal;
    std::string lockDir = platform::RuntimeDirectory(&refusal);
    // Without a private folder the lock goes beside the settings file, in
    // the user's own folder, under a name no file of the program has.
    const char* lockName = "Tarvok";
    if (lockDir.empty()) {
        std::fprintf(stderr, "Tarvok: %s; the single-instance lock goes to %s\n", refusal.c_str(), appDir.c_str());
        lockDir = appDir;
        lockName = ".tarvok-instance";
    }
    // The session's own start at logon neither wakes a copy already running
    // nor shows the window before the desktop's panel had its chance.
    const bool atLogon = argc > 1 && std::strcmp(argv[1], platform::AtLogonArgument) == 0;
    platform::InstanceLock instance(lockDir, lockName);
    if (instance.AnotherCopyRuns()) {
        if (atLogon)
            return 0;
        if (instance.WakeRunningCopy(std::chrono::seconds(2)))
            return 0;
        // Ending quietly would leave the user with no window at all.
        std::fprintf(stderr, "Tarvok: a copy is already running but does not answer at %s\n",
                     instance.SocketPath().c_str());
        return 1;
    }
    if (!instance.HoldsLock()) {
        std::fprintf(stderr,
                     "Tarvok: the single-instance lock in %s cannot be taken, so another copy may be running; "
                     "this one ends\n",
                     lockDir.c_str());
        return 1;
    }
    if (appDir != platform::ExecutableDir())
        platform::CopyExampleSkins(JoinPath(platform::ExecutableDir(), TARVOK_EXAMPLE_SKINS), appDir);

    platform::PreferX11Platform();
    platform::RoundScaleNearWholeNumbers();
    ui::QtDialogs dialogs;
    ui::TarvokApplication app(argc, argv, dialogs);
    // The program lives in the notification area: closing a message box
    // while the window is hidden must not end it.
    app.setQuitOnLastWindowClosed(false);
    platform::NeverRestartedBySession(app);

    // A wake-up may come while the main window is still being created.
    platform::WakeUpServer wakeUps(instance.SocketPath());
    ui::TMainForm* mainForm = nullptr;
    bool wokenEarly = false;
    // Every reaction reports its own errors in the error box.
    const auto reporting = [&dialogs](auto reaction) { return ui::ReportingErrors(dialogs, std::move(reaction)); };
    QObject::connect(&wakeUps, &platform::WakeUpServer::WakeUpRequested, &app, reporting([&] {
        if (mainForm)
            mainForm->ShowMainWindow();
        else
            wokenEarly = true;
    }));
    wakeUps.Listen();

    platform::SystemClock clock;
    ui::QtShell shell;
    const std::unique_ptr<Desktop> desktop = platform::MakeSystemDesktop(JoinPath(appDir, WallpaperKeepFileName));
    const ui::TrayHost tray{platform::ActivationIsDoubleClick(platform::TrayHostProgram()),
                            [] { return QSystemTrayIcon::isSystemTrayAvailable(); }, atLogon ? 30'000 : 0};
    // A logout or a termination signal saves like a close, without asking,
    // also while the start's question is open.
    platform::SessionEndWatcher sessionEnd;
    ui::TMainForm MainForm({dialogs, clock, shell, *desktop, platform::CurrentUserName, tray, &sessionEnd}, appDir);
    if (MainForm.State().SessionEnded())
        return 0;
    mainForm = &MainForm;
    QObject::connect(&MainForm, &ui::TMainForm::Closed, &app, &QCoreApplication::quit);
    platform::TimeChangeWatcher timeWatcher;
    QObject::connect(&timeWatcher, &platform::TimeChangeWatcher::SystemTimeChanged, &MainForm,
                     reporting([&MainForm] { MainForm.SystemTimeChanged(); }));
    // A lost X server ends the program at once: what changed is written first.
    platform::DisplayLossWatch displayLoss([&MainForm] { MainForm.SaveWithoutDisplay(); });
    if (wokenEarly)
        QTimer::singleShot(0, &MainForm, reporting([&MainForm] { MainForm.ShowMainWindow(); }));
    return app.exec();
}
