#include "core/Settings.h"
#include "ChildProcess.h"
#include "TempDir.h"
#include "base/InOutError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace tarvok;
using namespace tarvok::test;
using tarvok::test::ReadFile;
using tarvok::test::TempDir;
using tarvok::test::WriteFile;

namespace {

// A backup directory that keeps its project alive.
std::string MakeProjectDir(const TempDir& tmp, const std::string& name)
{
    const std::string dir = tmp / name;
    std::filesystem::create_directories(dir);
    WriteFile(dir + "/Project.ini", "");
    return dir;
}

std::string Lines(std::initializer_list<std::string> lines, const std::string& end = "\r\n")
{
    std::string text;
    for (const std::string& l : lines)
        text += l + end;
    return text;
}

} // namespace

TEST(LoadSettings, MissingFileGivesDefaultsAndTheDefaultProject)
{
    SettingsFileState state;
    TempDir app;
    AppSettings s{0, 5, 1};
    ProjectList list;
    LoadSettings(app.Path(), s, list, state);
    EXPECT_EQ(s.RandomSkin, 1);
    EXPECT_EQ(s.SkinNo, -1);
    EXPECT_EQ(s.TimerBkUp, 0);
    ASSERT_EQ(list.size(), 1u);
    const PrjRec& p = list.front();
    EXPECT_EQ(p.Name, "MyPrj-1");
    EXPECT_EQ(p.BackUpDir, app / "BkUp");
    EXPECT_EQ(p.AutoBkUp, 1);
    EXPECT_EQ(p.Period, 0);
    EXPECT_EQ(p.Day, 1);
    EXPECT_EQ(p.Hour, 10);
    EXPECT_TRUE(std::filesystem::is_directory(app / "BkUp"));

    SaveSettings(app.Path(), s, list, SettingsFileState{});
    EXPECT_EQ(ReadFile(app / "Tarvok.ini"), Lines({"1", "-1", "0", "Reserve 1", "Reserve 2", "Reserve 3", "MyPrj-1",
                                                   app / "BkUp", "1", "0", "1", "10"}));
}

TEST(LoadSettings, RoundTripKeepsOrderValuesAndBlanksInNames)
{
    SettingsFileState state;
    TempDir app;
    AppSettings s{0, 7, 2};
    ProjectList list;
    AddPrj(list, PrjRec{"  spaced name  ", MakeProjectDir(app, "p1"), 3, 30, 23, 0});
    AddPrj(list, PrjRec{"second", MakeProjectDir(app, "p2"), 2, 6, 0, 1});
    AddPrj(list, PrjRec{"gone", app / "nowhere", 1, 1, 1, 1});
    SaveSettings(app.Path(), s, list, SettingsFileState{});

    AppSettings back;
    ProjectList loaded;
    LoadSettings(app.Path(), back, loaded, state);
    EXPECT_EQ(back.RandomSkin, 0);
    EXPECT_EQ(back.SkinNo, 7);
    EXPECT_EQ(back.TimerBkUp, 2);
    ASSERT_EQ(loaded.size(), 2u) << "a project without Project.ini is dropped";
    const PrjRec& a = loaded.front();
    EXPECT_EQ(a.Name, "  spaced name  ");
    EXPECT_EQ(a.BackUpDir, app / "p1");
    EXPECT_EQ(std::tie(a.Period, a.Day, a.Hour, a.AutoBkUp), std::make_tuple(3, 30, 23, 0));
    const PrjRec& b = loaded.back();
    EXPECT_EQ(b.Name, "second");
    EXPECT_EQ(std::tie(b.Period, b.Day, b.Hour, b.AutoBkUp), std::make_tuple(2, 6, 0, 1));
}

TEST(LoadSettings, ReadsLfFilesAndRewritesReservedLines)
{
    SettingsFileState state;
    TempDir app;
    const std::string dir = MakeProjectDir(app, "p");
    WriteFile(app / "Tarvok.ini", Lines({"0", "3", "1", "anything", "", "at all", "P", dir, "0", "1", "5", "8"}, "\n"));
    AppSettings s;
    ProjectList list;
    LoadSettings(app.Path(), s, list, state);
    EXPECT_EQ(s.SkinNo, 3);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.front().Name, "P");
    EXPECT_EQ(list.front().Hour, 8);
    SaveSettings(app.Path(), s, list, SettingsFileState{});
    EXPECT_EQ(ReadFile(app / "Tarvok.ini"),
              Lines({"0", "3", "1", "Reserve 1", "Reserve 2", "Reserve 3", "P", dir, "0", "1", "5", "8"}));
}

