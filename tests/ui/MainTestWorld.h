#pragma once
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "TempDir.h"
#include "core/FileUtility.h"
#include "core/Settings.h"
#include "ui/main/Main.h"

#include <memory>
#include <string>
#include <vector>

namespace tarvok::test {

// A fresh program world for one test: an application directory of its own,
// scripted dialogs, a settable clock and a recording shell. Queue dialog
// answers before Create(): the main window's creation may ask a question.
struct MainWorld {
    TempDir App;
    FakeDialogs Dialogs;
    FakeClock Clock;
    FakeShell Shell;
    std::unique_ptr<ui::TMainForm> Form;

    ui::TMainForm& Create()
    {
        Form = std::make_unique<ui::TMainForm>(Dialogs, Clock, Shell, App.Path());
        return *Form;
    }

    std::string SettingsText() const { return ReadFile(App / SettingsFileName); }

    // Writes a settings file holding `projects`, after the three settings.
    void WriteSettings(const AppSettings& settings, const ProjectList& projects) const
    {
        WriteFile(App / SettingsFileName, FormatSettings(settings, projects));
    }

    // A project whose backup directory and project file exist, listing the
    // named files (made in its own source folder).
    PrjRec MakeProject(const std::string& name, const std::vector<std::string>& files) const
    {
        PrjRec project;
        project.Name = name;
        project.BackUpDir = App / ("backup-" + name);
        project.AutoBkUp = 1;
        project.Hour = 10;
        std::filesystem::create_directories(project.BackUpDir);
        const std::string sources = App / ("sources-" + name);
        std::filesystem::create_directories(sources);
        std::string list;
        for (const std::string& file : files) {
            WriteFile(sources + "/" + file, file);
            list += sources + "/" + file + "\r\n";
        }
        WriteFile(ProjectFilePath(project.BackUpDir), list);
        return project;
    }
};

} // namespace tarvok::test
