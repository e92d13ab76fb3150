// What the file layer promises on every system, run on each against its
// own drive: the same table of cases for the Linux and the Windows calls.
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "ScratchFolder.h"
#include "base/InOutError.h"
#include "core/BackupEngine.h"
#include "core/BlockCopy.h"
#include "core/FileUtility.h"
#include "platform/DriveCalls.h"
#include "platform/FileSystem.h"
#include "platform/Folder.h"
#include "platform/SystemClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <functional>
#include <set>

using namespace tarvok;
using namespace tarvok::platform;
using namespace tarvok::test;

namespace {

std::set<std::string> NamesIn(const std::string& dir)
{
    std::set<std::string> names;
    for (const DirEntry& entry : ListDirectory(dir))
        names.insert(entry.Name);
    return names;
}

// The system's own listing, not ours.
std::set<std::string> SystemNamesIn(const std::string& dir)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(PathOf(dir)))
        names.insert(Utf8Path(entry.path().filename()));
    return names;
}

int CodeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EInOutError& error) {
        return error.ErrorCode();
    }
    return 0;
}

// Puts refusals of hard links into the layer while it lives, as FAT answers.
class NoHardLinks {
public:
    NoHardLinks() : saved_(Drive())
    {
        Drive().Link = [](int, const char*, int, const char*) { return errno = EOPNOTSUPP, -1; };
    }
    ~NoHardLinks() { Drive() = saved_; }
    NoHardLinks(const NoHardLinks&) = delete;
    NoHardLinks& operator=(const NoHardLinks&) = delete;

private:
    DriveCalls saved_;
};

// Notes every rename made while the watched file was missing.
struct NameWatch {
    static inline std::string Watched;
    static inline int RenamesWhileFree = 0;
    static inline int (*SystemRename)(int, const char*, int, const char*, unsigned) = nullptr;
    static int Rename(int fromDir, const char* from, int toDir, const char* to, unsigned flags)
    {
        if (!std::filesystem::exists(PathOf(Watched)))
            ++RenamesWhileFree;
        return SystemRename(fromDir, from, toDir, to, flags);
    }
};

} // namespace

TEST(FilePromisesTest, FailuresCarryTheProgramsCodes)
{
    ScratchFolder dir;
    Put(dir / "locked.txt", "kept");
    MakeReadOnly(dir / "locked.txt");
    const struct {
        const char* What;
        std::function<void()> Action;
        int Code;
    } cases[] = {
        {"a missing file in a folder", [&] { ReadWholeFile(dir / "missing.txt"); }, 2},
        {"a file in a missing folder", [&] { ReadWholeFile(dir / "none/missing.txt"); }, 3},
        {"a folder read as a file", [&] { ReadWholeFile(dir.Path()); }, 5},
        {"a read-only file replaced", [&] { ReplaceFileContents(dir / "locked.txt", "new"); }, 5},
        {"a file written into a missing folder", [&] { ReplaceFileContents(dir / "none/new.txt", "new"); }, 3},
        {"a name holding NUL", [&] { ReplaceFileContents(dir / std::string("a\0b", 3), "new"); }, 3},
        {"a missing folder opened", [&] { Folder::Open(dir / "none"); }, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CodeOf(c.Action), c.Code) << c.What;
    EXPECT_EQ(Get(dir / "locked.txt"), "kept");
    EXPECT_TRUE(IsReadOnly(dir / "locked.txt"));
    EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{"locked.txt"}) << "no temporary is left";
}

