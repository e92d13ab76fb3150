#include "core/AutoStart.h"
#include "ScopedEnv.h"
#include "TempDir.h"
#include "core/ProfileText.h"
#include "platform/AppDir.h"
#ifndef _WIN32
#include "platform/AutoStartEntry_linux.h"
#endif

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>
#ifndef _WIN32
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tarvok::test {
namespace {

// Points XDG_CONFIG_HOME at a fresh folder for one test.
class AutoStartTest : public ::testing::Test {
protected:
    std::string Entry() const { return config / "autostart/Tarvok.desktop"; }

    TempDir config;
    ScopedEnv configHome{"XDG_CONFIG_HOME", config.Path().c_str()};
};

TEST_F(AutoStartTest, TheEntryStartsTheExecutableByItsQuotedFullPath)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: the desktop entry file; Windows enters the Run key "
                    "(WindowsSystemTest.TheRunKeyStartsTheProgramAtLogonUntilTurnedOff)";
#else
    AddAutoStartRegistry("/opt/My Apps/Tarvok");
    EXPECT_EQ(ReadFile(Entry()), "[Desktop Entry]\n"
                                 "Type=Application\n"
                                 "Name=Tarvok\n"
                                 "Exec=\"/opt/My Apps/Tarvok\" --at-logon\n");
#endif
}

TEST_F(AutoStartTest, WritingAgainReplacesTheEntryAndRemovalTakesExactlyIt)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: the desktop entry file; Windows enters the Run key "
                    "(WindowsSystemTest.TheRunKeyStartsTheProgramAtLogonUntilTurnedOff)";
#else
    WriteFile(config / "autostart-other", "x");
    AddAutoStartRegistry("/old/Tarvok");
    AddAutoStartRegistry("/usr/bin/Tarvok");
    EXPECT_NE(ReadFile(Entry()).find("Exec=/usr/bin/Tarvok --at-logon\n"), std::string::npos);
    AddAutoStartRegistry("/usr/bin/Other");

    RemoveAutoStart("/usr/bin/Tarvok");
    EXPECT_FALSE(std::filesystem::exists(Entry()));
    EXPECT_TRUE(std::filesystem::exists(config / "autostart/Other.desktop"));
    EXPECT_NO_THROW(RemoveAutoStart("/usr/bin/Tarvok"));
#endif
}

// The entry lies in the config folder the program's own files use, whichever
// of the variables are set.
TEST(AutoStartEntryPathTest, FollowsTheConfigFolderOfTheProgramsFiles)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: XDG_CONFIG_HOME and the password file's home; Windows uses %APPDATA% "
                    "(WindowsSystemTest.AnInstalledCopyKeepsItsFilesInTheRoamingFolder)";
#else
    const passwd* user = ::getpwuid(::geteuid());
    ASSERT_NE(user, nullptr);
    const std::string passwordHome = user->pw_dir;
    struct Case {
        const char* xdg;
        const char* home;
        std::string expected;
    };
    const Case cases[] = {
        {"/x/cfg", "/home/someone", "/x/cfg/autostart/Tarvok.desktop"},
        {"relative/config", "/home/someone", "/home/someone/.config/autostart/Tarvok.desktop"},
        {nullptr, "/home/someone", "/home/someone/.config/autostart/Tarvok.desktop"},
        {nullptr, nullptr, passwordHome + "/.config/autostart/Tarvok.desktop"},
    };
    for (const Case& c : cases) {
        const ScopedEnv xdg{"XDG_CONFIG_HOME", c.xdg};
        const ScopedEnv home{"HOME", c.home};
        EXPECT_EQ(platform::AutoStartEntryPath("/x/Tarvok"), c.expected) << (c.home ? c.home : "HOME unset");
        EXPECT_EQ(platform::ConfigHome() + "/Tarvok",
                  platform::UserConfigAppDir({"/bin", {}, c.xdg ? c.xdg : "", c.home ? c.home : ""}));
    }
#endif
}

TEST(DesktopEntryExecTest, ReservedCharactersAreQuotedAndEscaped)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: the Exec line of a desktop entry";
#else
    const std::pair<std::string, std::string> cases[] = {
        {"/usr/bin/Tarvok", "/usr/bin/Tarvok"},
        {"/opt/a b/Tarvok", "\"/opt/a b/Tarvok\""},
        {"/opt/100%/Tarvok", "/opt/100%%/Tarvok"},
        // Escaped for the quoted argument, then each backslash for the value.
        {"/opt/$HOME \"x\"/T", "\"/opt/\\\\$HOME \\\\\"x\\\\\"/T\""},
        {"/opt/a\\b/T", "\"/opt/a\\\\\\\\b/T\""},
        {"/opt/it's/T", "\"/opt/it's/T\""},
    };
    for (const auto& [path, exec] : cases)
        EXPECT_EQ(platform::DesktopEntryExec(path), exec) << path;
#endif
}

TEST_F(AutoStartTest, AnUnwritableAutostartFolderGivesTheErrorText)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: the desktop entry file; Windows enters the Run key "
                    "(WindowsSystemTest.TheRunKeyStartsTheProgramAtLogonUntilTurnedOff)";
