#include "ReadOnlyFolder.h"
#include "ScopedEnv.h"
#include "TempDir.h"
#include "platform/qt/SingleInstance.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarvok::test {
namespace {

// Windows has one namespace of pipe names for the whole machine: the
// copies of each test process get a name of their own, so that suites
// running side by side do not answer each other.
const std::string Name = "Tarvok-" + std::to_string(QCoreApplication::applicationPid());

TEST(ShellSingleInstanceTest, RuntimeDirectoryMustBePrivate)
{
#ifdef _WIN32
    // The user's local application data, which the profile keeps private.
    TempDir local;
    ScopedEnv localAppData("LOCALAPPDATA", local.Path().c_str());
    EXPECT_EQ(platform::RuntimeDirectory(), local / "Tarvok");
    EXPECT_TRUE(std::filesystem::is_directory(local / "Tarvok")) << "a missing folder is made";
    localAppData.Set(nullptr);
    std::string refusal;
    EXPECT_EQ(platform::RuntimeDirectory(&refusal), "");
    EXPECT_EQ(refusal, "LOCALAPPDATA is not set");
#else
    ScopedEnv restoreRuntime("XDG_RUNTIME_DIR");
    ScopedEnv restoreCache("XDG_CACHE_HOME");
    TempDir dir;
    TempDir cache;
    TempDir tmp;
    ScopedEnv temporary("TMPDIR", tmp.Path().c_str());
    const std::string lastResort = tmp / ("tarvok-" + std::to_string(::geteuid()));
    ::chmod(dir.Path().c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (cache / "not/yet").c_str(), 1);
    EXPECT_EQ(platform::RuntimeDirectory(), dir.Path());
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(platform::RuntimeDirectory(), cache / "not/yet/Tarvok") << "a missing cache folder is made";
    ::setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    ::setenv("XDG_CACHE_HOME", cache.Path().c_str(), 1);
    EXPECT_EQ(platform::RuntimeDirectory(), dir.Path());

    // A directory others may enter is not used; a private folder in our own
    // cache folder is, never a name in /tmp that another user could take first.
    ::chmod(dir.Path().c_str(), 0755);
    const std::string fallback = platform::RuntimeDirectory();
    EXPECT_EQ(fallback, cache / "Tarvok");
    EXPECT_EQ(ModeOf(fallback) & 0777, 0700u);
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(platform::RuntimeDirectory(), fallback);

    // A folder of ours opened to others is closed again; a cache folder that
    // anybody may write, or a link in our folder's place, is not used.
    ::chmod(fallback.c_str(), 0755);
    EXPECT_EQ(platform::RuntimeDirectory(), fallback);
    EXPECT_EQ(ModeOf(fallback) & 0777, 0700u);
    ::chmod(cache.Path().c_str(), 0777);
    EXPECT_EQ(platform::RuntimeDirectory(), lastResort);
    ::chmod(cache.Path().c_str(), 0700);
    std::filesystem::remove(fallback);
    std::filesystem::create_directory_symlink(dir.Path(), fallback);
    EXPECT_EQ(platform::RuntimeDirectory(), lastResort);
#endif
}

// A kiosk account: no runtime folder, a read-only home. The last resort, a
// folder of a predictable name in the temporary folder, serves only when it
// is a real directory of ours that nobody else can enter or move away.
TEST(ShellSingleInstanceTest, WithoutRuntimeAndCacheFolderAPrivateTemporaryFolderServesWhenSafe)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: on Windows the runtime folder is always in the user's own profile";
#else
    ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    ScopedEnv cache("XDG_CACHE_HOME", nullptr);
    TempDir home;
    ScopedEnv homeVariable("HOME", home.Path().c_str());
    const ReadOnlyFolder readOnlyHome(home.Path());
    ASSERT_TRUE(readOnlyHome.Made());
    const std::string name = "tarvok-" + std::to_string(::geteuid());
    TempDir elsewhere;
    ::chmod(elsewhere.Path().c_str(), 0700);

