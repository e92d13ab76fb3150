// Paths and text as each system spells them: the path rules, the lines of the
// settings and project files, and a whole round of load, backup, restore,
// save and load with names in each form the files may hold.
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "TempDir.h"
#include "core/AppState.h"
#include "platform/FileLineText.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tarvok::test {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr bool Windows = true;
#else
constexpr bool Windows = false;
#endif

// The expectation on this system: Linux's, or Windows' where they differ.
std::string Expect(const std::string& linux, const std::string& windows) { return Windows ? windows : linux; }

// The test's own files go through the program's file layer: the standard
// library's streams cannot reach a path over 260 characters on Windows.
void Put(const std::string& path, const std::string& contents) { platform::ReplaceFileContents(path, contents); }

std::string Get(const std::string& path) { return platform::ReadWholeFile(path); }

struct SplitRow {
    std::string path;
    std::string linuxFile, linuxDir, windowsFile, windowsDir;
};

TEST(PathTextTest, FileNameAndDirectoryPartsFollowTheSystemsSeparators)
{
    const std::vector<SplitRow> rows = {
        {"C:\\Data\\notes.txt", "C:\\Data\\notes.txt", "", "notes.txt", "C:\\Data"},
        {"C:\\notes.txt", "C:\\notes.txt", "", "notes.txt", "C:\\"},
        {"C:notes.txt", "C:notes.txt", "", "notes.txt", "C:"},
        {"\\\\server\\share\\dir\\f.txt", "\\\\server\\share\\dir\\f.txt", "", "f.txt", "\\\\server\\share\\dir"},
        {"C:/Data/notes.txt", "notes.txt", "C:/Data", "notes.txt", "C:/Data"},
        {"/home/u/a.txt", "a.txt", "/home/u", "a.txt", "/home/u"},
        {"/a.txt", "a.txt", "/", "a.txt", "/"},
        {"a\\b/c.txt", "c.txt", "a\\b", "c.txt", "a\\b"},
    };
    for (const SplitRow& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(FileNamePart(row.path), Expect(row.linuxFile, row.windowsFile));
        EXPECT_EQ(DirectoryPart(row.path), Expect(row.linuxDir, row.windowsDir));
    }
    EXPECT_EQ(JoinPath("C:\\", "Project.ini"), Expect("C:\\/Project.ini", "C:\\\\Project.ini"));
    EXPECT_EQ(WithoutTrailingSeparators("C:\\"), Expect("C:\\", "C:\\"));
    EXPECT_EQ(WithoutTrailingSeparators("C:\\Data\\\\"), Expect("C:\\Data\\\\", "C:\\Data"));
    EXPECT_EQ(WithoutTrailingSeparators("//"), "/");
    // An older copy's '/' names the same file as '\' on Windows.
    EXPECT_EQ(SamePath("C:\\a/b.txt", "C:\\a\\b.txt"), Windows);
    EXPECT_FALSE(SamePath("C:\\a\\b.txt", "C:\\a\\B.txt"));
}

bool AnsiIsWesternEuropean()
{
#ifdef _WIN32
    return ::GetACP() == 1252;
#else
    return true;
#endif
}

TEST(PathTextTest, LinesAreReadAndWrittenInTheFormAReaderOfThatSystemTakes)
{
    if (!AnsiIsWesternEuropean())
        GTEST_SKIP() << "the rows are written for the Western European ANSI code page (1252)";
    // text held, bytes written on Windows (Linux writes the text as it is)
    const std::vector<std::pair<std::string, std::string>> written = {
        {"plain.txt", "plain.txt"},
        {"Donn\xC3\xA9"
         "es",
         "Donn\xE9"
         "es"},
        {"\xC5\x92"
         "uvre",
         "\x8C"
         "uvre"},                                                         // a cp1252 code above 0x80
        {"\xE6\x97\xA5\xE6\x9C\xAC.txt", "\xE6\x97\xA5\xE6\x9C\xAC.txt"}, // not in the code page
        {"\xC5\x9D", "\xC5\x9D"},                                         // only a best-fit look-alike there
        {"\xC3\x83\xC2\xA9", "\xC3\x83\xC2\xA9"},                         // its cp1252 bytes read as other UTF-8
    };
    for (const auto& [text, bytes] : written) {
        SCOPED_TRACE(text);
        EXPECT_EQ(platform::FileLineOfText(text), Expect(text, bytes));
        EXPECT_EQ(platform::TextOfFileLine(platform::FileLineOfText(text)), text);
    }
    EXPECT_EQ(platform::TextOfFileLine("Donn\xE9"
                                       "es"),
              Expect("Donn\xE9"
                     "es",
                     "Donn\xC3\xA9"
                     "es"));
    EXPECT_EQ(platform::TextOfFileLine("\xC3\xA9"), "\xC3\xA9"); // valid UTF-8 is taken as UTF-8
}

