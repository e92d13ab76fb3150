#include "MainTestWorld.h"
#include "core/InOutError.h"
#include "core/ProjectFile.h"
#include "platform/qt/UserName.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace tarvok::test {
namespace {

namespace fs = std::filesystem;

QStringList Items(const QListWidget* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->item(i)->text();
    return items;
}

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

std::string Question() { return "Hi, " + platform::CurrentUserName().value() + ". Do you wanna enable Auto BackUp?"; }

TEST(MainStartTest, FirstStartAsksByNameAndYesRunsAutomaticBackups)
{
    MainWorld world;
    ui::TMainForm& form = world.Create();

    EXPECT_EQ(world.Dialogs.TextsOf("confirm"), std::vector<std::string>{Question()});
    EXPECT_TRUE(fs::is_directory(world.App / "BkUp"));
    ASSERT_EQ(form.ProjectList.size(), 1u);
    EXPECT_EQ(form.CurrentProject, &form.ProjectList.front());
    EXPECT_EQ(form.CurrentProject->Name, "MyPrj-1");
    EXPECT_EQ(form.CurrentProject->BackUpDir, world.App / "BkUp");
    EXPECT_EQ(form.Settings.TimerBkUp, 1);
    EXPECT_TRUE(form.tbtnRun->isChecked());
    EXPECT_FALSE(form.tbtnStop->isChecked());
    // No Skin folder: a random skin can only be number 0.
    EXPECT_EQ(form.SkinCount, 0);
    EXPECT_EQ(form.Settings.SkinNo, 0);
    // Created hidden, with nothing loaded and nothing written.
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.SourceListLoaded);
    EXPECT_EQ(form.cbxProjects->count(), 0);
    EXPECT_EQ(form.cbxProjects->currentText(), "Select a Project");
    EXPECT_FALSE(fs::exists(world.App / SettingsFileName));
}

TEST(MainStartTest, AnsweringNoLeavesAutomaticBackupsStopped)
{
    MainWorld world;
    world.Dialogs.Answers = {false};
    ui::TMainForm& form = world.Create();
    EXPECT_EQ(form.Settings.TimerBkUp, 0);
    EXPECT_TRUE(form.tbtnStop->isChecked());
    EXPECT_FALSE(form.tbtnRun->isChecked());
}

TEST(MainStartTest, SettingsDecideQuestionButtonsAndSkin)
{
    struct Case {
        AppSettings Settings;
        bool RunDown, StopDown, MenuChecked;
        int32_t SkinNo; // -2: any skin 0..2
    };
    const Case cases[] = {
        {{1, 5, 1}, true, false, true, -2},  // random skin among the three files
        {{0, 5, 1}, true, false, false, 5},  // a fixed skin stays
        {{2, 5, 1}, true, false, true, 5},   // checked, yet only 1 picks at random
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
        EXPECT_EQ(form.SkinCount, 3);
        EXPECT_EQ(form.tbtnRun->isChecked(), c.RunDown);
        EXPECT_EQ(form.tbtnStop->isChecked(), c.StopDown);
        EXPECT_EQ(form.RandomSkin1->isChecked(), c.MenuChecked);
        if (c.SkinNo == -2) {
            EXPECT_GE(form.Settings.SkinNo, 0);
            EXPECT_LE(form.Settings.SkinNo, 2);
        } else {
            EXPECT_EQ(form.Settings.SkinNo, c.SkinNo);
        }
    }
}

TEST(MainStartTest, UnreadableSettingsAreReportedAndTheDefaultsApply)
{
    if (RunningAsRoot())
        GTEST_SKIP() << "root reads any file";
    MainWorld world;
    world.WriteSettings({0, 3, 1}, {world.MakeProject("P", {})});
    ::chmod((world.App / SettingsFileName).c_str(), 0);
    ui::TMainForm& form = world.Create();

    EXPECT_EQ(world.Dialogs.TextsOf("error"), std::vector<std::string>{"File access denied."});
    ASSERT_EQ(form.ProjectList.size(), 1u);
    EXPECT_EQ(form.CurrentProject->Name, "MyPrj-1");
    EXPECT_EQ(world.Dialogs.TextsOf("confirm"), std::vector<std::string>{Question()});
}

TEST(MainStartTest, CountFilesCountsPlainEntriesOnly)
{
    TempDir dir;
    EXPECT_EQ(ui::TMainForm::CountFiles(dir / "missing"), 0);
    fs::create_directories(dir / "sub/deeper");
    WriteFile(dir / "a", "");
    WriteFile(dir / ".b", "");
    WriteFile(dir / "sub/c", "");
    fs::create_symlink(dir / "a", dir / "link");
    EXPECT_EQ(ui::TMainForm::CountFiles(dir.Path()), 3);
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

    EXPECT_EQ(Items(form.cbxProjects), QStringList({"First", "Second"}));
    EXPECT_EQ(form.cbxProjects->currentIndex(), 0);
    EXPECT_EQ(Items(form.lbxSource), QStringList({"one.txt", "two.txt"}));
    EXPECT_TRUE(form.SourceListLoaded);
    EXPECT_EQ(form.SourceList.size(), 2u);
    EXPECT_EQ(form.edBkUp->text(), "Auto BackUp On");
    EXPECT_EQ(form.edTarget->text().toStdString(), world.App / "backup-First");
    EXPECT_EQ(form.cbxBkupType->currentIndex(), 0);
    EXPECT_EQ(form.cbxTime->currentIndex(), 10);
}

