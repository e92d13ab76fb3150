#include "MainTestWorld.h"
#include "ReadOnlyFolder.h"
#include "base/InOutError.h"
#include "core/ProjectFile.h"
#include "platform/UserName.h"
#include "ui/widgets/LineList.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>

namespace tarvok::test {
namespace {

namespace fs = std::filesystem;

QStringList Items(const ui::LineList* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->Text(i);
    return items;
}

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

std::string Question() { return std::string("Hi, ") + TestUser + ". Do you wanna enable Auto BackUp?"; }

TEST(MainStartTest, FirstStartAsksByNameAndYesRunsAutomaticBackups)
{
    MainWorld world;
    ui::TMainForm& form = world.Create();

    EXPECT_EQ(world.Dialogs.TextsOf("confirm"), std::vector<std::string>{Question()});
    EXPECT_TRUE(fs::is_directory(world.App / "BkUp"));
    ASSERT_EQ(form.State().ProjectList().size(), 1u);
    EXPECT_EQ(&form.State().Current(), &form.State().ProjectList().front());
    EXPECT_EQ(form.State().Current().Name, "MyPrj-1");
    EXPECT_EQ(form.State().Current().BackUpDir, world.App / "BkUp");
    EXPECT_EQ(form.State().Settings().TimerBkUp, 1);
    EXPECT_TRUE(form.Controls().tbtnRun->isChecked());
    EXPECT_FALSE(form.Controls().tbtnStop->isChecked());
    // No Skin folder: a random skin can only be number 0.
    EXPECT_EQ(form.State().SkinCount(), 0);
    EXPECT_EQ(form.State().Settings().SkinNo, 0);
    // Created hidden, with nothing loaded and nothing written.
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.State().SourceListLoaded());
    EXPECT_EQ(form.Controls().cbxProjects->count(), 0);
    EXPECT_EQ(form.Controls().cbxProjects->currentText(), "Select a Project");
    EXPECT_FALSE(fs::exists(world.App / SettingsFileName));
}

TEST(MainStartTest, AnsweringNoLeavesAutomaticBackupsStopped)
{
    MainWorld world;
    world.Dialogs.Answers = {false};
    ui::TMainForm& form = world.Create();
    EXPECT_EQ(form.State().Settings().TimerBkUp, 0);
    EXPECT_TRUE(form.Controls().tbtnStop->isChecked());
    EXPECT_FALSE(form.Controls().tbtnRun->isChecked());
}

TEST(MainStartTest, SettingsDecideQuestionButtonsAndSkin)
{
    struct Case {
        AppSettings Settings;
        bool RunDown, StopDown, MenuChecked;
        int32_t SkinNo; // -2: any skin 0..2
    };
    const Case cases[] = {
        {{1, 5, 1}, true, false, true, -2},    // random skin among the three files
        {{0, 5, 1}, true, false, false, 5},    // a fixed skin stays
        {{2, 5, 1}, true, false, true, 5},     // checked, yet only 1 picks at random
        {{0, -1, 2}, false, false, false, -1}, // neither running nor stopped
    };
    for (const Case& c : cases) {
        MainWorld world;
        fs::create_directories(world.App / "Skin/sub");
        for (const char* name : {"TarvokSkin0.bmp", "TarvokSkin1.bmp", ".hidden"})
            WriteFile(world.App / "Skin" + "/" + name, "x");
        world.WriteSettings(c.Settings, {world.MakeProject("P", {})});
        ui::TMainForm& form = world.Create();

        EXPECT_TRUE(world.Dialogs.Log.empty());
        EXPECT_EQ(form.State().SkinCount(), 3);
        EXPECT_EQ(form.Controls().tbtnRun->isChecked(), c.RunDown);
        EXPECT_EQ(form.Controls().tbtnStop->isChecked(), c.StopDown);
        EXPECT_EQ(form.Controls().RandomSkin1->isChecked(), c.MenuChecked);
        if (c.SkinNo == -2) {
            EXPECT_GE(form.State().Settings().SkinNo, 0);
            EXPECT_LE(form.State().Settings().SkinNo, 2);
        } else {
            EXPECT_EQ(form.State().Settings().SkinNo, c.SkinNo);
        }
    }
}

TEST(MainStartTest, UnreadableSettingsAreReportedAndTheDefaultsApply)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: no mode keeps a file's owner from reading it on Windows";
#endif
    if (RunningAsRoot())
        GTEST_SKIP() << "root reads any file";
    MainWorld world;
    world.WriteSettings({0, 3, 1}, {world.MakeProject("P", {})});
    fs::permissions(world.App / SettingsFileName, fs::perms::none);
    ui::TMainForm& form = world.Create();

