#include "BackupTestWorld.h"
#include "ModalDriver.h"
#include "ui/dialogs/Projects.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <map>

using namespace tarvok;
using namespace tarvok::test;
namespace fs = std::filesystem;

namespace {
using Texts = std::vector<std::string>;
} // namespace

// The tray's "&Quit" stays usable while a box waits in the middle of a
// restore; the allowed close must wait for the restore to finish, or the
// restore would walk freed lists.
TEST_F(BackupTest, QuitDuringARestoreBoxClosesAfterTheRestore)
{
    MakeSnapshot("01_02_08", {"a.txt", "b.txt"});
    OpenSnapshot("01_02_08");
    Select(Form->Controls().lbxTarget, {0, 1});
    const int first = Lines(Form->Controls().lbxTarget).indexOf("a.txt") == 0 ? 0 : 1;
    const std::string vanished = Form->State().BackupList().front().FileName;
    fs::remove(vanished); // its restore shows the missing-file warning
    const std::string out = App / "out";
    fs::create_directory(out);
    Dialogs.Directories = {out};

    QSignalSpy closed(Form.get(), &ui::TMainForm::Closed);
    Dialogs.WhileShown = [&](const FakeDialogs::Shown& shown) {
        if (shown.Kind == "warning")
            Form->Controls().cmQuit->trigger(); // Yes to "Are you sure to exit this program?"
    };
    Form->btnRestoreClick();
    Dialogs.WhileShown = nullptr;

    EXPECT_EQ(closed.count(), 0) << "nothing is freed while the restore runs";
    EXPECT_FALSE(fs::exists(App / SettingsFileName));
    EXPECT_EQ(Dialogs.TextsOf("message"), Texts{"Restore Success."});
    EXPECT_EQ(NamesOnDisk(out), Texts{first == 0 ? "b.txt" : "a.txt"}) << "the restore went on after the box";
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed.count() == 1; }, 2000));
    EXPECT_TRUE(fs::exists(App / SettingsFileName)) << "the close steps ran afterwards";
    EXPECT_TRUE(Form->State().ProjectList().empty());
}

TEST_F(BackupTest, ClosingIsAskedOnceAndNoStopsIt)
{
    MakeSnapshot("01_02_08", {"a.txt"});
    OpenSnapshot("01_02_08");
    Select(Form->Controls().lbxTarget, {0});
    fs::remove(Form->State().BackupList().front().FileName);
    Dialogs.Directories = {App.Path()};
    QSignalSpy closed(Form.get(), &ui::TMainForm::Closed);
    Dialogs.WhileShown = [&](const FakeDialogs::Shown& shown) {
        if (shown.Kind == "warning") {
            Dialogs.Answers = {false}; // No to the exit question
            Form->Controls().cmQuit->trigger();
        }
    };
    Form->btnRestoreClick();
    Dialogs.WhileShown = nullptr;
    QTest::qWait(50);
    EXPECT_EQ(closed.count(), 0);
    EXPECT_FALSE(Form->State().ProjectList().empty());
}

// Every command that waits for the user in a dialog and then works on the
// lists: a Quit from the tray menu meanwhile (Yes to its question) ends the
// program once the command is over, and the command finds its lists whole.
class QuitWhileWaitingTest : public BackupTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(QuitWhileWaitingTest, TheCloseWaitsForTheCommand)
{
    const std::string command = GetParam();
    MakeSnapshot("01_02_08", {"a.txt"});
    Dialogs.Directories = {App.Path()};
    Dialogs.FileChoices = {{MakeSource("src", "a.txt", "a")}};
    QSignalSpy closed(Form.get(), &ui::TMainForm::Closed);
    const auto quit = [&] { Form->Controls().cmQuit->trigger(); };
    if (command == "projects") {
        WhileModal<ui::TPrjDlg>([&] { Form->OpenProject1Click(); },
                                [&](ui::TPrjDlg& dlg) {
                                    quit();
                                    dlg.SetCursor(1, 1);
                                    dlg.btnNew->click();
                                    dlg.OKBtn->click();
                                });
    } else {
        const std::map<std::string, std::pair<std::string, void (ui::TMainForm::*)()>> commands = {
            {"add", {"openfiles", &ui::TMainForm::btnAddClick}},
            {"backup dir", {"selectdir", &ui::TMainForm::btnselDirClick}},
            {"restore", {"selectdir", &ui::TMainForm::btnRestoreClick}},
            {"delete", {"confirm", &ui::TMainForm::BtnDelBkUpClick}},
        };
        if (command == "restore")
            OpenSnapshot("01_02_08");
        else
            Form->ShowBkUpFolders(Backup);
        Select(Form->Controls().lbxTarget, {0});
        const auto& [box, run] = commands.at(command);
        bool quitAsked = false;
        Dialogs.WhileShown = [&](const FakeDialogs::Shown& shown) {
            if (shown.Kind == box && !std::exchange(quitAsked, true))
                quit();
        };
        (Form.get()->*run)();
        Dialogs.WhileShown = nullptr;
    }
    EXPECT_EQ(closed.count(), 0) << "nothing is freed while the command runs";
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed.count() == 1; }, 5000));
    if (command == "projects") {
        EXPECT_NE(ReadFile(App / SettingsFileName).find("MyPrj-1"), std::string::npos) << "the dialog's edit is kept";
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, QuitWhileWaitingTest,
                         ::testing::Values("projects", "add", "backup dir", "restore", "delete"));
