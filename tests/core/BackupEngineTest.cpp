#include "core/BackupEngine.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FileLists.h"
#include "TempDir.h"
#include "base/InOutError.h"
#include "core/BlockCopy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <tuple>

using namespace tarvok;
using tarvok::test::EntriesOf;
using tarvok::test::FakeClock;
using tarvok::test::FakeDialogs;
using tarvok::test::ListOf;
using tarvok::test::ReadFile;
using tarvok::test::TempDir;
using tarvok::test::WriteFile;
namespace fs = std::filesystem;

namespace {

LocalTime At(int month, int day, int hour, int minute)
{
    LocalTime t;
    t.Year = 2026;
    t.Month = month;
    t.Day = day;
    t.Hour = hour;
    t.Minute = minute;
    return t;
}

std::vector<std::string> NamesIn(const FileList& list)
{
    std::vector<std::string> names;
    for (const FileRec& f : list)
        names.push_back(FileNamePart(f.FileName));
    return names;
}

} // namespace

TEST(SnapshotFolderName, TwoDigitsForMonthDayAndHour)
{
    EXPECT_EQ(SnapshotFolderName(At(3, 7, 9, 5)), "03_07_09");
    EXPECT_EQ(SnapshotFolderName(At(12, 25, 23, 59)), "12_25_23");
    EXPECT_EQ(SnapshotFolderName(At(1, 1, 0, 30)), "01_01_00");
}

TEST(BrowserKindWord, SingularWordPerView)
{
    EXPECT_STREQ(BrowserKindWord(BrowserMode::FolderView), "Folder");
    EXPECT_STREQ(BrowserKindWord(BrowserMode::FileView), "File");
}

TEST(BackUpFileList, CopiesExistingFilesFlatIntoTheHoursFolder)
{
    TempDir tmp;
    FakeDialogs dialogs;
    FakeClock clock;
    clock.Time = At(3, 7, 9, 5);
    fs::create_directories(tmp / "src/one");
    fs::create_directories(tmp / "src/two");
    fs::create_directory(tmp / "bk");
    WriteFile(tmp / "src/one/x.txt", "first x");
    WriteFile(tmp / "src/two/x.txt", "second x");
    WriteFile(tmp / "src/one/report", "no extension");
    const FileList files =
        ListOf({tmp / "src/one/x.txt", tmp / "src/gone.txt", tmp / "src/two/x.txt", tmp / "src/one/report"});

    BackUpFileList(files, tmp / "bk", clock, dialogs);

    EXPECT_EQ(EntriesOf(tmp / "bk"), std::set<std::string>{"03_07_09"});
    EXPECT_EQ(EntriesOf(tmp / "bk/03_07_09"), (std::set<std::string>{"x.txt", "report"}));
    EXPECT_EQ(ReadFile(tmp / "bk/03_07_09/x.txt"), "second x") << "the later source of a name wins";
    EXPECT_EQ(ReadFile(tmp / "bk/03_07_09/report"), "no extension");
    EXPECT_TRUE(dialogs.Log.empty()) << "a vanished source is skipped quietly";
    EXPECT_EQ(files.size(), 4u);
}

TEST(BackUpFileList, SameHourSharesTheFolderAndOverwrites)
{
    TempDir tmp;
    FakeDialogs dialogs;
    FakeClock clock;
    fs::create_directory(tmp / "bk");
    WriteFile(tmp / "a.txt", "at 14:10");
    WriteFile(tmp / "b.txt", "only first");
    clock.Time = At(6, 1, 14, 10);
    BackUpFileList(ListOf({tmp / "a.txt", tmp / "b.txt"}), tmp / "bk", clock, dialogs);
    WriteFile(tmp / "a.txt", "at 14:50");
    clock.Time = At(6, 1, 14, 50);
    BackUpFileList(ListOf({tmp / "a.txt"}), tmp / "bk", clock, dialogs);

    EXPECT_EQ(EntriesOf(tmp / "bk"), std::set<std::string>{"06_01_14"});
    EXPECT_EQ(ReadFile(tmp / "bk/06_01_14/a.txt"), "at 14:50");
    EXPECT_EQ(ReadFile(tmp / "bk/06_01_14/b.txt"), "only first") << "files no longer listed stay";
}

TEST(BackUpFileList, EmptyOrVanishedListStillMakesTheFolder)
{
    TempDir tmp;
    FakeDialogs dialogs;
    FakeClock clock;
    clock.Time = At(2, 9, 8, 0);
    BackUpFileList(FileList{}, tmp.Path(), clock, dialogs);
    BackUpFileList(ListOf({tmp / "gone"}), tmp.Path(), clock, dialogs);
    EXPECT_TRUE(fs::is_directory(tmp / "02_09_08"));
    EXPECT_TRUE(fs::is_empty(tmp / "02_09_08"));
}

