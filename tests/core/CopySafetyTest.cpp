// Copies that cannot be torn, hijacked or read by others: the modes they get,
// the folders and links they refuse, what a failure or a kill leaves behind,
// and sources that are not plain, steady files.
#include "ChildProcess.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FileLists.h"
#include "TempDir.h"
#include "base/InOutError.h"
#include "core/BackupEngine.h"
#include "core/BlockCopy.h"
#include "platform/RawFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>
#ifndef _WIN32
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace tarvok;
using namespace tarvok::test;
namespace fs = std::filesystem;

namespace {

// A backup directory whose runs all go to the snapshot folder 03_07_09.
class CopySafety : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clock.Time.Month = 3;
        Clock.Time.Day = 7;
        Clock.Time.Hour = 9;
        fs::create_directory(Bk);
    }

    std::string Source(const std::string& name, const std::string& contents, unsigned mode = 0644)
    {
        fs::remove(Tmp / name);
        WriteFile(Tmp / name, contents);
        fs::permissions(Tmp / name, fs::perms{mode});
        return Tmp / name;
    }

    void BackUp(const FileList& files) { BackUpFileList(files, Bk, Clock, Dialogs); }

    TempDir Tmp;
    std::string Bk = Tmp / "bk";
    std::string Snap = Tmp / "bk/03_07_09";
    FakeDialogs Dialogs;
    FakeClock Clock;
};

TEST_F(CopySafety, CopiesKeepTheSourcesPrivacyAndSnapshotFoldersArePrivate)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: permission modes; Windows keeps a read-only mark "
                    "(FilePromisesTest.EntriesAreSeenAsTheProgramKnowsThem)";
#else
    const struct {
        unsigned source, copy;
    } cases[] = {{0600, 0600}, {0644, 0644}, {0755, 0755}, {0640, 0640},
                 {0666, 0644}, {0444, 0644}, {0400, 0600}, {04755, 0755}};
    for (const auto& c : cases) {
        const std::string src = Source("f", "data", c.source);
        BackUp(ListOf({src}));
        EXPECT_EQ(ModeOf(Snap + "/f"), c.copy) << std::oct << c.source << " backed up";
        fs::create_directories(Tmp / "out");
        fs::remove(Tmp / "out/f");
        RestoreBkUpFile(Snap + "/f", Tmp / "out", Dialogs);
        EXPECT_EQ(ModeOf(Tmp / "out/f"), c.copy) << std::oct << c.source << " restored";
    }
    EXPECT_EQ(ModeOf(Snap), 0700u);
#endif
}

TEST_F(CopySafety, ASnapshotFolderThatIsALinkOrAnotherUsersIsRefusedBeforeAnyWrite)
{
#ifdef _WIN32
    GTEST_SKIP()
        << "Linux only: owners and symbolic links; on Windows WindowsSystemTest.ASnapshotFolderIsTheUsersAlone";
#else
    const std::string secret = Source("key", "private key", 0600);
    fs::create_directory(Tmp / "elsewhere");
    fs::create_directory_symlink(Tmp / "elsewhere", Snap);
    EXPECT_THROW(BackUp(ListOf({secret})), EInOutError);
    EXPECT_TRUE(fs::is_empty(Tmp / "elsewhere"));
    EXPECT_EQ(EntriesOf(Bk), std::set<std::string>{"03_07_09"});
    fs::remove(Snap);

    if (!RunningAsRoot())
        GTEST_SKIP() << "only root can give a folder to another user";
    fs::create_directory(Snap);
    ASSERT_EQ(::chown(Snap.c_str(), 65534, 65534), 0);
    ::chmod(Snap.c_str(), 0777);
    WriteFile(Snap + "/key", "theirs");
    EXPECT_THROW(BackUp(ListOf({secret})), EInOutError);
    EXPECT_EQ(EntriesOf(Snap), std::set<std::string>{"key"});
    EXPECT_EQ(ReadFile(Snap + "/key"), "theirs");

    // A folder of root's, as on a drive mounted for the user, is used.
    fs::permissions(Tmp.Path(), fs::perms::all);
    fs::permissions(Bk, fs::perms::all);
    ASSERT_EQ(::chown(Snap.c_str(), 0, 0), 0);
    const std::string shared = Source("shared", "for all");
    const int code = RunInChild([&] {
        if (!DropRoot())
            return 99;
        FakeDialogs dialogs;
        BackUpFileList(ListOf({shared}), Bk, Clock, dialogs);
        return 0;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadFile(Snap + "/shared"), "for all");
#endif
}

TEST_F(CopySafety, AnOwnSnapshotFolderOthersCanWriteIsMadePrivateBeforeAnyCopy)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: modes watched with inotify";
#else
    const std::string src = Source("a", "data");
    const struct {
        unsigned before, after;
    } cases[] = {{0777, 0755}, {0770, 0750}, {0703, 0701}, {0755, 0755}, {0700, 0700}};
    for (const auto& c : cases) {
        fs::remove_all(Snap);
        fs::create_directory(Snap);
        ::chmod(Snap.c_str(), c.before);
        // The folder's own mode change ('m') must come before the first file made in it ('c').
        const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        ASSERT_GE(::inotify_add_watch(watch, Snap.c_str(), IN_ATTRIB | IN_CREATE), 0);
        BackUp(ListOf({src}));
        std::string order;
        alignas(inotify_event) char events[4096];
        for (ssize_t n; (n = ::read(watch, events, sizeof events)) > 0;)
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                order += (event->mask & IN_CREATE) ? 'c' : (event->len == 0 ? 'm' : 'f');
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        ::close(watch);
        EXPECT_EQ(ModeOf(Snap), c.after) << std::oct << c.before;
        EXPECT_EQ(order.rfind('m'), c.before == c.after ? std::string::npos : 0) << order;
        EXPECT_EQ(ReadFile(Snap + "/a"), "data");
    }
#endif
}