TEST_F(MainShownTest, PickingAProjectReplacesTheSourceList)
{
    ui::TMainForm& form = world.Create();
    form.show();
    form.cbxProjects->setFocus();
    QTest::keyClick(form.cbxProjects, Qt::Key_Down);

    EXPECT_EQ(form.CurrentProject, &form.ProjectList.back());
    EXPECT_EQ(Items(form.lbxSource), QStringList({"three.doc"}));
    EXPECT_EQ(form.edBkUp->text(), "Auto BackUp Off");
    EXPECT_EQ(form.edTarget->text().toStdString(), world.App / "backup-Second");
    EXPECT_EQ(form.cbxTime->currentIndex(), 7);
}

TEST_F(MainShownTest, TypingTextThatNamesNoProjectKeepsTheCurrentOne)
{
    ui::TMainForm& form = world.Create();
    form.show();
    form.cbxProjects->setFocus();
    form.cbxProjects->lineEdit()->selectAll();
    QTest::keyClicks(form.cbxProjects, "Nothing");
    QTest::keyClick(form.cbxProjects, Qt::Key_Return);

    EXPECT_EQ(form.CurrentProject, &form.ProjectList.front());
    EXPECT_EQ(Items(form.lbxSource), QStringList({"one.txt", "two.txt"}));
    EXPECT_EQ(form.cbxProjects->count(), 2); // nothing was added
}

TEST_F(MainShownTest, ShowingAgainReloadsTheProjectFile)
{
    ui::TMainForm& form = world.Create();
    form.show();
    form.hide();
    WriteFile(ProjectFilePath(form.CurrentProject->BackUpDir), "");
    form.show();
    EXPECT_EQ(form.lbxSource->count(), 0);
    EXPECT_TRUE(form.SourceList.empty());
}

TEST_F(MainShownTest, AnEmptiedProjectListGetsTheDefaultProjectBack)
{
    ui::TMainForm& form = world.Create();
    ClearPrjList(form.ProjectList);
    form.show();
    ASSERT_EQ(form.ProjectList.size(), 1u);
    EXPECT_EQ(form.CurrentProject, &form.ProjectList.front());
    EXPECT_EQ(form.CurrentProject->Name, "MyPrj-1");
    EXPECT_EQ(Items(form.cbxProjects), QStringList({"MyPrj-1"}));
}

TEST_F(MainShownTest, RefusedCloseChangesNothing)
{
    ui::TMainForm& form = world.Create();
    form.show();
    world.Dialogs.Answers = {false};
    EXPECT_FALSE(form.close());

    EXPECT_EQ(world.Dialogs.TextsOf("confirm"), std::vector<std::string>{"Are you sure to exit this program?"});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.ProjectList.size(), 2u);
    EXPECT_EQ(world.SettingsText(), FormatSettings({0, -1, 1}, form.ProjectList));
}

TEST_F(MainShownTest, AllowedCloseWritesSettingsAndTheLoadedSourceList)
{
    ui::TMainForm& form = world.Create();
    form.show();
    const std::string projectFile = ProjectFilePath(form.CurrentProject->BackUpDir);
    // The list on disk names a file that is gone; the saved list will not.
    WriteFile(projectFile, ReadFile(projectFile) + "/nowhere/gone.txt\r\n");
    form.Settings.TimerBkUp = 0;
    bool closed = false;
    QObject::connect(&form, &ui::TMainForm::Closed, [&] { closed = true; });
    EXPECT_TRUE(form.close());

    EXPECT_TRUE(closed);
    EXPECT_EQ(world.SettingsText().substr(0, 10), "0\r\n-1\r\n0\r\n");
    EXPECT_EQ(ReadFile(projectFile),
              world.App / "sources-First/one.txt\r\n" + world.App / "sources-First/two.txt\r\n");
    EXPECT_TRUE(form.ProjectList.empty());
    EXPECT_TRUE(form.SourceList.empty());
}

TEST_F(MainShownTest, CloseWithoutShowingLeavesProjectFilesAlone)
{
    ui::TMainForm& form = world.Create();
    const std::string projectFile = ProjectFilePath(form.CurrentProject->BackUpDir);
    const std::string before = ReadFile(projectFile) + "/nowhere/gone.txt\r\n";
    WriteFile(projectFile, before);
    EXPECT_TRUE(form.close());
    EXPECT_EQ(ReadFile(projectFile), before);
    EXPECT_TRUE(fs::exists(world.App / SettingsFileName));
}

