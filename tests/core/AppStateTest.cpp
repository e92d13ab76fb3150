// The program's state without a window: what the start reads, what the
// close and the session's end write, and what they never replace.
#include "core/AppState.h"
#include "ProjectWorld.h"
#include "base/InOutError.h"

#include <gtest/gtest.h>

#include <optional>

namespace tarvok::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Two projects on disk, First current, as the program finds them at a start.
class AppStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        first = world.MakeProject("First", {"one.txt", "two.txt"});
        second = world.MakeProject("Second", {"three.doc"});
        world.WriteSettings({0, -1, 1}, {first, second});
    }

    // The start and the first show: settings read, the current list loaded.
    AppState& Start()
    {
        state.emplace(world.App.Path());
        state->LoadAtStart();
        state->LoadSourceList();
        return *state;
    }

    std::string Sources(const std::string& project, const std::string& file) const
    {
        return world.App / ("sources-" + project + "/" + file);
    }

    ProjectWorld world;
    PrjRec first, second;
    std::optional<AppState> state;
};

TEST_F(AppStateTest, StartReadsTheSettingsCountsTheSkinsAndLoadsTheFirstProject)
{
    fs::create_directories(world.App / "Skin/folder");
    WriteFile(world.App / "Skin/TarvokSkin0.bmp", "");
    WriteFile(world.App / "Skin/TarvokSkin1.bmp", "");
    AppState& app = Start();
    EXPECT_TRUE(fs::is_directory(world.App / DefaultBackupFolder));
    EXPECT_EQ(app.SkinCount(), 2);
    EXPECT_EQ(app.Settings().TimerBkUp, 1);
    EXPECT_EQ(app.Current().Name, "First");
    EXPECT_EQ(app.SourceList().size(), 2u);
    EXPECT_FALSE(app.SourceListLocked());
}

TEST_F(AppStateTest, ProjectsAwayAtStartStayOutAndAreWrittenBackAfterTheOthers)
{
    fs::rename(first.BackUpDir, world.App / "unmounted");
    AppState& app = Start();
    ASSERT_EQ(app.ProjectList().size(), 1u);
    EXPECT_EQ(app.Current().Name, "Second");
    EXPECT_TRUE(app.SaveForClose().empty());
    EXPECT_EQ(world.SettingsText(), FormatSettings({0, -1, 1}, ProjectList{second, first}));
}

TEST_F(AppStateTest, SettingsThatCouldNotBeReadAreNeverReplaced)
{
    const std::string path = world.App / SettingsFileName;
    const std::string before = world.SettingsText();
    for (Spoil spoil : SpoilsForThisUser()) {
        SCOPED_TRACE(spoil == Spoil::Huge ? "huge" : "unreadable");
        WriteFile(path, before);
        SpoilFile(path, spoil);
        AppState app(world.App.Path());
        EXPECT_THROW(app.LoadAtStart(), EInOutError);
        app.UseDefaultSettings();
        EXPECT_EQ(app.Current().Name, "MyPrj-1");

        // Neither the schedule's Apply nor the close replaces it.
        EXPECT_THROW(app.SaveSchedule({Daily, 0, 9}), EInOutError);
        EXPECT_EQ(app.SaveForClose(),
                  Texts{"The settings were not saved: " + path + " could not be read (" + CauseOf(spoil) + ")."});
        if (spoil == Spoil::Unreadable) {
            fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
            EXPECT_EQ(world.SettingsText(), before);
        } else {
            EXPECT_EQ(fs::file_size(path), HugeSize);
        }
    }
}

TEST_F(AppStateTest, AProjectFileThatCannotBeReadIsNeverOverwritten)
{
    const std::string spoilt = ProjectFilePath(second.BackUpDir);
    const std::string before = ReadFile(spoilt);
    for (Spoil spoil : SpoilsForThisUser()) {
        SCOPED_TRACE(spoil == Spoil::Huge ? "huge" : "unreadable");
        WriteFile(spoilt, before);
        AppState& app = Start();
        SpoilFile(spoilt, spoil);
        ASSERT_TRUE(app.SelectProject(1));
        EXPECT_THROW(app.LoadSourceList(), EInOutError);
        EXPECT_EQ(app.SourceListLocked(),
                  "The project file " + spoilt + " could not be read, so the source list cannot be changed.");

        const Texts notSaved = app.SaveForClose();
        ASSERT_EQ(notSaved.size(), 1u);
        EXPECT_TRUE(Contains(notSaved[0], "The source list was not saved: " + spoilt + " could not be read (" +
                                              CauseOf(spoil) + ")"));
        if (spoil == Spoil::Unreadable) {
            fs::permissions(spoilt, fs::perms::owner_read | fs::perms::owner_write);
            EXPECT_EQ(ReadFile(spoilt), before);
        } else {
            EXPECT_EQ(fs::file_size(spoilt), HugeSize);
        }
    }
}

