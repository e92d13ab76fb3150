// What a user does with a backup drive, on the mounted drive named on the
// command line: two backups in one hour, the project file saved twice, a
// restore cut short and the same restore again, a snapshot deleted.
// drives_test.sh runs it once per kind of drive. The steps run in order and
// build on each other.
// Usage: drive_scenario DIRECTORY_ON_THE_DRIVE [gtest options]
#include "ChildProcess.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "TempDir.h"
#include "base/InOutError.h"
#include "core/BackupEngine.h"
#include "core/BlockCopy.h"
#include "core/ProjectFile.h"
#include "core/Settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <sys/stat.h>

using namespace tarvok;
using namespace tarvok::test;
namespace fs = std::filesystem;

namespace {

std::string DriveDir;

std::string Pattern(size_t size, char seed)
{
    std::string text(size, '\0');
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>(seed + (i * 7) % 251);
    return text;
}

// Whether the drive stores permission bits at all: FAT, exFAT and NTFS
// without user mapping do not, and then a copy's mode says nothing.
bool DriveKeepsModes()
{
    const std::string probe = DriveDir + "/mode-probe";
    WriteFile(probe, "");
    const bool kept = ::chmod(probe.c_str(), 0600) == 0 && ModeOf(probe) == 0600;
    fs::remove(probe);
    return kept;
}

// One backup directory on the drive and the user's files on the local disk;
// every run lands in the snapshot folder 03_07_09.
struct World {
    World()
    {
        Clock.Time.Month = 3;
        Clock.Time.Day = 7;
        Clock.Time.Hour = 9;
        fs::create_directory(Bk);
        fs::create_directory(Restored);
    }

    void WriteSources(const std::string& notes, const std::string& photo)
    {
        WriteFile(Notes, notes);
        ::chmod(Notes.c_str(), 0600);
        WriteFile(Photo, photo);
    }

    FileList Sources() const { return FileList{{Notes, 1, 0}, {Photo, 1, 0}}; }

    TempDir Home;
    std::string Notes = Home / "notes.txt";
    std::string Photo = Home / "photo.bin";
    std::string Bk = DriveDir + "/bk";
    std::string Snap = Bk + "/03_07_09";
    std::string Restored = DriveDir + "/restored";
    FakeClock Clock;
    FakeDialogs Dialogs;
};

World& The()
{
    static World world;
    return world;
}

void ExpectSnapshotHolds(const std::string& notes, const std::string& photo)
{
    World& w = The();
    EXPECT_EQ(ReadFile(w.Snap + "/notes.txt"), notes);
    EXPECT_TRUE(ReadFile(w.Snap + "/photo.bin") == photo) << "the 100 kB copy is not the source";
    EXPECT_EQ(EntriesOf(w.Snap), (std::set<std::string>{"notes.txt", "photo.bin"})) << "nothing left over";
    EXPECT_EQ(ListBkUpFolders(w.Bk), std::vector<std::string>{"03_07_09"}) << "the browser lists it";
    EXPECT_TRUE(w.Dialogs.Log.empty()) << w.Dialogs.Log.front().Kind << ": " << w.Dialogs.Log.front().Text;
}

} // namespace

TEST(Drive, BacksUpAPrivateFileAndALargeOne)
{
    World& w = The();
    w.WriteSources("first notes", Pattern(100 * 1024, 'a'));
    BackUpFileList(w.Sources(), w.Bk, w.Clock, w.Dialogs);
    ExpectSnapshotHolds("first notes", Pattern(100 * 1024, 'a'));
    if (DriveKeepsModes()) {
        EXPECT_EQ(ModeOf(w.Snap + "/notes.txt"), 0600u);
    }
}

TEST(Drive, SavesTheProjectFileTwice)
{
    World& w = The();
    const std::string path = ProjectFilePath(w.Bk);
    SaveSourceList(path, FileList{{w.Notes, 1, 0}});
    SaveSourceList(path, w.Sources());
    FileList loaded;
    LoadFileList(path, loaded);
    EXPECT_EQ(FormatFileList(loaded), FormatFileList(w.Sources()));
}

TEST(Drive, ASecondBackupInTheSameHourReplacesTheCopies)
{
    World& w = The();
    w.WriteSources("second notes", Pattern(100 * 1024, 'b'));
    BackUpFileList(w.Sources(), w.Bk, w.Clock, w.Dialogs);
    ExpectSnapshotHolds("second notes", Pattern(100 * 1024, 'b'));
}

TEST(Drive, ARestoreCutShortLeavesTheUsersFileUnderItsName)
{
    World& w = The();
    WriteFile(w.Restored + "/photo.bin", "the user's photo");
    // The copy hits the file-size limit part-way (EFBIG), as on a full drive.
    const int code = RunInChild([&] {
        LimitFileSize(16384);
        FakeDialogs dialogs;
        try {
            RestoreBkUpFile(w.Snap + "/photo.bin", w.Restored, dialogs);
        } catch (const EInOutError&) {
            return 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "the restore stopped with \"%s\" instead\n", e.what());
            return 2;
        }
        return 1;
    });
    EXPECT_EQ(code, 0) << "the restore reports the failed copy (1: it did not)";
    EXPECT_EQ(ReadFile(w.Restored + "/photo.bin"), "the user's photo");
    EXPECT_EQ(EntriesOf(w.Restored), std::set<std::string>{"photo.bin"}) << "nothing left over";
}