TEST_F(CopySafety, LinksPlantedAtTheDestinationAreReplacedNotFollowed)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: symbolic links are the administrator's on Windows";
#else
    const std::string victim = Source("victim", "must stay");
    const std::string src = Source("a.txt", "backed up");
    fs::create_directory(Snap);
    fs::create_symlink(victim, Snap + "/a.txt");
    BackUp(ListOf({src}));
    EXPECT_EQ(ReadFile(victim), "must stay");
    EXPECT_FALSE(fs::is_symlink(Snap + "/a.txt"));
    EXPECT_EQ(ReadFile(Snap + "/a.txt"), "backed up");

    // Restore: the link gets the ".BAK" name, the copy a file of its own.
    fs::create_directory(Tmp / "out");
    fs::create_symlink(victim, Tmp / "out/a.txt");
    RestoreBkUpFile(Snap + "/a.txt", Tmp / "out", Dialogs);
    EXPECT_EQ(ReadFile(victim), "must stay");
    EXPECT_FALSE(fs::is_symlink(Tmp / "out/a.txt"));
    EXPECT_TRUE(fs::is_symlink(Tmp / "out/a.BAK"));

    const std::string linkedSource = Tmp / "linked";
    fs::create_symlink(src, linkedSource);
    BackUp(ListOf({linkedSource}));
    EXPECT_EQ(ReadFile(Snap + "/linked"), "backed up") << "a source that is a link is followed";
#endif
}

TEST_F(CopySafety, AFailingWriteKeepsTheEarlierCopyWholeAndLeavesNoTemporaryFile)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: a file size limit for one process stands in for the full disk";
#else
    const std::string whole(3 * 2048 + 5, 'w');
    const std::string src = Source("a", whole);
    BackUp(ListOf({src}));
    WriteFile(src, std::string(3 * 2048 + 5, 'n'));
    fs::create_directory(Tmp / "out");
    WriteFile(Tmp / "out/a", "restored before");

    const int code = RunInChild([&] {
        LimitFileSize(3000);
        FakeDialogs dialogs;
        int codes = 0;
        try {
            BackUpFileList(ListOf({src}), Bk, Clock, dialogs);
        } catch (const EInOutError& e) {
            codes += e.ErrorCode();
        }
        try {
            CopyFileByBlock(src, Tmp / "out/a", dialogs);
        } catch (const EInOutError& e) {
            codes += e.ErrorCode() * 1000;
        }
        return codes == 101101 ? 0 : 1;
    });
    EXPECT_EQ(code, 0) << "both copies end with \"Disk full\"";
    EXPECT_EQ(ReadFile(Snap + "/a"), whole);
    EXPECT_EQ(EntriesOf(Snap), std::set<std::string>{"a"});
    EXPECT_EQ(ReadFile(Tmp / "out/a"), "restored before");
    EXPECT_EQ(EntriesOf(Tmp / "out"), std::set<std::string>{"a"});
