#include "TempDir.h"
#include "platform/qt/Desktop_linux.h"

#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace tarvok::test {
namespace {

// Sets an environment variable for one test.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            saved_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~EnvironmentValue()
    {
        if (saved_)
            ::setenv(name_, saved_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> saved_;
};

class DesktopTerminalTest : public ::testing::Test {
protected:
    // $TERMINAL is split like a command line, with double quotes.
    // A terminal stand-in that leaves a file named after itself and its
    // first argument.
    std::string Terminal(const std::string& name)
    {
        const std::string path = dir / name;
        WriteFile(path, "#!/bin/sh\n/usr/bin/touch \"" + dir.Path() + "/ran-" + name + "-$1\"\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    }
    bool Ran(const std::string& marker)
    {
        for (int i = 0; i < 100 && !std::filesystem::exists(dir / marker); ++i)
            QThread::msleep(50);
        return std::filesystem::exists(dir / marker);
    }

    TempDir dir;
    platform::LinuxDesktop desktop;
};

TEST_F(DesktopTerminalTest, TheUsersTerminalWithItsArgumentsComesFirst)
{
    EnvironmentValue terminal("TERMINAL", '"' + Terminal("my term") + "\" --tab");
    EnvironmentValue path("PATH", dir.Path());
    Terminal("x-terminal-emulator");
    desktop.RunDosShell();
    EXPECT_TRUE(Ran("ran-my term---tab"));
    EXPECT_FALSE(std::filesystem::exists(dir / "ran-x-terminal-emulator-"));
}

TEST_F(DesktopTerminalTest, AMissingTerminalFallsBackToTheSystemsChoice)
{
    EnvironmentValue terminal("TERMINAL", dir / "gone");
    EnvironmentValue path("PATH", dir.Path());
    Terminal("xterm");
    desktop.RunDosShell();
    EXPECT_TRUE(Ran("ran-xterm-"));
}

} // namespace
} // namespace tarvok::test
