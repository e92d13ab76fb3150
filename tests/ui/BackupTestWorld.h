#pragma once
#include "MainTestWorld.h"
#include "core/ProjectFile.h"
#include "ui/widgets/LineList.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>

namespace tarvok::test {

// A clock that can look at the window while a backup run asks for the time.
class SpyClock : public FakeClock {
public:
    LocalTime Now() const override
    {
        if (OnNow)
            OnNow();
        return FakeClock::Now();
    }
    std::function<void()> OnNow;
};

// The main window shown on its default project, with Timer1 stopped so no
// automatic backup interferes; the start-up question is answered and
// forgotten. Backup is the project's backup directory.
class BackupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = std::make_unique<ui::TMainForm>(
            ui::MainSeams{Dialogs, Clock, Shell, Desktop, [] { return std::optional<std::string>(TestUser); }, {}},
            App.Path());
        Form->Controls().Timer1->stop();
        Form->show();
        Dialogs.Log.clear();
        Backup = Form->State().Current().BackUpDir;
    }

    // A file of its own folder under the application directory.
    std::string MakeSource(const std::string& folder, const std::string& name, const std::string& contents)
    {
        std::filesystem::create_directories(App / folder);
        const std::string path = App / folder + "/" + name;
        WriteFile(path, contents);
        return path;
    }

    // A snapshot folder of the project holding the named files.
    void MakeSnapshot(const std::string& folder, std::initializer_list<std::string> files)
    {
        std::filesystem::create_directories(Backup + "/" + folder);
        for (const std::string& name : files)
            WriteFile(Backup + "/" + folder + "/" + name, name + " backed up");
    }

    // Opens the named snapshot folder in the browser as a double-click does.
    void OpenSnapshot(const std::string& folder)
    {
        Form->ShowBkUpFolders(Backup);
        const int line = Lines(Form->Controls().lbxTarget).indexOf(QString::fromStdString(folder));
        ASSERT_GE(line, 0);
        Select(Form->Controls().lbxTarget, {line});
        Form->lbxTargetDblClick();
        ASSERT_EQ(Form->State().BrowserMode(), BrowserMode::FileView);
    }

    static void Select(ui::LineList* list, std::initializer_list<int> lines)
    {
        list->clearSelection();
        for (int line : lines)
            list->SetSelected(line, true);
    }

    static QStringList Lines(const ui::LineList* list)
    {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->Text(i);
        return lines;
    }

    static std::vector<std::string> NamesOnDisk(const std::string& dir)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir App;
    FakeDialogs Dialogs;
    SpyClock Clock;
    FakeShell Shell;
    FakeDesktop Desktop;
    std::unique_ptr<ui::TMainForm> Form;
    std::string Backup;
};

} // namespace tarvok::test
