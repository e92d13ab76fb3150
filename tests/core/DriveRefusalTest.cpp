// Backups, restores, project files and deletions on drives that refuse what
// ext4 allows: permission changes, RENAME_NOREPLACE, renames over a file,
// some names; and errors that say which file stopped the work and why.
#include "ChildProcess.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDrive.h"
#include "FileLists.h"
#include "TempDir.h"
#include "base/InOutError.h"
#include "core/BackupEngine.h"
#include "core/BlockCopy.h"
#include "core/ProjectFile.h"
#include "platform/DriveCalls.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sched.h>
#include <sys/mount.h>
#endif

#include <filesystem>
#include <set>

using namespace tarvok;
using namespace tarvok::test;
namespace fs = std::filesystem;

namespace {

std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

#ifndef _WIN32
struct Drive {
    const char* Name;
    DriveRefusals Refusals;
};

const Drive Drives[] = {
    {"ext4", {}},
    {"FAT through FUSE", {ENOSYS, false, true, EPERM, "", 0, false, false}},
    {"FAT mounted for everyone", {EPERM, true, true, EINVAL, "", 0, false, true}},
    {"SMB through gvfs", {EOPNOTSUPP, false, true, 0, "", 0, false, false}},
    {"SFTP without posix-rename and hardlink", {0, false, false, 0, "", 0, false, false}},
    {"exFAT through FUSE", {ENOSYS, false, true, ENOENT, "", 0, false, false}},
};
#endif

class DriveRefusal : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clock.Time = {2026, 3, 7, 9, 5, 0};
        fs::create_directories(Bk);
        fs::create_directories(Out);
    }
    void BackUp(const FileList& files) { BackUpFileList(files, Bk, Clock, Dialogs); }

    TempDir Tmp;
    std::string Bk = Tmp / "bk";
    std::string Snap = Tmp / "bk/03_07_09";
    std::string Out = Tmp / "out";
    FakeDialogs Dialogs;
    FakeClock Clock;
};

TEST_F(DriveRefusal, BackupRestoreProjectFileAndDeleteWorkOnEveryDrive)
{
#ifdef _WIN32
    GTEST_SKIP()
        << "Linux only: the refusals are those of Linux drives (FUSE, gvfs, SFTP) put into the Linux file calls";
#else
    for (const Drive& drive : Drives) {
        SCOPED_TRACE(drive.Name);
        TempDir tmp;
        const std::string bk = tmp / "bk", snap = tmp / "bk/03_07_09", out = tmp / "out";
        fs::create_directories(bk);
        fs::create_directories(out);
        WriteFile(tmp / "key", "secret");
        ::chmod((tmp / "key").c_str(), 0600);
        WriteFile(tmp / "big", std::string(100000, 'b'));
        FakeDrive fake(drive.Refusals);

        BackUpFileList(ListOf({tmp / "key", tmp / "big"}), bk, Clock, Dialogs);
        WriteFile(tmp / "big", std::string(100000, 'n'));
        BackUpFileList(ListOf({tmp / "key", tmp / "big"}), bk, Clock, Dialogs);
        EXPECT_EQ(EntriesOf(snap), (std::set<std::string>{"big", "key"}));
        EXPECT_EQ(ReadFile(snap + "/big"), std::string(100000, 'n'));
        if (drive.Refusals.ChangeMode == 0) {
            EXPECT_EQ(ModeOf(snap + "/key"), 0600u);
        }

        WriteFile(out + "/big", "current");
        RestoreBkUpFile(snap + "/big", out, Dialogs);
        EXPECT_EQ(ReadFile(out + "/big"), std::string(100000, 'n'));
        EXPECT_EQ(ReadFile(out + "/big.BAK"), "current");
        WriteFile(out + "/big", "newer");
        EXPECT_EQ(MessageOf([&] { RestoreBkUpFile(snap + "/big", out, Dialogs); }),
                  out + "/big.BAK: Unable to create backup file.");
        EXPECT_EQ(ReadFile(out + "/big"), "newer");
        EXPECT_EQ(EntriesOf(out), (std::set<std::string>{"big", "big.BAK"}));

        SaveSourceList(bk + "/Project.ini", ListOf({"a"}));
        SaveSourceList(bk + "/Project.ini", ListOf({"b"}));
        EXPECT_EQ(ReadFile(bk + "/Project.ini"), "b\r\n");

        FileList list;
        EXPECT_TRUE(DeleteBkUpFolder(snap, list).empty());
        EXPECT_EQ(EntriesOf(bk), std::set<std::string>{"Project.ini"});
        EXPECT_TRUE(Dialogs.Log.empty());
    }
#endif
}