TEST(LoadSettings, UnreadableAndOutOfRangeNumbersTakeDefaults)
{
    SettingsFileState state;
    TempDir app;
    const std::string dir = MakeProjectDir(app, "p");
    WriteFile(app / "Tarvok.ini",
              Lines({"300", "x", "word", "",   "",     "",   "A", dir, "2", "4", "31", "24", // out of range
                     "B",   dir, "oops", "$3", "0x1E", "23",                                 // hex readable
                     "C",   dir, "-1",   "-1", "-1",   "-1",                                 // negative
                     "D",   dir, " 1",   "3 ", "30",   "0"}));                               // trailing blank
    AppSettings s;
    ProjectList list;
    LoadSettings(app.Path(), s, list, state);
    EXPECT_EQ(s.RandomSkin, 1);
    EXPECT_EQ(s.SkinNo, -1) << "a lone x is no number";
    EXPECT_EQ(s.TimerBkUp, 1) << "an unreadable line 3 switches automatic backups on";
    ASSERT_EQ(list.size(), 4u);
    auto fields = [](const PrjRec& p) { return std::make_tuple(p.AutoBkUp, p.Period, p.Day, p.Hour); };
    auto it = list.begin();
    EXPECT_EQ(fields(*it++), std::make_tuple(1, 0, 1, 1));
    EXPECT_EQ(fields(*it++), std::make_tuple(1, 3, 30, 23));
    EXPECT_EQ(fields(*it++), std::make_tuple(1, 0, 1, 1));
    EXPECT_EQ(fields(*it++), std::make_tuple(1, 0, 30, 0));
}

TEST(LoadSettings, FileEndingAfterHeaderStillReadsOneBlock)
{
    SettingsFileState state;
    TempDir app;
    WriteFile(app / "Tarvok.ini", Lines({"1", "-1", "0", "Reserve 1", "Reserve 2", "Reserve 3"}));
    AppSettings s;
    ProjectList list;
    LoadSettings(app.Path(), s, list, state);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.front().Name, "MyPrj-1");

    // An empty-named block whose directory resolves to "/Project.ini" is not a project either.
    WriteFile(app / "Tarvok.ini", "");
    ProjectList again;
    LoadSettings(app.Path(), s, again, state);
    EXPECT_EQ(s.TimerBkUp, 1);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again.front().Name, "MyPrj-1");
}

TEST(LoadSettings, UnreadableFileRaisesAccessDenied)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: Windows has no mode that keeps a file's owner from reading it";
#else
    SettingsFileState state;
    TempDir app;
    std::filesystem::permissions(app.Path(), std::filesystem::perms::all);
    WriteFile(app / "Tarvok.ini", "1\r\n");
    std::filesystem::permissions(app / "Tarvok.ini", std::filesystem::perms::none);
    const int code = RunInChild([&] {
        if (!DropRoot())
            return 99;
        AppSettings s;
        ProjectList list;
        try {
            LoadSettings(app.Path(), s, list, state);
        } catch (const EInOutError& e) {
            return e.ErrorCode();
        }
        return 0;
    });
    EXPECT_EQ(code, 5);
#endif
}

TEST(SaveSettings, FailedWriteLeavesTheOldFileWhole)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: a file size limit for one process stands in for the full disk";
#else
    TempDir app;
    ProjectList list;
    AddPrj(list, PrjRec{"keep", MakeProjectDir(app, "p"), 0, 1, 10, 1});
    SaveSettings(app.Path(), AppSettings{}, list, SettingsFileState{});
    const std::string before = ReadFile(app / "Tarvok.ini");

    // A child limited to 4 KiB per file tries to write a much larger settings file.
    ProjectList big;
    for (int i = 0; i < 500; ++i)
        AddPrj(big, PrjRec{"project number " + std::to_string(i), app / "p", 0, 1, 10, 1});
    const int code = RunInChild([&] {
        LimitFileSize(4096);
        try {
            SaveSettings(app.Path(), AppSettings{}, big, SettingsFileState{});
        } catch (const EInOutError& e) {
            return e.ErrorCode();
        }
        return 0;
    });
    EXPECT_EQ(code, 101) << "the failure is reported as Disk full";
    EXPECT_EQ(ReadFile(app / "Tarvok.ini"), before);
    int leftovers = 0;
    for (const auto& e : std::filesystem::directory_iterator(app.Path()))
        leftovers += e.path().filename().string().rfind(".Tarvok.ini", 0) == 0;
    EXPECT_EQ(leftovers, 0) << "no temporary file is left behind";
#endif
}

TEST(SaveSettings, MissingDirectoryRaisesAnError)
{
    TempDir app;
    ProjectList list;
    EXPECT_THROW(SaveSettings(app / "missing", AppSettings{}, list, SettingsFileState{}), EInOutError);
}