    EXPECT_EQ(world.Dialogs.TextsOf("error"),
              std::vector<std::string>{world.App / SettingsFileName + ": File access denied."});
    ASSERT_EQ(form.State().ProjectList().size(), 1u);
    EXPECT_EQ(form.State().Current().Name, "MyPrj-1");
    EXPECT_EQ(world.Dialogs.TextsOf("confirm"), std::vector<std::string>{Question()});

    // The close says why nothing was saved and ends the program all the same.
    bool closed = false;
    QObject::connect(&form, &ui::TMainForm::Closed, [&] { closed = true; });
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(closed);
    EXPECT_EQ(world.Dialogs.TextsOf("warning").size(), 1u);
}

// A close whose write fails names the cause and asks whether to quit all
// the same: No keeps everything for another try, Yes ends the program.
TEST(MainCloseTest, AFailedWriteNamesItsCauseAndAsksWhetherToQuitWithoutSaving)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: no folder mode refuses its owner's writes on Windows";
#else
    const bool root = RunningAsRoot();
    const struct {
        const char* what;
        const char* appDir; // below the read-only folder
        std::string cause;
    } rows[] = {
        {"a read-only settings folder", "", root ? "The drive is read-only" : "File access denied"},
        {"a settings folder that could not be made", "/Tarvok",
         std::string("The folder cannot be made: ") + ReadOnlyFolder::Refusal()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        MainWorld world;
        const std::string appDir = world.App.Path() + row.appDir;
        if (!*row.appDir)
            world.WriteSettings({0, -1, 1}, {world.MakeProject("P", {})});
        const ReadOnlyFolder readOnly(world.App.Path());
        ASSERT_TRUE(readOnly.Made());
        world.Form = std::make_unique<ui::TMainForm>(world.Seams(world.Clock), appDir);
        ui::TMainForm& form = *world.Form;
        bool closed = false;
        QObject::connect(&form, &ui::TMainForm::Closed, [&] { closed = true; });
        world.Dialogs.Log.clear();
        world.Dialogs.Answers = {true, false};
        EXPECT_FALSE(form.close());

        EXPECT_EQ(world.Dialogs.TextsOf("confirm"), std::vector<std::string>{"Are you sure to exit this program?"});
        // Enter must not throw the settings away.
        EXPECT_EQ(world.Dialogs.TextsOf("confirm-no"),
                  std::vector<std::string>{SettingsPath(appDir) + ": " + row.cause + ".\nQuit without saving?"});
        EXPECT_EQ(world.Dialogs.Log.size(), 2u) << "no error box besides the question";
        EXPECT_FALSE(closed);
        EXPECT_EQ(form.State().ProjectList().size(), 1u) << "kept for the next try";

        world.Dialogs.Answers = {true, true};
        EXPECT_TRUE(form.close());
        EXPECT_TRUE(closed);
    }
#endif
}

class MainShownTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrjRec first = world.MakeProject("First", {"one.txt", "two.txt"});
        PrjRec second = world.MakeProject("Second", {"three.doc"});
        second.AutoBkUp = 0;
        second.Period = 1;
        second.Hour = 7;
        world.WriteSettings({0, -1, 1}, {first, second});
    }

    MainWorld world;
};

TEST_F(MainShownTest, ShowingFillsTheWindowFromTheCurrentProject)
{
    ui::TMainForm& form = world.Create();
    form.show();

    EXPECT_EQ(Items(form.Controls().cbxProjects), QStringList({"First", "Second"}));
    EXPECT_EQ(form.Controls().cbxProjects->currentIndex(), 0);
    EXPECT_EQ(Items(form.Controls().lbxSource), QStringList({"one.txt", "two.txt"}));
    EXPECT_TRUE(form.State().SourceListLoaded());
    EXPECT_EQ(form.State().SourceList().size(), 2u);
    EXPECT_EQ(form.Controls().edBkUp->text(), "Auto BackUp On");
    EXPECT_EQ(form.Controls().edTarget->text().toStdString(), world.App / "backup-First");
    EXPECT_EQ(form.Controls().cbxBkupType->currentIndex(), 0);
    EXPECT_EQ(form.Controls().cbxTime->currentIndex(), 10);
}

