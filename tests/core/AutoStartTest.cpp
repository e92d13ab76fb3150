#include "ScopedEnv.h"
#include "TempDir.h"
#include "core/AutoStart.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

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
    AddAutoStartRegistry("/opt/My Apps/Tarvok");
    EXPECT_EQ(ReadFile(Entry()), "[Desktop Entry]\n"
                                 "Type=Application\n"
                                 "Name=Tarvok\n"
                                 "Exec=\"/opt/My Apps/Tarvok\"\n");
}

TEST_F(AutoStartTest, WritingAgainReplacesTheEntryAndRemovalTakesExactlyIt)
{
    WriteFile(config / "autostart-other", "x");
    AddAutoStartRegistry("/old/Tarvok");
    AddAutoStartRegistry("/usr/bin/Tarvok");
    EXPECT_NE(ReadFile(Entry()).find("Exec=/usr/bin/Tarvok\n"), std::string::npos);
    AddAutoStartRegistry("/usr/bin/Other");

    RemoveAutoStart("/usr/bin/Tarvok");
    EXPECT_FALSE(std::filesystem::exists(Entry()));
    EXPECT_TRUE(std::filesystem::exists(config / "autostart/Other.desktop"));
    EXPECT_NO_THROW(RemoveAutoStart("/usr/bin/Tarvok"));
}

TEST_F(AutoStartTest, ARelativeConfigHomeIsIgnored)
{
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(AutoStartEntryPath("/x/Tarvok"), "/home/someone/.config/autostart/Tarvok.desktop");
    ::setenv("HOME", home.c_str(), 1);
}

TEST(DesktopEntryExecTest, ReservedCharactersAreQuotedAndEscaped)
{
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
        EXPECT_EQ(DesktopEntryExec(path), exec) << path;
}

TEST_F(AutoStartTest, AnUnwritableAutostartFolderGivesTheErrorText)
{
    if (RunningAsRoot())
        GTEST_SKIP() << "root writes anywhere";
    std::filesystem::create_directories(config / "autostart");
    std::filesystem::permissions(config / "autostart", std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec);
    try {
        AddAutoStartRegistry("/usr/bin/Tarvok");
        FAIL() << "no error";
    } catch (const ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Tarvok'");
    }
    EXPECT_FALSE(std::filesystem::exists(Entry()));
}

TEST_F(AutoStartTest, AnAutostartPathThatIsAFileGivesTheErrorText)
{
    WriteFile(config / "autostart", "not a folder");
    try {
        AddAutoStartRegistry("/usr/bin/Tarvok");
        FAIL() << "no error";
    } catch (const ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Tarvok'");
    }
}

TEST(WinIniTest, EachUseAppendsThePathAfterASemicolon)
{
    TempDir windows;
    WriteFile(windows / "win.ini", "; comment\r\n[Windows]\r\nload=x\r\n\r\n[fonts]\r\nA=1\r\n");
    AddAutoStartWinIni(windows.Path(), "a");
    AddAutoStartWinIni(windows.Path(), "b");
    EXPECT_EQ(ReadFile(windows / "win.ini"),
              "; comment\r\n[Windows]\r\nload=x\r\nrun=a;b\r\n\r\n[fonts]\r\nA=1\r\n");
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
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + missing + "/win.ini");
    }
}

} // namespace
} // namespace tarvok::test