TEST(Drive, ARestoreOverAnExistingFileKeepsItAsBak)
{
    World& w = The();
    RestoreBkUpFile(w.Snap + "/photo.bin", w.Restored, w.Dialogs);
    EXPECT_TRUE(ReadFile(w.Restored + "/photo.bin") == Pattern(100 * 1024, 'b')) << "the restored copy is whole";
    EXPECT_EQ(ReadFile(w.Restored + "/photo.BAK"), "the user's photo");
    EXPECT_EQ(EntriesOf(w.Restored), (std::set<std::string>{"photo.bin", "photo.BAK"}));
}

TEST(Drive, DeletesASnapshot)
{
    World& w = The();
    FileList listed;
    LoadBkUpFolder(w.Snap, listed);
    EXPECT_EQ(listed.size(), 2u);
    const DeleteFailures failures = DeleteBkUpFolder(w.Snap, listed);
    for (const DeleteFailure& failure : failures)
        ADD_FAILURE() << failure.Path << " stayed: " << failure.Error.what();
    EXPECT_FALSE(fs::exists(w.Snap));
    EXPECT_TRUE(ListBkUpFolders(w.Bk).empty());
}

TEST(Drive, SourcesWhoseNamesDifferOnlyInCaseAreNamedWhereTheDriveFoldsCase)
{
    World& w = The();
    const std::string bk = DriveDir + "/bk-case";
    fs::create_directories(w.Home / "A");
    fs::create_directories(w.Home / "B");
    WriteFile(w.Home / "A/Report.txt", "from A");
    WriteFile(w.Home / "B/report.txt", "from B");
    fs::create_directory(bk);
    const std::vector<NameClash> clashes = BackUpFileList(
        FileList{{w.Home / "A/Report.txt", 1, 0}, {w.Home / "B/report.txt", 1, 0}}, bk, w.Clock, w.Dialogs);
    const std::string drive = fs::path(DriveDir).filename();
    if (drive == "fat" || drive == "exfat") {
        ASSERT_EQ(clashes.size(), 1u) << "the user is told which file has no copy";
        EXPECT_EQ(clashes[0].Lost, w.Home / "A/Report.txt");
        EXPECT_EQ(EntriesOf(bk + "/03_07_09").size(), 1u);
    } else {
        EXPECT_TRUE(clashes.empty()) << drive << " keeps both";
        EXPECT_EQ(EntriesOf(bk + "/03_07_09"), (std::set<std::string>{"Report.txt", "report.txt"}));
    }
    fs::remove_all(bk);
}

TEST(Drive, ANameTheDriveCannotStoreIsSaidSo)
{
    World& w = The();
    const std::string bk = DriveDir + "/bk-names";
    const std::string odd = w.Home / "what?.txt";
    WriteFile(odd, "?");
    fs::create_directory(bk);
    std::string message;
    try {
        BackUpFileList(FileList{{odd, 1, 0}}, bk, w.Clock, w.Dialogs);
    } catch (const EInOutError& e) {
        message = e.what();
    }
    const std::string drive = fs::path(DriveDir).filename();
    EXPECT_EQ(message, drive == "fat" || drive == "exfat" ? odd + ": The drive cannot store this file name" : "");
    fs::remove_all(bk);
}

// Run by drives_test.sh on a share it takes away during the first step.
TEST(ShareGone, TheRunSaysTheDriveIsNoLongerReachable)
{
    World& w = The();
    const std::string big = w.Home / "big.bin";
    WriteFile(big, "");
    fs::resize_file(big, uintmax_t{1} << 30);
    try {
        BackUpFileList(FileList{{big, 1, 0}}, w.Bk, w.Clock, w.Dialogs);
        ADD_FAILURE() << "the run ended well";
    } catch (const EInOutError& e) {
        EXPECT_EQ(std::string(e.what()), big + ": The drive " + DriveDir + " is no longer reachable");
    }
}

TEST(ShareGone, ADeadRunsPartialIsCleanedOnceOld)
{
    World& w = The();
    auto partials = [&] {
        std::vector<std::string> found;
        for (const std::string& name : EntriesOf(w.Snap))
            if (IsPartialCopyName(name))
                found.push_back(name);
        return found;
    };
    const std::vector<std::string> left = partials();
    ASSERT_EQ(left.size(), 1u) << "the dead run left its partial copy";
    WriteFile(w.Notes, "notes");
    BackUpFileList(FileList{{w.Notes, 1, 0}}, w.Bk, w.Clock, w.Dialogs);
    EXPECT_EQ(partials(), left) << "a young one may be another machine's live copy";
    fs::last_write_time(w.Snap + "/" + left[0], fs::file_time_type::clock::now() - std::chrono::hours(25));
    BackUpFileList(FileList{{w.Notes, 1, 0}}, w.Bk, w.Clock, w.Dialogs);
    EXPECT_TRUE(partials().empty()) << "a day without a write: the run that made it is dead";
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY_ON_THE_DRIVE [gtest options]\n", argv[0]);
        return 2;
    }
    DriveDir = argv[1];
    return RUN_ALL_TESTS();
}
