#pragma once
#include <functional>
#include <optional>
#include <string>

namespace tarvok {
class Clock;
class Desktop;
class Dialogs;
class Shell;
} // namespace tarvok

namespace tarvok::platform {
class SessionEndWatcher;
} // namespace tarvok::platform

namespace tarvok::ui {

// The notification area as main() finds it; a test sets its own.
struct TrayHost {
    // One activation of the icon stands for a double click (GNOME Shell's host).
    bool ActivationShows = false;
    // Whether a notification area runs now; without one the window lives in
    // the taskbar instead.
    std::function<bool()> Runs = [] { return true; };
    // How long the window waits at the start for a notification area that
    // is not there yet before it shows: at logon the desktop's panel often
    // starts after the program. Zero shows it at once.
    int WaitAtStartMs = 0;
};

// The services the window works through; main() gives the real ones, a
// test its own.
struct MainSeams {
    tarvok::Dialogs& Dialogs;
    tarvok::Clock& Clock;
    tarvok::Shell& Shell;
    tarvok::Desktop& Desktop;
    // The user's name for the start-up greeting; nothing when it is unknown.
    std::function<std::optional<std::string>()> UserName;
    TrayHost Tray = {};
    // The session's end, heard from the window's creation on: the start's
    // question may be open when it comes. None in most tests.
    platform::SessionEndWatcher* SessionEnd = nullptr;
};

} // namespace tarvok::ui