TEST(BackUpFileList, MissingBackupDirectoryIsNotCreatedAndTheCopyFails)
{
    TempDir tmp;
    FakeDialogs dialogs;
    FakeClock clock;
    WriteFile(tmp / "a.txt", "a");
    try {
        BackUpFileList(ListOf({tmp / "a.txt"}), tmp / "nowhere", clock, dialogs);
        FAIL() << "the copy into a missing folder must fail";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 3);
        EXPECT_EQ(e.what(), tmp / "nowhere/01_01_00: Invalid filename");
    }
    EXPECT_FALSE(fs::exists(tmp / "nowhere"));
}

TEST(BackUpFileList, CopyErrorEndsTheRunAtThatFile)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows fault: a copy onto a folder's name moves the folder aside (.<name>.tarvok-aside) and "
                    "takes its name";
#endif
    TempDir tmp;
    FakeDialogs dialogs;
    FakeClock clock;
    clock.Time = At(3, 7, 9, 5);
    for (const char* name : {"a", "b", "c"})
        WriteFile(tmp / name, name);
    fs::create_directories(tmp / "bk/03_07_09/b"); // a directory where the copy of b goes
    EXPECT_THROW(BackUpFileList(ListOf({tmp / "a", tmp / "b", tmp / "c"}), tmp / "bk", clock, dialogs), EInOutError);
    EXPECT_EQ(ReadFile(tmp / "bk/03_07_09/a"), "a") << "copies made before the error stay";
    EXPECT_FALSE(fs::exists(tmp / "bk/03_07_09/c")) << "the rest is not copied";
}

TEST(ListBkUpFolders, OnlyPlainDirectoriesSortedIgnoringCase)
{
    TempDir tmp;
    for (const char* name : {"12_31_23", "01_02_10", "01_02_08", "b_Other", "A_first"})
        fs::create_directory(tmp / name);
    fs::create_directory(tmp / ".hidden");
#ifndef _WIN32 // a folder's read-only mark means nothing there, links are the administrator's
    fs::create_directory(tmp / "locked");
    fs::permissions(tmp / "locked", fs::perms{0555});
    fs::create_directory_symlink(tmp / "12_31_23", tmp / "link");
#endif
    WriteFile(tmp / "Project.ini", "");

    EXPECT_EQ(ListBkUpFolders(tmp.Path()),
              (std::vector<std::string>{"01_02_08", "01_02_10", "12_31_23", "A_first", "b_Other"}));
    EXPECT_TRUE(ListBkUpFolders(tmp / "missing").empty());
#ifndef _WIN32
    fs::permissions(tmp / "locked", fs::perms{0755});
#endif
}

TEST(LoadBkUpFolder, EveryFileWithItsFullPathAndNoSubfolders)
{
    TempDir tmp;
    WriteFile(tmp / "a.txt", "");
    WriteFile(tmp / ".hidden", "");
    // Files of the user's that only look like the program's unfinished copies.
    for (const char* name : {".tarvok-partial-notes", ".tarvok-partial-1-abc", ".tarvok-partial--abcdef"})
        WriteFile(tmp / name, "");
    WriteFile(tmp / ".tarvok-partial-123-abcDE9", "an unfinished copy");
    fs::create_directory(tmp / "sub");
    FileList list = ListOf({"/stale/entry"});

    LoadBkUpFolder(tmp.Path(), list);

    std::set<std::string> paths;
    for (const FileRec& f : list) {
        paths.insert(f.FileName);
        EXPECT_EQ(f.Exist, 1);
    }
    EXPECT_EQ(paths, (std::set<std::string>{tmp / "a.txt", tmp / ".hidden", tmp / ".tarvok-partial-notes",
                                            tmp / ".tarvok-partial-1-abc", tmp / ".tarvok-partial--abcdef"}));

    LoadBkUpFolder(tmp / "missing", list);
    EXPECT_TRUE(list.empty()) << "a missing folder still empties the list";
}