// Two ways a file cannot be read: no permission (not for root, who reads
// anything; the nobody run covers it) and a size no such file may have.
enum class Spoil { Unreadable, Huge };
constexpr uintmax_t HugeSize = (uintmax_t{64} << 20) + 1;

std::vector<Spoil> SpoilsForThisUser()
{
    if (RunningAsRoot())
        return {Spoil::Huge};
    return {Spoil::Unreadable, Spoil::Huge};
}

void SpoilFile(const std::string& path, Spoil spoil)
{
    if (spoil == Spoil::Unreadable)
        ::chmod(path.c_str(), 0);
    else
        fs::resize_file(path, HugeSize);
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(MainShownTest, AProjectFileThatCannotBeReadIsNeverOverwritten)
{
    for (Spoil spoil : SpoilsForThisUser()) {
        MainWorld world;
        PrjRec first = world.MakeProject("First", {"one.txt"});
        PrjRec second = world.MakeProject("Second", {"three.doc"});
        world.WriteSettings({0, -1, 1}, {first, second});
        ui::TMainForm& form = world.Create();
        form.show();
        const std::string spoilt = ProjectFilePath(form.ProjectList.back().BackUpDir);
        const std::string before = ReadFile(spoilt);
        SpoilFile(spoilt, spoil);
        form.CurrentProject = &form.ProjectList.back();
        EXPECT_THROW(form.LoadCurrentPrj(), EInOutError);
        // The first project's names must not stand for the second project's files.
        EXPECT_EQ(form.lbxSource->count(), 0);
        form.FormClose();

        const std::vector<std::string> warnings = world.Dialogs.TextsOf("warning");
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_TRUE(Contains(warnings[0], "source list was not saved"));
        EXPECT_TRUE(Contains(warnings[0], spoilt + " could not be read (File access denied)"));
        if (spoil == Spoil::Unreadable) {
            ::chmod(spoilt.c_str(), 0600);
            EXPECT_EQ(ReadFile(spoilt), before);
        } else {
            EXPECT_EQ(fs::file_size(spoilt), HugeSize);
        }
    }
}

TEST(MainStartTest, SettingsThatCouldNotBeReadAreNeverReplaced)
{
    for (Spoil spoil : SpoilsForThisUser()) {
        MainWorld world;
        world.WriteSettings({0, 3, 1}, {world.MakeProject("P", {"a.txt"})});
        const std::string path = world.App / SettingsFileName;
        const std::string before = world.SettingsText();
        SpoilFile(path, spoil);
        ui::TMainForm& form = world.Create();
        EXPECT_EQ(world.Dialogs.TextsOf("error"), std::vector<std::string>{"File access denied."});

        // Neither the schedule's Apply nor the close replaces it.
        EXPECT_THROW(form.btnSetTimeClick(), EInOutError);
        bool closed = false;
        QObject::connect(&form, &ui::TMainForm::Closed, [&] { closed = true; });
        EXPECT_TRUE(form.close());
        EXPECT_TRUE(closed) << "the program ends all the same";
        const std::vector<std::string> warnings = world.Dialogs.TextsOf("warning");
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0], "The settings were not saved: " + path + " could not be read (File access denied).");
        if (spoil == Spoil::Unreadable) {
            ::chmod(path.c_str(), 0600);
            EXPECT_EQ(world.SettingsText(), before);
        } else {
            EXPECT_EQ(fs::file_size(path), HugeSize);
        }
    }
}

TEST(MainStartTest, ProjectsAwayAtStartStayOutOfTheWindowAndInTheFile)
{
    MainWorld world;
    PrjRec away = world.MakeProject("Away", {});
    PrjRec home = world.MakeProject("Home", {"h.txt"});
    world.WriteSettings({0, -1, 1}, {away, home});
    fs::rename(away.BackUpDir, world.App / "unmounted");
    ui::TMainForm& form = world.Create();
    form.show();
    EXPECT_EQ(Items(form.cbxProjects), QStringList({"Home"}));
    EXPECT_TRUE(form.close());
    EXPECT_EQ(world.SettingsText(), FormatSettings({0, -1, 1}, ProjectList{home, away}));
}

TEST_F(MainShownTest, FailingToWriteTheSettingsKeepsEverything)
{
    ui::TMainForm& form = world.Create();
    form.show();
    fs::remove(world.App / SettingsFileName);
    fs::create_directory(world.App / SettingsFileName); // cannot be replaced by a file
    EXPECT_THROW(form.FormClose(), EInOutError);
    EXPECT_EQ(form.ProjectList.size(), 2u);
    EXPECT_EQ(form.SourceList.size(), 2u);
    EXPECT_TRUE(form.isVisible());
}

} // namespace
} // namespace tarvok::test