#endif
}

TEST_F(CopySafety, ACopyCutShortByAKillIsNeverListedAndTheNextRunRemovesIt)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: a child killed by its file size limit; the held temporary is "
                    "FilePromisesTest.ATemporaryIsLeftAloneWhileItsWriterHoldsIt";
#else
    const std::string src = Source("a", std::string(10000, 'x'));
    BackUp(ListOf({src}));
    // The kernel kills a process writing past its file-size limit.
    const int code = RunInChild([&] {
        rlimit none{0, 0};
        ::setrlimit(RLIMIT_CORE, &none);
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_DFL);
        FakeDialogs dialogs;
        try {
            BackUpFileList(ListOf({src}), Bk, Clock, dialogs);
        } catch (const EInOutError&) {
        }
        return 0;
    });
    ASSERT_EQ(code, -1) << "the child was killed in the middle of the copy";
    const std::set<std::string> left = EntriesOf(Snap);
    ASSERT_EQ(left.size(), 2u);
    const std::string partial = *left.begin() == "a" ? *left.rbegin() : *left.begin();
    EXPECT_TRUE(IsPartialCopyName(partial)) << partial;
    EXPECT_EQ(ReadFile(Snap + "/a"), std::string(10000, 'x')) << "the earlier copy is whole";

    FileList listed;
    LoadBkUpFolder(Snap, listed);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed.front().FileName, Snap + "/a");

    BackUp(ListOf({src}));
    EXPECT_EQ(EntriesOf(Snap), std::set<std::string>{"a"});

    // Deleting a snapshot folder is not kept back by such a leftover either.
    WriteFile(Snap + "/" + partial, "cut short");
    EXPECT_TRUE(DeleteBkUpFolder(Snap, listed).empty());
    EXPECT_FALSE(fs::exists(Snap));
#endif
}

TEST_F(CopySafety, SourcesThatAreNotPlainFilesAreNeverOpenedToBlockOrRead)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: FIFOs";
#else
    ASSERT_EQ(::mkfifo((Tmp / "fifo").c_str(), 0600), 0);
    const std::string src = Tmp / "swapped";
    // Whatever could block runs in a child that its alarm kills.
    const int code = RunInChild([&] {
        ::alarm(60);
        for (const std::string& path : {Tmp / "fifo", std::string("/dev/zero"), Tmp.Path()})
            if (platform::RawFile::OpenSource(path).has_value())
                return 1;
        // A source swapped for a FIFO between the look and the open.
        std::atomic<bool> stop{false};
        std::thread swapper([&] {
            for (int i = 0; !stop; ++i) {
                const std::string next = Tmp / ("next" + std::to_string(i % 2));
                if (i % 2 == 0)
                    WriteFile(next, "plain");
                else
                    ::mkfifo(next.c_str(), 0600);
                ::rename(next.c_str(), src.c_str());
            }
        });
        FileList list;
        for (int i = 0; i < 2000; ++i)
            AddFile(list, FileRec{src, 1, 0});
        FakeDialogs dialogs;
        BackUpFileList(list, Bk, Clock, dialogs);
        stop = true;
        swapper.join();
        return 0;
    });
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(fs::is_fifo(Snap + "/swapped"));
#endif
}

TEST_F(CopySafety, ASourceThatGrowsDuringTheCopyIsCopiedAsItWasAtTheOpen)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: the source's reads are watched with inotify";
#else
    const std::string start(8 << 20, 's');
    const std::string src = Source("log", start);
    // As soon as the copy reads, a writer appends more.
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, src.c_str(), IN_ACCESS), 0);
    std::thread writer([&] {
        char event[sizeof(inotify_event) + 256];
        pollfd readable{watch, POLLIN, 0};
        if (::poll(&readable, 1, 30000) == 1 && ::read(watch, event, sizeof event) > 0) {
            std::ofstream out(src, std::ios::binary | std::ios::app);
            out << std::string(4 << 20, 'g');
        }
    });
    BackUp(ListOf({src}));
    writer.join();
    ::close(watch);
    EXPECT_EQ(fs::file_size(src), (12u << 20)) << "the writer appended during the copy";
    const std::string copy = ReadFile(Snap + "/log");
    EXPECT_EQ(copy.size(), start.size());
    EXPECT_TRUE(copy == start);
#endif
}

} // namespace