    using Plant = std::function<void(const std::string& tmp, const std::string& planted)>;
    const struct {
        const char* what;
        Plant plant;
        bool used;
        bool needsRoot = false;
    } rows[] = {
        {"nothing there yet", [](auto&, auto&) {}, true},
        {"ours from the last run", [](auto&, auto& p) { ::mkdir(p.c_str(), 0700); }, true},
        {"a link to a private folder of ours",
         [&](auto&, auto& p) { std::filesystem::create_directory_symlink(elsewhere.Path(), p); }, false},
        {"another user's folder",
         [](auto&, auto& p) {
             ::mkdir(p.c_str(), 0700);
             EXPECT_EQ(::chown(p.c_str(), 65534, 65534), 0);
         },
         false, true},
        {"ours, open to everyone",
         [](auto&, auto& p) {
             ::mkdir(p.c_str(), 0700);
             ::chmod(p.c_str(), 0777);
         },
         false},
        {"a plain file", [](auto&, auto& p) { WriteFile(p, ""); }, false},
        {"a temporary folder anyone may write, without the sticky bit",
         [](auto& tmp, auto&) { ::chmod(tmp.c_str(), 0777); }, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.needsRoot && !RunningAsRoot())
            continue; // only root can give a folder away
        TempDir tmp;
        ::chmod(tmp.Path().c_str(), 01777);
        ScopedEnv temporary("TMPDIR", tmp.Path().c_str());
        const std::string planted = tmp / name;
        row.plant(tmp.Path(), planted);
        std::string refusal;
        const std::string dir = platform::RuntimeDirectory(&refusal);
        if (!row.used) {
            EXPECT_EQ(dir, "");
            EXPECT_NE(refusal.find(tmp.Path()), std::string::npos) << refusal;
            continue;
        }
        ASSERT_EQ(dir, planted);
        EXPECT_EQ(ModeOf(dir), 0700u);
        platform::InstanceLock first(dir, Name);
        ASSERT_FALSE(first.AnotherCopyRuns());
        platform::InstanceLock second(platform::RuntimeDirectory(), Name);
        EXPECT_TRUE(second.AnotherCopyRuns()) << "a second start finds the first";
    }
#endif
}

TEST(ShellSingleInstanceTest, OnlyTheFirstHolderRunsUntilItEnds)
{
    TempDir dir;
    auto first = std::make_unique<platform::InstanceLock>(dir.Path(), Name);
    EXPECT_FALSE(first->AnotherCopyRuns());
    EXPECT_TRUE(first->HoldsLock());
    platform::InstanceLock second(dir.Path(), Name);
    EXPECT_TRUE(second.AnotherCopyRuns());
    first.reset();
    platform::InstanceLock third(dir.Path(), Name);
    EXPECT_FALSE(third.AnotherCopyRuns());
}

// A copy that can neither take the lock nor find its holder is not alone
// for all it knows: it does not hold the lock, so it ends.
TEST(ShellSingleInstanceTest, WithoutALockNoCopyHoldsIt)
{
    TempDir dir;
    for (const std::string& where : {std::string(), dir / "missing"}) {
        SCOPED_TRACE(where);
        platform::InstanceLock lock(where, Name);
        EXPECT_FALSE(lock.AnotherCopyRuns());
        EXPECT_FALSE(lock.HoldsLock());
    }
    platform::InstanceLock lock("", Name);
    EXPECT_EQ(lock.SocketPath(), "");
    lock.WakeRunningCopy(); // nowhere to go, and no harm
    platform::WakeUpServer server(lock.SocketPath());
    EXPECT_FALSE(server.Listen());
}

TEST(ShellSingleInstanceTest, ASecondCopyWakesTheFirst)
{
    TempDir dir;
    platform::InstanceLock first(dir.Path(), Name);
    ASSERT_FALSE(first.AnotherCopyRuns());
#ifndef _WIN32
    // A socket file left by a killed copy is in the way until removed.
    WriteFile(first.SocketPath(), "");
#endif
    platform::WakeUpServer server(first.SocketPath());
    ASSERT_TRUE(server.Listen());
#ifndef _WIN32
    EXPECT_EQ(ModeOf(first.SocketPath()) & 077, 0u);
#endif
    QSignalSpy woken(&server, &platform::WakeUpServer::WakeUpRequested);

    platform::InstanceLock second(dir.Path(), Name);
    ASSERT_TRUE(second.AnotherCopyRuns());
    second.WakeRunningCopy();
    EXPECT_TRUE(woken.wait(5000));
    second.WakeRunningCopy();
    EXPECT_TRUE(woken.wait(5000));
    EXPECT_EQ(woken.count(), 2);
}

TEST(ShellSingleInstanceTest, WakingWithNobodyListeningPassesQuietly)
{
    TempDir dir;
    platform::InstanceLock lock(dir.Path(), Name);
    EXPECT_FALSE(lock.WakeRunningCopy()) << "nobody was reached";
    EXPECT_FALSE(std::filesystem::exists(lock.SocketPath()));
}

