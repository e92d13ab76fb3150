#include "FakeDesktop.h"
#include "MainTestWorld.h"
#include "ScopedEnv.h"
#include "platform/AutoStartEntry.h"
#include "platform/FileSystem.h"
#ifndef _WIN32
#include "platform/AutoStartEntry_linux.h"
#endif

#include <QAction>
#include <QDir>
#include <QSettings>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace tarvok::test {
namespace {

class MainDesktopToolsTest : public ::testing::Test {
protected:
    MainDesktopToolsTest()
    {
        world.Create();
        // A run that ended without the session's end left our wallpaper in place.
        EXPECT_EQ(world.Desktop.Calls, std::vector<std::string>{"restore wallpaper setting"});
        world.Desktop.Calls.clear();
        std::filesystem::create_directories(world.App / "Skin");
        world.Dialogs.Log.clear();
    }
    ui::TMainForm& Form() { return *world.Form; }
    std::string Skin(int no) const { return world.App / ("Skin/TarvokSkin" + std::to_string(no) + ".bmp"); }

    MainWorld world;
    FakeDesktop& desktop = world.Desktop;
};

TEST(MainDesktopTools, WallpaperCommandsActOnlyWhileTheSkinFileExists)
{
    struct Case {
        int32_t SkinNo;
        bool Shows; // what the desktop answers
        std::vector<std::string> Calls;
        std::vector<std::string> Messages;
    };
    const Case cases[] = {
        {2, true, {"wallpaper ", "clear wallpaper"}, {}},
        {2, false, {"wallpaper ", "clear wallpaper"}, {"This desktop does not show the wallpaper"}},
        {-1, false, {}, {}}, // no skin file chosen
        {3, false, {}, {}},  // a number whose file is gone
    };
    for (const Case& c : cases) {
        MainWorld world;
        const std::string skin = world.App / "Skin/TarvokSkin2.bmp";
        std::filesystem::create_directories(world.App / "Skin");
        WriteFile(skin, "BM");
        world.WriteSettings({0, c.SkinNo, 1}, {world.MakeProject("Alpha", {})});
        const std::string settings = world.SettingsText();
        world.Create();
        world.Desktop.Calls.clear();
        world.Desktop.WallpaperShows = c.Shows;
        world.Form->Controls().SetcurrentSkinasWallPaper1->trigger();
        world.Form->Controls().ClearWallPaper1->trigger();
        std::vector<std::string> expected = c.Calls;
        if (!expected.empty())
            expected.front() += skin;
        EXPECT_EQ(world.Desktop.Calls, expected) << c.SkinNo;
        EXPECT_EQ(world.Dialogs.TextsOf("message"), c.Messages) << c.SkinNo;
        EXPECT_EQ(world.Dialogs.Log.size(), c.Messages.size());
        EXPECT_EQ(world.SettingsText(), settings);
    }
}

TEST_F(MainDesktopToolsTest, HideIEHidesTheFirstWindowWithTheTitleOrSaysNoneWasFound)
{
    Form().HideIE1Click();
    EXPECT_EQ(world.Dialogs.TextsOf("message"), std::vector<std::string>{"Window Not Found!"});

    desktop.Windows = {{10, "Welcome To HiNet - Microsoft Internet Explorer", "IEFrame"},
                       {11, "Welcome To HiNet - MicroSsoft Internet Explorer - offline", "IEFrame"},
                       {12, "Welcome To HiNet - MicroSsoft Internet Explorer", "IEFrame"}};
    Form().HideIE1Click();
    EXPECT_EQ(desktop.Calls, std::vector<std::string>{"hide 11"});
    EXPECT_EQ(world.Dialogs.Log.size(), 1u);
    EXPECT_FALSE(Form().Controls().HideIE1->isEnabled());
}

TEST_F(MainDesktopToolsTest, ScreenSaverOnSaysSoOnlyWhenItCannotStart)
{
    Form().Controls().ScreenSaverOn1->trigger();
    EXPECT_TRUE(world.Dialogs.Log.empty());
    desktop.SaverStarts = false;
    Form().Controls().ScreenSaverOn1->trigger();
    EXPECT_EQ(world.Dialogs.TextsOf("message"), std::vector<std::string>{"Can not turn on Screen Saver"});
    EXPECT_EQ(desktop.Calls, (std::vector<std::string>{"screen saver", "screen saver"}));
}

TEST_F(MainDesktopToolsTest, DosModeOpensATerminal)
{
    Form().Controls().DosMode1->trigger();
    EXPECT_EQ(desktop.Calls, std::vector<std::string>{"terminal"});
}

// The running executable's logon entry, none when there is none.
#ifdef _WIN32
// A value of a Run key, the machine's for an administrator, else the user's.
std::optional<std::string> AutoStartEntry(const std::string& exe)
{
    for (const char* hive : {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"}) {
        const QSettings run(QString(hive) + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                            QSettings::NativeFormat);
        const QVariant value = run.value(QString::fromStdString(FileNamePart(exe)));
        if (value.isValid())
            return value.toString().toStdString();
    }
    return std::nullopt;
}

std::string ExpectedAutoStartEntry(const std::string& exe)
{
    return '"' + QDir::toNativeSeparators(QString::fromStdString(exe)).toStdString() + "\" " +
           platform::AtLogonArgument;
}
#else
// A desktop entry in the autostart folder of the user's config folder.
std::optional<std::string> AutoStartEntry(const std::string& exe)
{
    const std::string entry =
        std::string(std::getenv("XDG_CONFIG_HOME")) + "/autostart/" + FileNamePart(exe) + ".desktop";
    if (!std::filesystem::exists(entry))
        return std::nullopt;
    return ReadFile(entry);
}

std::string ExpectedAutoStartEntry(const std::string& exe) { return platform::AutoStartEntryText(exe); }
#endif

TEST_F(MainDesktopToolsTest, AutoStartEntersAndTakesOutTheRunningExecutable)
{
    TempDir config;
    ScopedEnv configHome("XDG_CONFIG_HOME", config.Path().c_str());

    const std::string exe = platform::ExecutablePath();
    Form().RunTarvokonWindowsStartUp1Click();
    EXPECT_EQ(AutoStartEntry(exe), ExpectedAutoStartEntry(exe));
    Form().DisableAutoStarUp1Click();
    EXPECT_EQ(AutoStartEntry(exe), std::nullopt);
    Form().DisableAutoStarUp1Click();
    EXPECT_TRUE(world.Dialogs.Log.empty());
}

} // namespace
} // namespace tarvok::test