TEST(SnapshotNameClashes, EachEarlierSourceIsNamedWithTheLastOneTakingItsName)
{
    using Clashes = std::vector<std::tuple<std::string, std::string, bool>>;
    const struct {
        std::vector<std::string> Files;
        bool FoldsCase;
        size_t From;
        Clashes Expected;
    } cases[] = {
        {{"/a/x.txt", "/b/y.txt", "/c/x.txt"}, false, 0, {{"/a/x.txt", "/c/x.txt", false}}},
        {{"/a/x.txt", "/b/x.txt", "/c/x.txt"},
         false,
         0,
         {{"/a/x.txt", "/c/x.txt", false}, {"/b/x.txt", "/c/x.txt", false}}},
        {{"/a/Report.txt", "/b/report.txt"}, false, 0, {}},
        {{"/a/Report.txt", "/b/report.txt"}, true, 0, {{"/a/Report.txt", "/b/report.txt", true}}},
        {{"/a/x", "/b/x", "/c/y", "/d/y"}, false, 2, {{"/c/y", "/d/y", false}}},
        {{"/a/x", "/b/x", "/c/y", "/d/x"}, false, 3, {{"/a/x", "/d/x", false}, {"/b/x", "/d/x", false}}},
    };
    for (const auto& c : cases) {
        FileList files;
        for (const std::string& f : c.Files)
            AddFile(files, FileRec{f, 1, 0});
        Clashes found;
        for (const NameClash& clash : SnapshotNameClashes(files, c.FoldsCase, c.From))
            found.emplace_back(clash.Lost, clash.Kept, clash.CaseOnly);
        EXPECT_EQ(found, c.Expected) << c.Files.front() << " folds " << c.FoldsCase << " from " << c.From;
    }
}

TEST(BakFileName, OnlyTheLastExtensionOfTheNameIsReplaced)
{
    EXPECT_EQ(BakFileName("/d/notes.txt"), "/d/notes.BAK");
    EXPECT_EQ(BakFileName("/d/a.tar.gz"), "/d/a.tar.BAK");
    EXPECT_EQ(BakFileName("/d/README"), "/d/README.BAK");
    EXPECT_EQ(BakFileName("/with.dot/README"), "/with.dot/README.BAK") << "dots of the directory do not count";
    EXPECT_EQ(BakFileName("/d/.profile"), "/d/.profile.BAK");
    EXPECT_EQ(BakFileName("/d/a."), "/d/a.BAK");
    // Too long for the drive: cut to fit, each long name its own.
    const std::string stem(251, 's');
    EXPECT_EQ(BakFileName("/d/" + stem + ".txt"), "/d/" + stem + ".BAK") << "fits as it is";
    const std::string cut = BakFileName("/d/" + stem + "s"), other = BakFileName("/d/" + stem + "t");
    EXPECT_EQ(cut.size(), 3 + MaxFileNameBytes);
    EXPECT_EQ(cut.substr(0, 3 + 242), "/d/" + stem.substr(0, 242));
    EXPECT_NE(cut, other);
    const std::string wide = BakFileName("/d/" + std::string(241, 'w') + "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9");
    EXPECT_EQ(wide.substr(0, 3 + 241 + 1), "/d/" + std::string(241, 'w') + "~") << "no character is cut in two";
}

TEST(RestoreBkUpFile, IntoAnEmptyAndAnOccupiedDirectory)
{
    TempDir tmp;
    FakeDialogs dialogs;
    fs::create_directories(tmp / "snap");
    fs::create_directories(tmp / "out");
    WriteFile(tmp / "snap/notes.txt", "backed up");

    RestoreBkUpFile(tmp / "snap/notes.txt", tmp / "out", dialogs);
    EXPECT_EQ(EntriesOf(tmp / "out"), std::set<std::string>{"notes.txt"});

    WriteFile(tmp / "out/notes.txt", "current");
    RestoreBkUpFile(tmp / "snap/notes.txt", tmp / "out", dialogs);
    EXPECT_EQ(ReadFile(tmp / "out/notes.txt"), "backed up");
    EXPECT_EQ(ReadFile(tmp / "out/notes.BAK"), "current");
    EXPECT_TRUE(dialogs.Log.empty());
}

TEST(RestoreBkUpFile, ExistingBakIsNeverReplaced)
{
    TempDir tmp;
    FakeDialogs dialogs;
    fs::create_directories(tmp / "snap");
    fs::create_directories(tmp / "out");
    WriteFile(tmp / "snap/a.doc", "backed up doc");
    WriteFile(tmp / "out/a.doc", "current doc");
    WriteFile(tmp / "out/a.BAK", "from a.txt");
    try {
        RestoreBkUpFile(tmp / "snap/a.doc", tmp / "out", dialogs);
        FAIL() << "the rename must fail";
    } catch (const std::exception& e) {
        EXPECT_EQ(e.what(), tmp / "out/a.BAK" + ": Unable to create backup file.");
    }
    EXPECT_EQ(ReadFile(tmp / "out/a.doc"), "current doc");
    EXPECT_EQ(ReadFile(tmp / "out/a.BAK"), "from a.txt");
}

