#include "TempDir.h"
#include "platform/qt/SingleInstance.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

namespace tarvok::test {
namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode;
}

// Sets XDG_RUNTIME_DIR for one test and puts the old value back.
class RuntimeDirVariable {
public:
    RuntimeDirVariable()
    {
        if (const char* value = std::getenv("XDG_RUNTIME_DIR"))
            old_ = value;
    }
    ~RuntimeDirVariable()
    {
        if (old_)
            ::setenv("XDG_RUNTIME_DIR", old_->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }

private:
    std::optional<std::string> old_;
};

TEST(ShellSingleInstanceTest, RuntimeDirectoryMustBePrivate)
{
    RuntimeDirVariable restore;
    TempDir dir;
    ::chmod(dir.Path().c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    EXPECT_EQ(platform::RuntimeDirectory(), dir.Path());

    // A directory others may enter is not used; our own private one is.
    ::chmod(dir.Path().c_str(), 0755);
    const std::string fallback = platform::RuntimeDirectory();
    EXPECT_NE(fallback, dir.Path());
    EXPECT_EQ(ModeOf(fallback) & 0777, 0700u);
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(platform::RuntimeDirectory(), fallback);
}

TEST(ShellSingleInstanceTest, OnlyTheFirstHolderRunsUntilItEnds)
{
    TempDir dir;
    auto first = std::make_unique<platform::InstanceLock>(dir.Path(), "Tarvok");
    EXPECT_FALSE(first->AnotherCopyRuns());
    platform::InstanceLock second(dir.Path(), "Tarvok");
    EXPECT_TRUE(second.AnotherCopyRuns());
    first.reset();
    platform::InstanceLock third(dir.Path(), "Tarvok");
    EXPECT_FALSE(third.AnotherCopyRuns());
}

TEST(ShellSingleInstanceTest, WithoutADirectoryEveryCopyRuns)
{
    platform::InstanceLock lock("", "Tarvok");
    EXPECT_FALSE(lock.AnotherCopyRuns());
    EXPECT_EQ(lock.SocketPath(), "");
    lock.WakeRunningCopy(); // nowhere to go, and no harm
    platform::WakeUpServer server(lock.SocketPath());
    EXPECT_FALSE(server.Listen());
}

TEST(ShellSingleInstanceTest, ASecondCopyWakesTheFirst)
{
    TempDir dir;
    platform::InstanceLock first(dir.Path(), "Tarvok");
    ASSERT_FALSE(first.AnotherCopyRuns());
    // A socket file left by a killed copy is in the way until removed.
    WriteFile(first.SocketPath(), "");
    platform::WakeUpServer server(first.SocketPath());
    ASSERT_TRUE(server.Listen());
    EXPECT_EQ(ModeOf(first.SocketPath()) & 077, 0u);
    QSignalSpy woken(&server, &platform::WakeUpServer::WakeUpRequested);

    platform::InstanceLock second(dir.Path(), "Tarvok");
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
    platform::InstanceLock lock(dir.Path(), "Tarvok");
    lock.WakeRunningCopy();
    EXPECT_FALSE(std::filesystem::exists(lock.SocketPath()));
}

} // namespace
} // namespace tarvok::test