TEST_F(DriveRefusal, WhateverEndsARestoreTheUsersFileKeepsItsName)
{
#ifdef _WIN32
    GTEST_SKIP()
        << "Linux only: the refusals are those of Linux drives (FUSE, gvfs, SFTP) put into the Linux file calls";
#else
    WriteFile(Tmp / "notes.txt", std::string(5000, 'r'));
    BackUp(ListOf({Tmp / "notes.txt"}));
    const struct {
        const char* Case;
        DriveRefusals Refusals;
        rlim_t SizeLimit;
        std::string Bak;
    } cases[] = {
        {"the copy outgrows the drive", {}, 3000, ""},
        {"the copy cannot take the name", {0, true, true, 0, "notes.txt", ENOSPC}, 0, ""},
        {"neither can it where rename never replaces", {0, false, false, 0, "notes.txt", ENOSPC}, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        WriteFile(Out + "/notes.txt", "mine");
        const int code = RunInChild([&] {
            if (c.SizeLimit)
                LimitFileSize(c.SizeLimit);
            FakeDrive fake(c.Refusals);
            FakeDialogs dialogs;
            try {
                RestoreBkUpFile(Snap + "/notes.txt", Out, dialogs);
            } catch (const EInOutError& e) {
                return std::string(e.what()).rfind(Out + "/notes.txt: ", 0) == 0 ? 0 : 2;
            }
            return 1;
        });
        EXPECT_EQ(code, 0);
        EXPECT_EQ(ReadFile(Out + "/notes.txt"), "mine");
        EXPECT_EQ(EntriesOf(Out), std::set<std::string>{"notes.txt"});
    }
#endif
}

TEST_F(DriveRefusal, ErrorsNameTheFileThatStoppedTheRunAndTheCause)
{
#ifdef _WIN32
    GTEST_SKIP()
        << "Linux only: the refusals are those of Linux drives (FUSE, gvfs, SFTP) put into the Linux file calls";
#else
    WriteFile(Tmp / "a.txt", "a");
    WriteFile(Tmp / "what?.txt", "q");
    WriteFile(Tmp / "big.iso", std::string(5000, 'i'));
    const struct {
        const char* Case;
        std::string Source;
        DriveRefusals Refusals;
        rlim_t SizeLimit;
        std::string Message;
    } cases[] = {
        {"FAT",
         Tmp / "what?.txt",
         {0, true, true, EINVAL, "", 0},
         0,
         Tmp / "what?.txt: The drive cannot store this file name"},
        {"FAT through FUSE",
         Tmp / "what?.txt",
         {0, true, true, EPERM, "", 0},
         0,
         Tmp / "what?.txt: The drive cannot store this file name"},
        {"exFAT",
         Tmp / "what?.txt",
         {0, true, true, ENOENT, "", 0},
         0,
         Tmp / "what?.txt: The drive cannot store this file name"},
        {"over 4 GiB on FAT", Tmp / "big.iso", {}, 3000, Tmp / "big.iso: The file is too large for the drive"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        const int code = RunInChild([&] {
            if (c.SizeLimit)
                LimitFileSize(c.SizeLimit);
            FakeDrive fake(c.Refusals);
            FakeDialogs dialogs;
            const std::string message = MessageOf([&] {
                BackUpFileList(ListOf({Tmp / "a.txt", c.Source, Tmp / "a.txt"}), Bk, Clock, dialogs);
            });
            return message == c.Message ? 0 : 1;
        });
        EXPECT_EQ(code, 0) << c.Message;
        EXPECT_EQ(EntriesOf(Snap), std::set<std::string>{"a.txt"}) << "the run ended at that file, nothing left over";
    }
#endif
}

TEST_F(DriveRefusal, ErrorsAtOddThingsNameTheirFile)
{
    WriteFile(Tmp / "a.txt", "a");
    WriteFile(Bk + "/Project.ini", "");
    fs::resize_file(Bk + "/Project.ini", platform::MaxWholeFileSize + 1);
#ifdef _WIN32
    WriteFile(Snap, "");
    const char* thing = "a file at the snapshot folder's name";
#else
    ASSERT_EQ(::mkfifo(Snap.c_str(), 0600), 0);
    const char* thing = "a FIFO at the snapshot folder's name";
#endif
    const struct {
        const char* Case;
        std::function<void()> Work;
        std::string Message;
    } cases[] = {
        {thing, [&] { BackUp(ListOf({Tmp / "a.txt"})); }, Snap + ": Something that is not a folder has its name"},
        {"a project file of 64 MB and more", [&] { LoadFileList(Bk + "/Project.ini", *std::make_unique<FileList>()); },
         Bk + "/Project.ini: The file is larger than 64 MB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MessageOf(c.Work), c.Message) << c.Case;
}

#ifndef _WIN32
// A drive made read-only, or small, for a child of its own mount namespace:
// the mount goes with the child.
int OnMountedDrive(const std::string& dir, const char* type, const char* options, const std::function<int()>& action)
{
    return RunInChild([&] {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return 90;
        if (type ? ::mount(type, dir.c_str(), type, 0, options) != 0
                 : ::mount(dir.c_str(), dir.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
                       ::mount(nullptr, dir.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return 91;
        return action();
    });
}
#endif

TEST_F(DriveRefusal, AReadOnlyDriveIsNamedAndItsBackupsAreNotDroppedAsDeleted)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: a drive mounted in a mount namespace of its own";
#else
    if (!RunningAsRoot())
        GTEST_SKIP() << "mounts need root";
    WriteFile(Tmp / "a.txt", "a");
    fs::create_directories(Bk + "/01_01_01");
    WriteFile(Bk + "/01_01_01/x", "x");
    WriteFile(Bk + "/01_01_01/y", "y");
    const int code = OnMountedDrive(Bk, nullptr, nullptr, [&] {
        FakeDialogs dialogs;
        if (MessageOf([&] { BackUpFileList(ListOf({Tmp / "a.txt"}), Bk, Clock, dialogs); }) !=
            Snap + ": The drive is read-only")
            return 1;
        FileList list;
        LoadBkUpFolder(Bk + "/01_01_01", list);
        for (FileRec& file : list)
            file.Selected = 1;
        const DeleteFailures stayed = DeleteSelectedBkUpFiles(list);
        if (stayed.size() != 2 || list.size() != 2)
            return 2;
        const std::string message = MessageOf([&] { ReportDeleteFailures(stayed); });
        if (message != "2 backups were not deleted, the first " + list.front().FileName + ": The drive is read-only")
            return 3;
        return DeleteBkUpFolder(Bk + "/01_01_01", list).size() == 2 ? 0 : 4;
    });
    EXPECT_EQ(code, 0);
#endif
}

TEST_F(DriveRefusal, ASameHourRunNeedsRoomForOneNewCopyOnly)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: a drive mounted in a mount namespace of its own";
#else
    if (!RunningAsRoot())
        GTEST_SKIP() << "mounts need root";
    WriteFile(Tmp / "a", std::string(300 << 10, 'a'));
    WriteFile(Tmp / "b", std::string(300 << 10, 'b'));
    const int code = OnMountedDrive(Bk, "tmpfs", "size=1m", [&] {
        FakeDialogs dialogs;
        const FileList files = ListOf({Tmp / "a", Tmp / "b"});
        BackUpFileList(files, Bk, Clock, dialogs);
        WriteFile(Tmp / "a", std::string(300 << 10, 'A'));
        WriteFile(Tmp / "b", std::string(300 << 10, 'B'));
        BackUpFileList(files, Bk, Clock, dialogs);
        return ReadFile(Snap + "/b") == std::string(300 << 10, 'B') ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
#endif
}

TEST_F(DriveRefusal, WhatAKillLeftOfAMoveAsideIsSettled)
{
    // Killed after the old file went aside: it comes back. Killed after the
    // new one came in: the old one goes.
    WriteFile(Bk + "/" + platform::AsideName("Project.ini"), "old list");
    LoadFileList(Bk + "/Project.ini", *std::make_unique<FileList>());
    EXPECT_EQ(EntriesOf(Bk), std::set<std::string>{"Project.ini"});
    EXPECT_EQ(ReadFile(Bk + "/Project.ini"), "old list");

    fs::create_directories(Snap);
    WriteFile(Snap + "/a", "new");
    WriteFile(Snap + "/" + platform::AsideName("a"), "old");
    WriteFile(Snap + "/" + platform::AsideName("b"), "only copy");
    FileList listed;
    LoadBkUpFolder(Snap, listed);
    EXPECT_EQ(listed.size(), 1u) << "never listed";
    WriteFile(Tmp / "c", "c");
    BackUp(ListOf({Tmp / "c"}));
    EXPECT_EQ(EntriesOf(Snap), (std::set<std::string>{"a", "b", "c"}));
    EXPECT_EQ(ReadFile(Snap + "/a"), "new");
    EXPECT_EQ(ReadFile(Snap + "/b"), "only copy");
}

} // namespace
