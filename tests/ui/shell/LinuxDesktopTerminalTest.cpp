#include "ScopedEnv.h"
#include "TempDir.h"
#include "platform/qt/Desktop_linux.h"

#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace tarvok::test {
namespace {

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
    platform::LinuxDesktop desktop{dir / "Tarvok.wallpaper", dir / "logon.desktop"};
};

TEST_F(DesktopTerminalTest, TheUsersTerminalWithItsArgumentsComesFirst)
{
    ScopedEnv terminal("TERMINAL", ('"' + Terminal("my term") + "\" --tab").c_str());
    ScopedEnv path("PATH", dir.Path().c_str());
    Terminal("x-terminal-emulator");
    desktop.RunDosShell();
    EXPECT_TRUE(Ran("ran-my term---tab"));
    EXPECT_FALSE(std::filesystem::exists(dir / "ran-x-terminal-emulator-"));
}

TEST_F(DesktopTerminalTest, AMissingTerminalFallsBackToTheSystemsChoice)
{
    ScopedEnv terminal("TERMINAL", (dir / "gone").c_str());
    ScopedEnv path("PATH", dir.Path().c_str());
    Terminal("xterm");
    desktop.RunDosShell();
    EXPECT_TRUE(Ran("ran-xterm-"));
}

} // namespace
} // namespace tarvok::test
