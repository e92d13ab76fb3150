#include "core/AutoBackup.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "TempDir.h"
#include "base/InOutError.h"
#include "core/ProjectFile.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tarvok;
using tarvok::test::FakeClock;
using tarvok::test::FakeDialogs;
using tarvok::test::ReadFile;
using tarvok::test::TempDir;
using tarvok::test::WriteFile;
namespace fs = std::filesystem;

namespace {

// Thursday 7 March 2024.
LocalTime Thursday(int hour, int minute, int second) { return LocalTime{2024, 3, 7, hour, minute, second, 0, 4}; }

// A daily project at `hour` whose project file lists one file of `tmp`.
PrjRec DailyProject(const TempDir& tmp, const std::string& name, uint8_t hour)
{
    const std::string dir = tmp / ("bk-" + name);
    fs::create_directories(dir);
    const std::string source = tmp / (name + ".txt");
    WriteFile(source, "contents of " + name);
    FileList list;
    AddFile(list, FileRec{source, 1, 0});
    SaveSourceList(dir + "/Project.ini", list);
    return PrjRec{name, dir, 1, 0, hour, 1};
}

struct Walk {
    FakeClock clock;
    FakeDialogs dialogs;
    std::vector<std::string> statusTexts;

    bool Run(const ProjectList& projects, const LocalTime& now)
    {
        clock.Time = now;
        const std::vector<PrjRec> due = DueProjects(projects, TickSpan{std::nullopt, {now, 0}, false});
        RunBackups(due, clock, dialogs, [this](const std::string& text) { statusTexts.push_back(text); });
        return !due.empty();
    }
};

} // namespace

TEST(RunDueBackups, DueProjectsRunInListOrderEachFromItsOwnProjectFile)
{
    TempDir tmp;
    ProjectList projects;
    AddPrj(projects, DailyProject(tmp, "beta", 10));
    AddPrj(projects, DailyProject(tmp, "late", 11));
    AddPrj(projects, DailyProject(tmp, "alpha", 10));

    Walk walk;
    EXPECT_TRUE(walk.Run(projects, Thursday(10, 0, 0)));
    EXPECT_EQ(walk.statusTexts, (std::vector<std::string>{"Daily Auto BackUp Project beta Files Now...", "",
                                                          "Daily Auto BackUp Project alpha Files Now...", ""}));
    EXPECT_EQ(ReadFile(tmp / "bk-beta/03_07_10/beta.txt"), "contents of beta");
    EXPECT_EQ(ReadFile(tmp / "bk-alpha/03_07_10/alpha.txt"), "contents of alpha");
    EXPECT_FALSE(fs::exists(tmp / "bk-alpha/03_07_10/beta.txt"));
    EXPECT_FALSE(fs::exists(tmp / "bk-late/03_07_10"));
    EXPECT_TRUE(walk.dialogs.Log.empty());
}

TEST(RunDueBackups, NothingDueRunsNothing)
{
    TempDir tmp;
    ProjectList projects;
    AddPrj(projects, DailyProject(tmp, "docs", 10));
    Walk walk;
    EXPECT_FALSE(walk.Run(projects, Thursday(10, 0, 2)));
    EXPECT_TRUE(walk.statusTexts.empty());
    EXPECT_FALSE(fs::exists(tmp / "bk-docs/03_07_10"));
}

TEST(RunDueBackups, ProjectWithoutProjectFileStillGetsItsEmptyFolder)
{
    TempDir tmp;
    ProjectList projects;
    fs::create_directories(tmp / "bare");
    AddPrj(projects, PrjRec{"bare", tmp / "bare", 0, 0, 0, 1});
    Walk walk;
    EXPECT_TRUE(walk.Run(projects, Thursday(15, 0, 1)));
    EXPECT_TRUE(fs::is_directory(tmp / "bare/03_07_15"));
    EXPECT_TRUE(fs::is_empty(tmp / "bare/03_07_15"));
}

TEST(RunDueBackups, AFailingProjectEndsTheWalkWithItsStatusShown)
{
    TempDir tmp;
    ProjectList projects;
    AddPrj(projects, DailyProject(tmp, "first", 10));
    AddPrj(projects, DailyProject(tmp, "broken", 10));
    AddPrj(projects, DailyProject(tmp, "last", 10));
    // A plain file where the snapshot folder should go.
    WriteFile(tmp / "bk-broken/03_07_10", "");

    Walk walk;
    EXPECT_THROW(walk.Run(projects, Thursday(10, 0, 0)), EInOutError);
    EXPECT_EQ(walk.statusTexts.back(), "Daily Auto BackUp Project broken Files Now...");
    EXPECT_TRUE(fs::exists(tmp / "bk-first/03_07_10/first.txt"));
    EXPECT_FALSE(fs::exists(tmp / "bk-last/03_07_10"));
}