#else
    if (RunningAsRoot())
        GTEST_SKIP() << "root writes anywhere";
    std::filesystem::create_directories(config / "autostart");
    std::filesystem::permissions(config / "autostart",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    try {
        AddAutoStartRegistry("/usr/bin/Tarvok");
        FAIL() << "no error";
    } catch (const ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Tarvok'");
    }
    EXPECT_FALSE(std::filesystem::exists(Entry()));
#endif
}

TEST_F(AutoStartTest, AnAutostartPathThatIsAFileGivesTheErrorText)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: the desktop entry file; Windows enters the Run key "
                    "(WindowsSystemTest.TheRunKeyStartsTheProgramAtLogonUntilTurnedOff)";
#else
    WriteFile(config / "autostart", "not a folder");
    try {
        AddAutoStartRegistry("/usr/bin/Tarvok");
        FAIL() << "no error";
    } catch (const ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Tarvok'");
    }
#endif
}

TEST(WinIniTest, EachUseAppendsThePathAfterASemicolon)
{
    TempDir windows;
    WriteFile(windows / "win.ini", "; comment\r\n[Windows]\r\nload=x\r\n\r\n[fonts]\r\nA=1\r\n");
    AddAutoStartWinIni(windows.Path(), "a");
    AddAutoStartWinIni(windows.Path(), "b");
    EXPECT_EQ(ReadFile(windows / "win.ini"), "; comment\r\n[Windows]\r\nload=x\r\nrun=a;b\r\n\r\n[fonts]\r\nA=1\r\n");
}

TEST(WinIniTest, AMissingProfileIsCreated)
{
    TempDir windows;
    AddAutoStartWinIni(windows.Path(), "/usr/bin/Tarvok");
    EXPECT_EQ(ReadFile(windows / "win.ini"), "[windows]\r\nrun=/usr/bin/Tarvok\r\n");
}

TEST(WinIniTest, AnUnwritableProfileGivesTheErrorText)
{
    TempDir windows;
    const std::string missing = windows / "no such folder";
    try {
        AddAutoStartWinIni(missing, "a");
        FAIL() << "no error";
    } catch (const EIniFileException& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + windows / "no such folder/win.ini");
    }
}

// An upgrade replaces the program's file while it runs, or a user moves it:
// the entry still names the path it was started from, and turning it off
// removes that same entry.
TEST(AutoStartRunningTest, TheEntryKeepsThePathStartedFromWhenTheFileIsReplacedOrMoved)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: a running program's file can be replaced or moved there, not on Windows";
#else
    for (const char* change : {"replace", "move"}) {
        TempDir bin;
        TempDir config;
        const std::string exe = bin / "tarvok";
        std::filesystem::copy_file(TARVOK_EXECUTABLE_PROBE, exe);
        int toChild[2];
        int fromChild[2];
        ASSERT_EQ(::pipe(toChild), 0);
        ASSERT_EQ(::pipe(fromChild), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(toChild[0], 0);
            ::dup2(fromChild[1], 1);
            ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
            ::execl(exe.c_str(), exe.c_str(), change, (bin / "moved").c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(toChild[0]);
        ::close(fromChild[1]);
        char said[16] = {};
        // Ends at the probe's line or at its end, whichever comes first.
        const bool entered = ::read(fromChild[0], said, sizeof said - 1) > 0;
        EXPECT_TRUE(entered) << change;

        const std::string autostart = config / "autostart";
        std::vector<std::string> entries;
        std::error_code missing;
        for (const auto& entry : std::filesystem::directory_iterator(autostart, missing))
            entries.push_back(entry.path().filename());
        EXPECT_EQ(entries, std::vector<std::string>{"tarvok.desktop"}) << change;
        EXPECT_EQ(ReadFile(autostart + "/tarvok.desktop"), platform::AutoStartEntryText(exe)) << change;

        if (entered) {
            EXPECT_EQ(::write(toChild[1], "\n", 1), 1);
        }
        ::close(toChild[1]);
        ::close(fromChild[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << change;
        EXPECT_TRUE(std::filesystem::is_empty(autostart, missing)) << change << ": turning it off left the entry";
    }
#endif
}

// A line break in an executable's path would write lines of its own choosing.
TEST(WinIniTest, LineBreaksAreRefusedAndNothingIsWritten)
{
    TempDir windows;
    const std::string before = "[windows]\r\nrun=a\r\n";
    WriteFile(windows / "win.ini", before);
    for (const char* path : {"/tmp/x\r\n[boot]\r\nshell=/tmp/evil", "/tmp/x\nshell=y", "/tmp/x\r"}) {
        EXPECT_THROW(AddAutoStartWinIni(windows.Path(), path), EIniFileException) << path;
        EXPECT_EQ(ReadFile(windows / "win.ini"), before) << path;
    }
    for (const auto& [section, key] : {std::pair{"win\ndows", "run"}, std::pair{"windows", "r\run"}})
        EXPECT_THROW(WriteProfileString(before, section, key, "v"), std::invalid_argument) << section << key;
}

} // namespace
} // namespace tarvok::test
