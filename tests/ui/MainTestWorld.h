#pragma once
#include "FakeClock.h"
#include "FakeDesktop.h"
#include "FakeDialogs.h"
#include "ProjectWorld.h"
#include "ui/main/Main.h"

#include <memory>
#include <optional>
#include <string>

namespace tarvok::test {

// The user the start-up greeting names.
inline constexpr const char* TestUser = "tester";

// A fresh program world for one test: an application directory of its own,
// scripted dialogs, a settable clock, a recording shell and desktop. Queue
// dialog answers before Create(): the main window's creation may ask a question.
struct MainWorld : ProjectWorld {
    FakeDialogs Dialogs;
    FakeClock Clock;
    FakeShell Shell;
    FakeDesktop Desktop;
    std::optional<std::string> User = TestUser;
    ui::TrayHost Tray;
    std::unique_ptr<ui::TMainForm> Form;

    ui::MainSeams Seams(tarvok::Clock& clock, tarvok::Desktop* desktop = nullptr)
    {
        return {Dialogs, clock, Shell, desktop ? *desktop : Desktop, [this] { return User; }, Tray};
    }
    // On the recording desktop, or on `desktop` (a real one, say).
    ui::TMainForm& Create(tarvok::Desktop* desktop = nullptr)
    {
        Form = std::make_unique<ui::TMainForm>(Seams(Clock, desktop), App.Path());
        return *Form;
    }
};

} // namespace tarvok::test