// A folder name as the files hold it, and as the program holds it on Windows
// (on Linux it holds the bytes).
struct RoundRow {
    std::string name;
    std::string folderBytes;
    std::string windowsText;
};

class PathTextRoundTest : public ::testing::TestWithParam<RoundRow> {};

std::string LongFolder()
{
    std::string folder = "long";
    while (folder.size() < 300)
        folder += platform::PathSeparator() + std::string("part-") + std::to_string(folder.size());
    return folder;
}

TEST_P(PathTextRoundTest, LoadBackupRestoreSaveAndLoadKeepEveryLine)
{
    const RoundRow& row = GetParam();
    if (!AnsiIsWesternEuropean())
        GTEST_SKIP() << "the rows are written for the Western European ANSI code page (1252)";
    TempDir app;
    const std::string base = WithoutTrailingSeparators(fs::path(app.Path()).make_preferred().string());
    const std::string folderText = Windows ? row.windowsText : row.folderBytes;
    const std::string folder = JoinPath(base, folderText);
    const std::string source = JoinPath(folder, "rapport.txt");
    const std::string backupDir = JoinPath(folder, "bk");
    ASSERT_TRUE(platform::CreateDirWithParents(backupDir));
    Put(source, "first");

    const std::string inFile = JoinPath(base, row.folderBytes);
    const std::string projectText = JoinPath(inFile, "rapport.txt") + "\r\n";
    const std::string settingsText = "0\r\n-1\r\n0\r\nReserve 1\r\nReserve 2\r\nReserve 3\r\n" + row.folderBytes +
                                     "\r\n" + JoinPath(inFile, "bk") + "\r\n0\r\n0\r\n1\r\n10\r\n";
    Put(SettingsPath(base), settingsText);
    Put(ProjectFilePath(backupDir), projectText);

    FakeDialogs dialogs;
    FakeClock clock;
    clock.Time = LocalTime{2026, 12, 8, 9};
    {
        AppState state(base);
        state.LoadAtStart();
        state.LoadSourceList();
        ASSERT_EQ(state.Current().Name, folderText);
        ASSERT_EQ(state.Current().BackUpDir, backupDir);
        ASSERT_EQ(state.SourceList().size(), 1u);
        EXPECT_EQ(state.SourceList().front().FileName, source);

        const BackupRun run = state.BackUp(clock, dialogs, nullptr);
        EXPECT_EQ(Get(JoinPath(run.Snapshot, "rapport.txt")), "first");
        Put(source, "second");
        state.ShowBackupFolders(backupDir);
        state.OpenSnapshot({true}, nullptr);
        state.RestoreSelected({true}, folder, dialogs, nullptr);
        EXPECT_EQ(Get(source), "first");
        EXPECT_EQ(Get(JoinPath(folder, "rapport.BAK")), "second");
        EXPECT_TRUE(state.SaveForClose().empty());
    }
    EXPECT_EQ(Get(SettingsPath(base)), settingsText);
    EXPECT_EQ(Get(ProjectFilePath(backupDir)), projectText);

    AppState again(base);
    again.LoadAtStart();
    again.LoadSourceList();
    EXPECT_EQ(again.Current().Name, folderText);
    ASSERT_EQ(again.SourceList().size(), 1u);
    EXPECT_EQ(again.SourceList().front().FileName, source);
}

INSTANTIATE_TEST_SUITE_P(Names, PathTextRoundTest,
                         ::testing::Values(RoundRow{"Ascii", "Data", "Data"},
                                           RoundRow{"Cp1252",
                                                    "Donn\xE9"
                                                    "es",
                                                    "Donn\xC3\xA9"
                                                    "es"},
                                           RoundRow{"Utf8",
                                                    "Donn\xC3\xA9"
                                                    "es",
                                                    "Donn\xC3\xA9"
                                                    "es"},
                                           RoundRow{"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",
                                                    "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},
                                           // cp1252 "Ã©" is also UTF-8 "é", and is read so
                                           RoundRow{"Cp1252ThatReadsAsUtf8", "\xC3\xA9", "\xC3\xA9"},
                                           // a separator on Windows, a name's character on Linux
                                           RoundRow{"Backslash", "a\\b", "a\\b"},
                                           RoundRow{"ForwardSlash", "a/b", "a/b"},
                                           RoundRow{"Over260Characters", LongFolder(), LongFolder()}),
                         [](const ::testing::TestParamInfo<RoundRow>& row) { return row.param.name; });

} // namespace
} // namespace tarvok::test