TEST_F(AppStateTest, AddingSkipsListedFilesAndRefusesLineBreaksRemovingTakesTheSelectedLines)
{
    AppState& app = Start();
    const std::string one = Sources("First", "one.txt");
    const std::string added = world.App / "elsewhere/new.txt";
    EXPECT_EQ(app.AddSources({added, one, world.App / "elsewhere/two\nlines", world.App / "elsewhere/ret\r"}),
              (Texts{world.App / "elsewhere/two\nlines", world.App / "elsewhere/ret\r"}));
    EXPECT_EQ(app.LastDir(), world.App / "elsewhere");
    EXPECT_EQ(app.SourceList().size(), 3u);
    EXPECT_TRUE(app.IsInSourceList(added));

    app.RemoveSources({true, false, true});
    ASSERT_EQ(app.SourceList().size(), 1u);
    EXPECT_EQ(app.SourceList().front().FileName, Sources("First", "two.txt"));
}

TEST_F(AppStateTest, TheCloseWritesBothFilesAndNothingOnceTheListsAreFreed)
{
    AppState& app = Start();
    const std::string projectFile = ProjectFilePath(first.BackUpDir);
    app.SetTimerBackups(false);
    EXPECT_TRUE(app.SaveForClose().empty());
    EXPECT_EQ(world.SettingsText(), FormatSettings({0, -1, 0}, ProjectList{first, second}));
    EXPECT_EQ(ReadFile(projectFile), Sources("First", "one.txt") + "\r\n" + Sources("First", "two.txt") + "\r\n");

    // A second close finishing after the first must not write the emptied lists.
    app.Clear();
    EXPECT_TRUE(app.SaveForClose().empty());
    EXPECT_TRUE(app.SaveForSessionEnd().empty());
    EXPECT_EQ(world.SettingsText(), FormatSettings({0, -1, 0}, ProjectList{first, second}));
    EXPECT_FALSE(ReadFile(projectFile).empty());
}

TEST_F(AppStateTest, AFileThatCannotBeWrittenKeepsTheListsAndAtTheSessionsEndNotTheOtherFile)
{
    AppState& app = Start();
    const std::string projectFile = ProjectFilePath(first.BackUpDir);
    WriteFile(projectFile, "");
    fs::remove(world.App / SettingsFileName);
    fs::create_directory(world.App / SettingsFileName); // cannot be replaced by a file
    EXPECT_THROW(app.SaveForClose(), EInOutError);
    EXPECT_EQ(app.ProjectList().size(), 2u);
    EXPECT_EQ(app.SourceList().size(), 2u);

    const Texts notSaved = app.SaveForSessionEnd();
    ASSERT_EQ(notSaved.size(), 1u);
    EXPECT_TRUE(Contains(notSaved[0], "The settings were not saved to " + world.App / SettingsFileName + ": "));
    EXPECT_EQ(ReadFile(projectFile), Sources("First", "one.txt") + "\r\n" + Sources("First", "two.txt") + "\r\n");
}

TEST_F(AppStateTest, AHeldCloseWaitsForTheLastWorkAndTicksSeeTheTickBefore)
{
    AppState& app = Start();
    EXPECT_FALSE(app.Working());
    app.BeginWork();
    app.BeginWork();
    app.HoldClose();
    EXPECT_FALSE(app.EndWork()) << "a restore inside a backup run is still walking";
    EXPECT_TRUE(app.EndWork());
    app.BeginWork();
    EXPECT_FALSE(app.EndWork()) << "the held close was handed over once";

    const TickTime at10{{2026, 12, 7, 10, 0, 0, 0, 1}, 5000};
    const TickTime at11{{2026, 12, 7, 11, 0, 0, 0, 1}, 6000};
    EXPECT_FALSE(app.NextTick(at10).Previous);
    app.ClockWasSet();
    const TickSpan set = app.NextTick(at11);
    EXPECT_EQ(set.Previous->Uptime, 5000u);
    EXPECT_TRUE(set.ClockSet);
    EXPECT_FALSE(app.NextTick(at11).ClockSet);
}

TEST_F(AppStateTest, DeletingTheCurrentProjectLeavesTheFirstAndAnEmptyListGetsTheDefault)
{
    AppState& app = Start();
    ASSERT_TRUE(app.SelectProject(1));
    EXPECT_FALSE(app.SelectProject(2));
    EXPECT_EQ(app.Current().Name, "Second");
    app.DeleteProject(0);
    EXPECT_EQ(app.Current().Name, "Second") << "another project's deletion keeps the current one";
    app.DeleteProject(5);
    app.RenameProject(5, "nobody");
    app.ToggleAutoBackup(5);
    EXPECT_EQ(app.ProjectList().size(), 1u) << "an index past the list changes nothing";

    app.DeleteProject(0);
    EXPECT_TRUE(app.ProjectList().empty());
    EXPECT_EQ(app.Current().Name, "MyPrj-1");
    ASSERT_EQ(app.ProjectList().size(), 1u);
}

} // namespace
} // namespace tarvok::test