// A socket name has room for 107 bytes; a deeper runtime folder still
// carries the wake-up, through a shorter path to the same private folder.
TEST(ShellSingleInstanceTest, ARuntimeFolderTooDeepForASocketNameStillWakesTheFirst)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: a named pipe's name does not hold the folder's path";
#else
    TempDir base;
    const std::string dir = base / std::string(120, 'd');
    ASSERT_TRUE(std::filesystem::create_directory(dir));
    ::chmod(dir.c_str(), 0700);
    platform::InstanceLock first(dir, Name);
    ASSERT_FALSE(first.AnotherCopyRuns());
    EXPECT_TRUE(std::filesystem::exists(dir + "/" + Name + ".lock"));
    EXPECT_LT(first.SocketPath().size(), 108u);
    platform::WakeUpServer server(first.SocketPath());
    ASSERT_TRUE(server.Listen());
    EXPECT_TRUE(std::filesystem::is_socket(dir + "/" + Name)) << "the socket lives in the private folder";
    QSignalSpy woken(&server, &platform::WakeUpServer::WakeUpRequested);

    platform::InstanceLock second(dir, Name);
    ASSERT_TRUE(second.AnotherCopyRuns());
    EXPECT_TRUE(second.WakeRunningCopy());
    EXPECT_TRUE(woken.wait(5000));
#endif
}

TEST(ShellSingleInstanceTest, AStaleOrGarbledLockIsTakenOverWhenNobodyAnswers)
{
    struct Case {
        const char* what;
        std::string content;
        std::filesystem::perms mode;
    };
    using enum std::filesystem::perms;
    const Case cases[] = {
        {"empty", "", owner_read | owner_write},
        {"garbage", "\x01\x02 not a lock\n", owner_read | owner_write},
        {"a process that is gone", "2147483000\nTarvok\nthis-host\n", owner_read | owner_write},
#ifndef _WIN32 // no mode keeps a file's owner from reading it there
        {"unreadable (but for root)", "", none},
#endif
    };
    for (const Case& c : cases) {
        TempDir dir;
        WriteFile(dir / (Name + ".lock"), c.content);
        std::filesystem::permissions(dir / (Name + ".lock"), c.mode);
        platform::InstanceLock lock(dir.Path(), Name);
        EXPECT_FALSE(lock.AnotherCopyRuns()) << c.what;
        platform::InstanceLock next(dir.Path(), Name);
        EXPECT_TRUE(next.AnotherCopyRuns()) << c.what << ": the lock is ours now";
    }
}

TEST(ShellSingleInstanceTest, AGarbledLockWithACopyAnsweringMeansThatCopyRuns)
{
    TempDir dir;
    WriteFile(dir / (Name + ".lock"), "garbage");
    platform::InstanceLock probe(dir.Path(), Name);
    platform::WakeUpServer server(probe.SocketPath());
    ASSERT_TRUE(server.Listen());
    EXPECT_TRUE(probe.AnotherCopyRuns());
    EXPECT_EQ(ReadFile(dir / (Name + ".lock")), "garbage");
}

TEST(ShellSingleInstanceTest, SilentConnectionsAreFewAndClosedAfterASecond)
{
    TempDir dir;
    platform::InstanceLock lock(dir.Path(), Name);
    platform::WakeUpServer server(lock.SocketPath());
    ASSERT_TRUE(server.Listen());
    const int tried = platform::WakeUpServer::MaxOpenConnections + 4;
    std::vector<std::unique_ptr<QLocalSocket>> silent;
    for (int i = 0; i < tried; ++i) {
        silent.push_back(std::make_unique<QLocalSocket>());
        silent.back()->connectToServer(QString::fromStdString(lock.SocketPath()));
        ASSERT_TRUE(silent.back()->waitForConnected(2000));
    }
    auto stillOpen = [&] {
        return std::count_if(silent.begin(), silent.end(),
                             [](const auto& s) { return s->state() == QLocalSocket::ConnectedState; });
    };
    QTest::qWait(300);
    EXPECT_EQ(stillOpen(), platform::WakeUpServer::MaxOpenConnections);
    EXPECT_TRUE(QTest::qWaitFor([&] { return stillOpen() == 0; }, 5000))
        << "the server let silent connections hold descriptors";

    // Their places are free again for a real wake-up.
    QSignalSpy woken(&server, &platform::WakeUpServer::WakeUpRequested);
    platform::InstanceLock second(dir.Path(), Name);
    second.WakeRunningCopy();
    EXPECT_TRUE(woken.wait(5000));
}

} // namespace
} // namespace tarvok::test