TEST(RestoreBkUpFile, VanishedBackupWarnsAndLeavesTheDestinationAlone)
{
    TempDir tmp;
    FakeDialogs dialogs;
    WriteFile(tmp / "notes.txt", "current");
    RestoreBkUpFile(tmp / "snap/notes.txt", tmp.Path(), dialogs);
    EXPECT_EQ(dialogs.TextsOf("warning"), std::vector<std::string>{MissingSourceText("notes.txt")});
    EXPECT_EQ(ReadFile(tmp / "notes.txt"), "current");
    EXPECT_FALSE(fs::exists(tmp / "notes.BAK"));
}

TEST(RestoreBkUpFile, IntoItsOwnFolderKeepsTheBackup)
{
    TempDir tmp;
    FakeDialogs dialogs;
    WriteFile(tmp / "notes.txt", "backed up");
    EXPECT_THROW(RestoreBkUpFile(tmp / "notes.txt", tmp.Path(), dialogs), EInOutError);
    EXPECT_EQ(ReadFile(tmp / "notes.txt"), "backed up");
    EXPECT_FALSE(fs::exists(tmp / "notes.BAK"));
}

TEST(DeleteBkUpFolder, FilesGoThenTheEmptyFolder)
{
    TempDir tmp;
    fs::create_directory(tmp / "01_02_08");
    WriteFile(tmp / "01_02_08/a", "");
    WriteFile(tmp / "01_02_08/.b", "");
    FileList list = ListOf({"/stale"});
    EXPECT_TRUE(DeleteBkUpFolder(tmp / "01_02_08", list).empty());
    EXPECT_FALSE(fs::exists(tmp / "01_02_08"));
    EXPECT_TRUE(list.empty());
}

TEST(DeleteBkUpFolder, SubfoldersAndReadOnlyFilesKeepTheFolderAndTheFilesAreReported)
{
    TempDir tmp;
    fs::create_directories(tmp / "with_sub/inner");
    WriteFile(tmp / "with_sub/a", "");
    WriteFile(tmp / "with_sub/inner/deep", "");
    fs::create_directory(tmp / "with_ro");
    WriteFile(tmp / "with_ro/a", "");
    WriteFile(tmp / "with_ro/kept", "protected");
    fs::permissions(tmp / "with_ro/kept", fs::perms{0444});
    FileList list;

    const DeleteFailures kept = DeleteBkUpFolder(tmp / "with_sub", list);
    ASSERT_EQ(kept.size(), 1u) << "a folder kept by a subfolder is reported";
    EXPECT_EQ(kept[0].Path, tmp / "with_sub");
    EXPECT_STREQ(kept[0].Error.what(), "It still holds inner");
    const DeleteFailures stayed = DeleteBkUpFolder(tmp / "with_ro", list);
    ASSERT_EQ(stayed.size(), 1u);
    EXPECT_EQ(stayed[0].Path, tmp / "with_ro/kept");
    EXPECT_EQ(stayed[0].Error.ErrorCode(), 5);

    EXPECT_EQ(EntriesOf(tmp / "with_sub"), std::set<std::string>{"inner"});
    EXPECT_TRUE(fs::exists(tmp / "with_sub/inner/deep"));
    EXPECT_EQ(EntriesOf(tmp / "with_ro"), std::set<std::string>{"kept"});
    EXPECT_TRUE(list.empty());
}

TEST(DeleteSelectedBkUpFiles, OnlySelectedGoAndWhatStaysKeepsItsEntry)
{
    TempDir tmp;
    for (const char* name : {"a", "b", "c", "d", "ro"})
        WriteFile(tmp / name, name);
    fs::permissions(tmp / "ro", fs::perms{0444});
    FileList list = ListOf({tmp / "a", tmp / "b", tmp / "c", tmp / "d", tmp / "ro"});
    int line = 0;
    for (FileRec& f : list) {
        f.Selected = (line == 0 || line == 2 || line == 4) ? 1 : 0;
        ++line;
    }

    const DeleteFailures stayed = DeleteSelectedBkUpFiles(list);

    EXPECT_EQ(NamesIn(list), (std::vector<std::string>{"b", "d", "ro"}));
    EXPECT_EQ(EntriesOf(tmp.Path()), (std::set<std::string>{"b", "d", "ro"}));
    ASSERT_EQ(stayed.size(), 1u);
    try {
        ReportDeleteFailures(stayed);
        FAIL() << "a file that stayed is reported";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.what(), tmp / "ro" + " was not deleted: File access denied");
    }
}
