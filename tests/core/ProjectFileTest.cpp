#include "core/ProjectFile.h"
#include "TempDir.h"
#include "base/InOutError.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tarvok;
using tarvok::test::ReadFile;
using tarvok::test::TempDir;
using tarvok::test::WriteFile;

namespace {
std::vector<std::string> Names(const FileList& list)
{
    std::vector<std::string> names;
    for (const FileRec& r : list)
        names.push_back(r.FileName);
    return names;
}
} // namespace

TEST(LoadFileList, KeepsExistingFilesInOrderWithDuplicates)
{
    TempDir tmp;
    WriteFile(tmp / "a", "1");
    WriteFile(tmp / "c", "3");
    std::filesystem::create_directory(tmp / "dir");
    WriteFile(tmp / "Project.ini",
              tmp / "a" + "\r\n" + tmp / "deleted" + "\r\n\r\n" + tmp / "dir" + "\r\n" + tmp / "c" + "\n" + tmp / "a");
    FileList list;
    AddFile(list, FileRec{"stale", 1, 0});
    LoadFileList(tmp / "Project.ini", list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{tmp / "a", tmp / "c", tmp / "a"}));
    EXPECT_EQ(list.front().Exist, 1);

    SaveSourceList(tmp / "Project.ini", list);
    EXPECT_EQ(ReadFile(tmp / "Project.ini"), tmp / "a" + "\r\n" + tmp / "c" + "\r\n" + tmp / "a" + "\r\n");
}

TEST(LoadFileList, MissingFileEmptiesTheListAndAKilledWriteLeavesNothingBehind)
{
    TempDir tmp;
    WriteFile(tmp / ".Project.ini.aB3xYz", "partial");
    FileList list;
    AddFile(list, FileRec{"stale", 1, 0});
    LoadFileList(tmp / "Project.ini", list);
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(std::filesystem::exists(tmp / ".Project.ini.aB3xYz"));
}

TEST(SaveSourceList, EmptyListWritesAnEmptyFile)
{
    TempDir tmp;
    WriteFile(tmp / "Project.ini", "old content\r\n");
    SaveSourceList(tmp / "Project.ini", FileList{});
    EXPECT_TRUE(std::filesystem::exists(tmp / "Project.ini"));
    EXPECT_EQ(ReadFile(tmp / "Project.ini"), "");
}

TEST(SaveSourceList, RemovedDirectoryRaisesInvalidFilename)
{
    TempDir tmp;
    try {
        SaveSourceList(tmp / "gone/Project.ini", FileList{});
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 3);
        EXPECT_EQ(e.what(), tmp / "gone/Project.ini: Invalid filename");
    }
}

TEST(CarryProjectFile, TheListMovesAlongUnlessTheNewDirectoryHoldsOne)
{
    TempDir tmp;
    namespace fs = std::filesystem;
    for (const char* dir : {"old", "fresh", "taken", "none", "fromnone"})
        fs::create_directory(tmp / dir);
    WriteFile(tmp / "old/Project.ini", "/home/u/a.txt\r\n/mnt/gone/b.txt\r\n");
    WriteFile(tmp / "taken/Project.ini", "/other/project.txt\r\n");

    CarryProjectFile(tmp / "old", tmp / "fresh");
    EXPECT_EQ(ReadFile(tmp / "fresh/Project.ini"), "/home/u/a.txt\r\n/mnt/gone/b.txt\r\n")
        << "byte for byte, also names of files missing now";
    CarryProjectFile(tmp / "old", tmp / "taken");
    EXPECT_EQ(ReadFile(tmp / "taken/Project.ini"), "/other/project.txt\r\n");
    CarryProjectFile(tmp / "none", tmp / "fromnone");
    EXPECT_TRUE(fs::exists(tmp / "fromnone/Project.ini"));
    EXPECT_EQ(ReadFile(tmp / "fromnone/Project.ini"), "");
    EXPECT_THROW(CarryProjectFile(tmp / "old", tmp / "missing"), EInOutError);
}

TEST(SaveSourceList, ANameWithALineBreakLeavesTheFileAsItWas)
{
    TempDir tmp;
    WriteFile(tmp / "Project.ini", "old content\r\n");
    for (const std::string& name : {tmp / "a\nb", tmp / "a\rb"}) {
        FileList list;
        AddFile(list, FileRec{tmp / "fine", 1, 0});
        AddFile(list, FileRec{name, 1, 0});
        EXPECT_THROW(SaveSourceList(tmp / "Project.ini", list), EInOutError);
        EXPECT_EQ(ReadFile(tmp / "Project.ini"), "old content\r\n");
    }
}