TEST(LoadSettings, ProjectsWithoutTheirProjectFileAreKeptAsideAndReturn)
{
    TempDir app;
    const std::string drive = app / "drive";
    std::filesystem::create_directories(drive);
    WriteFile(drive + "/Project.ini", "");
    ProjectList written;
    AddPrj(written, PrjRec{"away", drive, 2, 5, 7, 0});
    AddPrj(written, PrjRec{"home", MakeProjectDir(app, "home"), 1, 1, 9, 1});
    SaveSettings(app.Path(), AppSettings{0, 2, 1}, written, SettingsFileState{});

    // The drive is not mounted at this start: the project is out of the list,
    // and the next save puts it back after the live ones.
    std::filesystem::rename(drive, app / "unmounted");
    AppSettings s;
    ProjectList live;
    SettingsFileState state;
    LoadSettings(app.Path(), s, live, state);
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live.front().Name, "home");
    ASSERT_EQ(state.Dormant.size(), 1u);
    SaveSettings(app.Path(), s, live, state);
    EXPECT_EQ(ReadFile(app / "Tarvok.ini"),
              Lines({"0", "2", "1", "Reserve 1", "Reserve 2", "Reserve 3", "home", app / "home", "1", "1", "1", "9",
                     "away", drive, "0", "2", "5", "7"}));

    // The drive is back: so is the project, now in file order.
    std::filesystem::rename(app / "unmounted", drive);
    ProjectList back;
    SettingsFileState backState;
    LoadSettings(app.Path(), s, back, backState);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back.back().Name, "away");
    EXPECT_EQ(back.back().Hour, 7);
    EXPECT_TRUE(backState.Dormant.empty());
}

TEST(LoadSettings, OnlyAMissingDirectoryKeepsAProjectAside)
{
    TempDir app;
    std::filesystem::create_directory(app / "emptied");
    WriteFile(app / "Tarvok.ini", Lines({"1", "-1", "1", "", "", "", "away", app / "gone", "1", "0", "1", "3", "lost",
                                         app / "emptied", "1", "0", "1", "3"}));
    AppSettings s;
    ProjectList live;
    SettingsFileState state;
    LoadSettings(app.Path(), s, live, state);
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live.front().Name, "MyPrj-1");
    ASSERT_EQ(state.Dormant.size(), 1u) << "a directory without its project file has lost the project";
    EXPECT_EQ(state.Dormant.front().Name, "away");

    // The default project, never shown, has no project file: the next start
    // must not keep it aside and make a second one.
    SaveSettings(app.Path(), s, live, state);
    ProjectList next;
    SettingsFileState nextState;
    LoadSettings(app.Path(), s, next, nextState);
    EXPECT_EQ(next.size(), 1u);
    EXPECT_EQ(nextState.Dormant.size(), 1u);
}

TEST(SaveSettings, LineBreaksInNamesNeverReachTheFile)
{
    TempDir app;
    const std::string dir = MakeProjectDir(app, "p");
    ProjectList good;
    AddPrj(good, PrjRec{"P", dir, 0, 1, 10, 1});
    SaveSettings(app.Path(), AppSettings{}, good, SettingsFileState{});
    const std::string before = ReadFile(app / "Tarvok.ini");
    const PrjRec broken[] = {
        {"P", dir + "\nsecond line", 0, 1, 10, 1},
        {"P", dir + "\r", 0, 1, 10, 1},
        {"two\nlines", dir, 0, 1, 10, 1},
    };
    for (const PrjRec& rec : broken) {
        ProjectList list = good;
        AddPrj(list, rec);
        try {
            SaveSettings(app.Path(), AppSettings{}, list, SettingsFileState{});
            ADD_FAILURE() << "written with a line break";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.ErrorCode(), 3);
        }
        EXPECT_EQ(ReadFile(app / "Tarvok.ini"), before);
    }
}

TEST(LoadSettings, LeftoverTemporaryFilesOfOursAreRemoved)
{
    TempDir app;
    for (const char* name : {".Tarvok.ini.aB3xYz", ".Tarvok.ini.000000", ".Tarvok.ini.short", ".Tarvok.ini.abc-de",
                             ".Project.ini.aB3xYz", "Tarvok.ini.aB3xYz"})
        WriteFile(app / name, "partial");
    std::filesystem::create_directory(app / ".Tarvok.ini.dirdir");
    AppSettings s;
    ProjectList list;
    SettingsFileState state;
    LoadSettings(app.Path(), s, list, state);
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(app.Path()))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".Project.ini.aB3xYz", ".Tarvok.ini.abc-de", ".Tarvok.ini.dirdir",
                                              ".Tarvok.ini.short", "BkUp", "Tarvok.ini.aB3xYz"}));
}

TEST(HasLineBreak, CrOrLfAnywhereCounts)
{
    EXPECT_FALSE(HasLineBreak(""));
    EXPECT_FALSE(HasLineBreak("My Prj\t/data"));
    for (const char* text : {"a\rb", "a\nb", "\n", "ab\r\n"})
        EXPECT_TRUE(HasLineBreak(text)) << text;
}