TEST(FilePromisesTest, NamesOutsideAsciiAndLongPathsServeAsAnyOther)
{
    ScratchFolder dir;
    std::string deep = dir.Path();
    for (int i = 0; i < 5; ++i)
        deep += "/" + std::string(60, static_cast<char>('a' + i));
    // The C++ library of MinGW cannot list a path that long itself.
    const struct {
        const char* What;
        std::string Folder;
        std::string Name;
        bool SystemLists;
    } cases[] = {
        {"letters of several scripts", dir.Path(), "Grüße 日本 файл.txt", true},
        {"a path of more than 300 characters", deep, "file.txt", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ASSERT_TRUE(CreateDirWithParents(c.Folder));
        const std::string path = c.Folder + "/" + c.Name;
        ReplaceFileContents(path, "contents");
        ReplaceFileContents(path, "replaced");
        EXPECT_EQ(ReadWholeFile(path), "replaced");
        EXPECT_TRUE(FileExists(path));
        EXPECT_EQ(FileSizeOf(path), 8u);
        EXPECT_EQ(NamesIn(c.Folder), std::set<std::string>{c.Name});
        if (c.SystemLists) {
            EXPECT_EQ(SystemNamesIn(c.Folder), std::set<std::string>{c.Name}) << "the system stores the same name";
        }
        // Through the handle of a folder there, as a snapshot is filled and deleted.
        const std::string snapshot = c.Folder + "/01_02_03";
        ASSERT_FALSE(Folder::MakePrivate(snapshot));
        {
            Folder opened = Folder::OpenPrivate(snapshot, PartialCopyPrefix);
            FakeDialogs dialogs;
            CopyIntoFolder(path, opened, c.Name, dialogs, nullptr);
        }
        EXPECT_EQ(ReadWholeFile(snapshot + "/" + c.Name), "replaced");
        FileList copies;
        EXPECT_TRUE(DeleteBkUpFolder(snapshot, copies).empty());
        EXPECT_FALSE(DirectoryExists(snapshot));
        EXPECT_TRUE(DeleteFile(path));
        EXPECT_FALSE(FileExists(path));
    }
    for (std::string folder = deep; folder != dir.Path(); folder = DirectoryPart(folder))
        EXPECT_TRUE(RemoveDir(folder)) << folder;
}

TEST(FilePromisesTest, EntriesAreSeenAsTheProgramKnowsThem)
{
    ScratchFolder dir;
    ASSERT_FALSE(Folder::MakePrivate(dir / "snapshot"));
    Put(dir / "plain.txt", "12345");
    Put(dir / "locked.txt", "1");
    MakeReadOnly(dir / "locked.txt");
    const struct {
        std::string Name;
        bool File, Directory, ReadOnly;
        uint64_t Size;
    } cases[] = {
        {"snapshot", false, true, false, 0},
        {"plain.txt", true, false, false, 5},
        {"locked.txt", true, false, true, 1},
        {"missing", false, false, false, 0},
    };
    const std::vector<DirEntry> entries = ListDirectory(dir.Path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(FileExists(dir / c.Name), c.File);
        EXPECT_EQ(DirectoryExists(dir / c.Name), c.Directory);
        EXPECT_EQ(IsReadOnly(dir / c.Name), c.ReadOnly);
        EXPECT_EQ(FileSizeOf(dir / c.Name), c.Size);
        const auto entry =
            std::find_if(entries.begin(), entries.end(), [&](const DirEntry& e) { return e.Name == c.Name; });
        ASSERT_EQ(entry != entries.end(), c.File || c.Directory);
        if (entry == entries.end())
            continue;
        EXPECT_EQ(IsFileEntry(*entry), c.File);
        EXPECT_EQ((entry->Attr & faReadOnly) != 0, c.ReadOnly);
    }
    // Snapshot folders are recognised by exactly this.
    EXPECT_EQ(ListBkUpFolders(dir.Path()), std::vector<std::string>{"snapshot"});
}

TEST(FilePromisesTest, TheOldFileTakesItsBakNameAndAnExistingBakIsNeverReplaced)
{
    const struct {
        const char* What;
        bool HardLinks, OldReadOnly, BakThere;
    } cases[] = {
        {"a drive with hard links", true, false, false},
        {"a read-only old file", true, true, false},
        {"a drive without hard links", false, false, false},
        {"a read-only old file without hard links", false, true, false},
        {"a .BAK there already", true, false, true},
        {"a .BAK there already, without hard links", false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ScratchFolder dir;
        Put(dir / "a.txt", "old");
        if (c.OldReadOnly)
            MakeReadOnly(dir / "a.txt");
        if (c.BakThere)
            Put(dir / "a.BAK", "older");
        std::optional<NoHardLinks> noLinks;
        if (!c.HardLinks)
            noLinks.emplace();
        Folder folder = Folder::Open(dir.Path());
        RawFile copy = folder.CreateTemporary(PartialCopyPrefix);
        copy.Write("new", 3);
        copy.Close();
        const std::string temporary = FileNamePart(copy.Path());

        const DriveCalls saved = Drive();
        NameWatch::Watched = dir / "a.txt";
        NameWatch::RenamesWhileFree = 0;
        NameWatch::SystemRename = saved.Rename;
        Drive().Rename = NameWatch::Rename;
        const bool placed = folder.ReplaceKeepingOld(temporary, "a.txt", "a.BAK");
        Drive() = saved;

        EXPECT_EQ(placed, !c.BakThere);
        EXPECT_EQ(Get(dir / "a.txt"), c.BakThere ? "old" : "new");
        EXPECT_EQ(Get(dir / "a.BAK"), c.BakThere ? "older" : "old");
        const std::set<std::string> expected =
            c.BakThere ? std::set<std::string>{"a.txt", "a.BAK", temporary} : std::set<std::string>{"a.txt", "a.BAK"};
        EXPECT_EQ(NamesIn(dir.Path()), expected);
        if (c.HardLinks) {
            EXPECT_EQ(NameWatch::RenamesWhileFree, 0) << "the user's name is never free";
        }
    }
}

TEST(FilePromisesTest, ATemporaryIsLeftAloneWhileItsWriterHoldsIt)
{
    ScratchFolder dir;
    Folder folder = Folder::Open(dir.Path());
    std::optional<RawFile> copy(folder.CreateTemporary(PartialCopyPrefix));
    const std::string name = FileNamePart(copy->Path());
    EXPECT_TRUE(Folder::IsTemporaryName(name, PartialCopyPrefix));
    copy->Write("half", 4);
    copy->Close();
    EXPECT_FALSE(folder.IsAbandoned(name)) << "closed, yet still held until the copy is placed";
    folder.RemoveAbandonedTemporaries(PartialCopyPrefix);
    EXPECT_TRUE(FileExists(dir / name));
    copy.reset();
    EXPECT_TRUE(folder.IsAbandoned(name));
    folder.RemoveAbandonedTemporaries(PartialCopyPrefix);
    EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{});
}

TEST(FilePromisesTest, ABackupIsCopiedRestoredOverTheOldFileAndDeleted)
{
    ScratchFolder dir;
    ASSERT_TRUE(CreateDir(dir / "work"));
    ASSERT_TRUE(CreateDir(dir / "BkUp"));
    Put(dir / "work/notes.txt", "first");
    FakeDialogs dialogs;
    FakeClock clock;
    clock.Time = LocalTime{2026, 3, 4, 5};
    BackUpFileList({FileRec{dir / "work/notes.txt", 1, 0}}, dir / "BkUp", clock, dialogs);
    ASSERT_EQ(ListBkUpFolders(dir / "BkUp"), std::vector<std::string>{"03_04_05"});
    const std::string snapshot = dir / "BkUp/03_04_05";
    EXPECT_EQ(Get(snapshot + "/notes.txt"), "first");

    Put(dir / "work/notes.txt", "second");
    RestoreBkUpFile(snapshot + "/notes.txt", dir / "work", dialogs);
    EXPECT_EQ(Get(dir / "work/notes.txt"), "first");
    EXPECT_EQ(Get(dir / "work/notes.BAK"), "second");
    EXPECT_THROW(RestoreBkUpFile(snapshot + "/notes.txt", dir / "work", dialogs), EBackupFileError);
    EXPECT_EQ(Get(dir / "work/notes.BAK"), "second");
    EXPECT_TRUE(dialogs.Log.empty());

    FileList listed;
    LoadBkUpFolder(snapshot, listed);
    for (const DeleteFailure& failure : DeleteBkUpFolder(snapshot, listed))
        ADD_FAILURE() << failure.Path << ": " << failure.Error.what();
    EXPECT_FALSE(DirectoryExists(snapshot));
    for (auto& n : NamesIn(snapshot))
        ADD_FAILURE() << "DEBUG " << n;
    EXPECT_EQ(NamesIn(dir / "work"), (std::set<std::string>{"notes.txt", "notes.BAK"}));
}

TEST(FilePromisesTest, TheSystemClockTellsTheLocalDateAndTicksOn)
{
    const SystemClock clock;
    for (;;) {
        const std::time_t before = std::time(nullptr);
        const LocalTime now = clock.Now();
        if (std::time(nullptr) != before)
            continue; // a second turned meanwhile: look again
        const std::tm local = *std::localtime(&before);
        EXPECT_EQ(now.Year, local.tm_year + 1900);
        EXPECT_EQ(now.Month, local.tm_mon + 1);
        EXPECT_EQ(now.Day, local.tm_mday);
        EXPECT_EQ(now.Hour, local.tm_hour);
        EXPECT_EQ(now.DayOfWeek, local.tm_wday);
        break;
    }
    const uint32_t start = clock.TickCount();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (clock.TickCount() == start && std::chrono::steady_clock::now() < deadline) {
    }
    EXPECT_NE(clock.TickCount(), start);
}

TEST(FilePromisesTest, WhatAKilledReplaceLeftIsSettledBesideTheFileOnly)
{
    const struct {
        const char* What;
        bool FileThere;
        const char* Leftover;
        bool LeftoverStays;
        const char* FileAfter; // its contents afterwards
    } cases[] = {
        {"a file moved aside and never put back", false, ".Tarvok.ini.tarvok-aside", false, "aside"},
        {"a file moved aside after the new one came in", true, ".Tarvok.ini.tarvok-aside", false, "current"},
        {"a temporary of the replace", true, ".Tarvok.ini.Ab12Cd", false, "current"},
        {"a temporary of another file", true, ".Other.ini.Ab12Cd", true, "current"},
        {"a name like a temporary's, one letter longer", true, ".Tarvok.ini.Ab12Cde", true, "current"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ScratchFolder dir;
        if (c.FileThere)
            Put(dir / "Tarvok.ini", "current");
        Put(dir / c.Leftover, "aside");
        RemoveReplaceLeftovers(dir / "Tarvok.ini");
        EXPECT_EQ(FileExists(dir / c.Leftover), c.LeftoverStays);
        EXPECT_EQ(Get(dir / "Tarvok.ini"), c.FileAfter);
    }
}

TEST(FilePromisesTest, RelativeNamesAreTheCurrentFoldersOwn)
{
    ScratchFolder dir;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(PathOf(dir.Path()));
    ASSERT_TRUE(CreateDir("sub"));
    ReplaceFileContents("Tarvok.ini", "settings");
    FakeDialogs dialogs;
    CopyFileByBlock("./Tarvok.ini", "sub/../copy.ini", dialogs);
    CopyFileByBlock("copy.ini", "sub/copy.ini", dialogs);
    const std::string read = ReadWholeFile("sub/copy.ini");
    std::filesystem::current_path(before);
    EXPECT_EQ(read, "settings");
    EXPECT_EQ(Get(dir / "copy.ini"), "settings");
    EXPECT_TRUE(dialogs.Log.empty());
}
