#include "BackupTestWorld.h"

#include <QSignalSpy>
#include <QTest>

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
    const std::string vanished = Form->State().BackupList.front().FileName;
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
    EXPECT_TRUE(Form->State().ProjectList.empty());
}

TEST_F(BackupTest, ClosingIsAskedOnceAndNoStopsIt)
{
    MakeSnapshot("01_02_08", {"a.txt"});
    OpenSnapshot("01_02_08");
    Select(Form->Controls().lbxTarget, {0});
    fs::remove(Form->State().BackupList.front().FileName);
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
    EXPECT_FALSE(Form->State().ProjectList.empty());
}