TEST_F(MainShownTest, PickingAProjectReplacesTheSourceList)
{
    ui::TMainForm& form = world.Create();
    form.show();
    form.Controls().cbxProjects->setFocus();
    QTest::keyClick(form.Controls().cbxProjects, Qt::Key_Down);

    EXPECT_EQ(&form.State().Current(), &form.State().ProjectList().back());
    EXPECT_EQ(Items(form.Controls().lbxSource), QStringList({"three.doc"}));
    EXPECT_EQ(form.Controls().edBkUp->text(), "Auto BackUp Off");
    EXPECT_EQ(form.Controls().edTarget->text().toStdString(), world.App / "backup-Second");
    EXPECT_EQ(form.Controls().cbxTime->currentIndex(), 7);
}

TEST_F(MainShownTest, TypingTextThatNamesNoProjectKeepsTheCurrentOne)
{
    ui::TMainForm& form = world.Create();
    form.show();
    form.Controls().cbxProjects->setFocus();
    form.Controls().cbxProjects->lineEdit()->selectAll();
    QTest::keyClicks(form.Controls().cbxProjects, "Nothing");
    QTest::keyClick(form.Controls().cbxProjects, Qt::Key_Return);

    EXPECT_EQ(&form.State().Current(), &form.State().ProjectList().front());
    EXPECT_EQ(Items(form.Controls().lbxSource), QStringList({"one.txt", "two.txt"}));
    EXPECT_EQ(form.Controls().cbxProjects->count(), 2); // nothing was added
}

TEST_F(MainShownTest, ShowingAgainReloadsTheProjectFile)
{
    ui::TMainForm& form = world.Create();
    form.show();
    form.hide();
    WriteFile(ProjectFilePath(form.State().Current().BackUpDir), "");
    form.show();
    EXPECT_EQ(form.Controls().lbxSource->count(), 0);
    EXPECT_TRUE(form.State().SourceList().empty());
}

TEST_F(MainShownTest, AnEmptiedProjectListGetsTheDefaultProjectBack)
{
    ui::TMainForm& form = world.Create();
    while (!form.State().ProjectList().empty())
        form.State().DeleteProject(0);
    form.show();
    ASSERT_EQ(form.State().ProjectList().size(), 1u);
    EXPECT_EQ(&form.State().Current(), &form.State().ProjectList().front());
    EXPECT_EQ(form.State().Current().Name, "MyPrj-1");
    EXPECT_EQ(Items(form.Controls().cbxProjects), QStringList({"MyPrj-1"}));
}

TEST_F(MainShownTest, RefusedCloseChangesNothing)
{
    ui::TMainForm& form = world.Create();
    form.show();
    world.Dialogs.Answers = {false};
    EXPECT_FALSE(form.close());

    EXPECT_EQ(world.Dialogs.TextsOf("confirm"), std::vector<std::string>{"Are you sure to exit this program?"});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.State().ProjectList().size(), 2u);
    EXPECT_EQ(world.SettingsText(), FormatSettings({0, -1, 1}, form.State().ProjectList()));
}

TEST_F(MainShownTest, AllowedCloseWritesSettingsAndTheLoadedSourceList)
{
    ui::TMainForm& form = world.Create();
    form.show();
    const std::string projectFile = ProjectFilePath(form.State().Current().BackUpDir);
    // The list on disk names a file that is gone; the saved list will not.
    WriteFile(projectFile, ReadFile(projectFile) + "/nowhere/gone.txt\r\n");
    form.State().SetTimerBackups(false);
    bool closed = false;
    QObject::connect(&form, &ui::TMainForm::Closed, [&] { closed = true; });
    EXPECT_TRUE(form.close());

    EXPECT_TRUE(closed);
    EXPECT_EQ(world.SettingsText().substr(0, 10), "0\r\n-1\r\n0\r\n");
    EXPECT_EQ(ReadFile(projectFile), world.App / "sources-First/one.txt\r\n" + world.App / "sources-First/two.txt\r\n");
    EXPECT_TRUE(form.State().ProjectList().empty());
    EXPECT_TRUE(form.State().SourceList().empty());
}

TEST_F(MainShownTest, CloseWithoutShowingLeavesProjectFilesAlone)
{
    ui::TMainForm& form = world.Create();
    const std::string projectFile = ProjectFilePath(form.State().Current().BackUpDir);
    const std::string before = ReadFile(projectFile) + "/nowhere/gone.txt\r\n";
    WriteFile(projectFile, before);
    EXPECT_TRUE(form.close());
    EXPECT_EQ(ReadFile(projectFile), before);
    EXPECT_TRUE(fs::exists(world.App / SettingsFileName));
}

} // namespace
} // namespace tarvok::test
