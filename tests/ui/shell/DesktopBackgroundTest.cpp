#include "TempDir.h"
#include "platform/qt/DesktopBackground_linux.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace tarvok::test {
namespace {

using platform::CommandResult;

// Records each command as one line; answers from a table, else success with
// no output.
class FakeRunner : public platform::CommandRunner {
public:
    CommandResult Run(const std::string& program, const std::vector<std::string>& arguments) override
    {
        std::string line = program;
        for (const std::string& argument : arguments)
            line += " " + argument;
        Lines.push_back(line);
        const auto answer = Answers.find(line);
        return answer == Answers.end() ? CommandResult{true, ""} : answer->second;
    }
    std::vector<std::string> Taken()
    {
        std::vector<std::string> lines;
        lines.swap(Lines);
        return lines;
    }

    std::map<std::string, CommandResult> Answers;
    std::vector<std::string> Lines;
};


class DesktopBackgroundTest : public ::testing::Test {
protected:
    platform::DesktopBackground Background(const char* desktop)
    {
        return platform::DesktopBackground(runner, desktop, keep, entry);
    }

    FakeRunner runner;
    TempDir dir;
    const std::string keep = dir / "Tarvok.wallpaper";
    const std::string entry = dir / "autostart/Tarvok-wallpaper.desktop";
};

const std::string Gnome = "org.gnome.desktop.background";

TEST_F(DesktopBackgroundTest, GnomeGetsTheFileUriAndTheFirstValuesComeBackOnRestore)
{
    runner.Answers["gsettings get " + Gnome + " picture-uri"] = {true, "'file:///usr/share/a.png'\n"};
    runner.Answers["dconf read /org/gnome/desktop/background/picture-uri"] = {true, "'file:///usr/share/a.png'\n"};
    // The dark picture was never set: dconf reads nothing for it.
    runner.Answers["gsettings get " + Gnome + " picture-uri-dark"] = {true, "'file:///d.png'\n"};
    platform::DesktopBackground background = Background("ubuntu:GNOME");

    background.Set("/home/u/My Skins/TarvokSkin2.bmp");
    EXPECT_EQ(runner.Taken(),
              (std::vector<std::string>{
                  "gsettings get " + Gnome + " picture-uri",
                  "dconf read /org/gnome/desktop/background/picture-uri",
                  "gsettings get " + Gnome + " picture-uri-dark",
                  "dconf read /org/gnome/desktop/background/picture-uri-dark",
                  "gsettings set " + Gnome + " picture-uri 'file:///home/u/My%20Skins/TarvokSkin2.bmp'",
                  "gsettings set " + Gnome + " picture-uri-dark 'file:///home/u/My%20Skins/TarvokSkin2.bmp'"}));
    EXPECT_TRUE(std::filesystem::exists(keep));

    // A second Set keeps the values from before the first.
    background.Set("/s/TarvokSkin3.bmp");
    EXPECT_EQ(runner.Taken(), (std::vector<std::string>{
                                  "gsettings set " + Gnome + " picture-uri 'file:///s/TarvokSkin3.bmp'",
                                  "gsettings set " + Gnome + " picture-uri-dark 'file:///s/TarvokSkin3.bmp'"}));

    const std::vector<std::string> restore = {"gsettings set " + Gnome + " picture-uri 'file:///usr/share/a.png'",
                                              "gsettings reset " + Gnome + " picture-uri-dark"};
    // A run killed now: the next one restores from the keep file, once.
    FakeRunner next;
    platform::DesktopBackground(next, "GNOME", keep, entry).Restore();
    EXPECT_EQ(next.Taken(), restore);
    EXPECT_FALSE(std::filesystem::exists(keep));
    platform::DesktopBackground(next, "GNOME", keep, entry).Restore();
    EXPECT_TRUE(next.Taken().empty());

    background.Restore();
    EXPECT_EQ(runner.Taken(), restore);
    background.Restore();
    EXPECT_TRUE(runner.Taken().empty());
}

TEST_F(DesktopBackgroundTest, AKeyTheDesktopDoesNotHaveIsLeftAlone)
{
    runner.Answers["gsettings get " + Gnome + " picture-uri"] = {true, "''\n"};
    runner.Answers["dconf read /org/gnome/desktop/background/picture-uri"] = {true, "''\n"};
    runner.Answers["gsettings get " + Gnome + " picture-uri-dark"] = {false, ""};
    platform::DesktopBackground background = Background("Budgie:GNOME");
    background.Set("/s/a.bmp");
    background.Restore();
    EXPECT_EQ(runner.Taken(), (std::vector<std::string>{
                                  "gsettings get " + Gnome + " picture-uri",
                                  "dconf read /org/gnome/desktop/background/picture-uri",
                                  "gsettings get " + Gnome + " picture-uri-dark",
                                  "gsettings set " + Gnome + " picture-uri 'file:///s/a.bmp'",
                                  "gsettings set " + Gnome + " picture-uri ''"}));
}

TEST_F(DesktopBackgroundTest, MateTakesAQuotedPathAndAnOddOldValueSurvivesTheKeepFile)
{
    // Without dconf the old value counts as the user's own.
    runner.Answers["dconf read /org/mate/desktop/background/picture-filename"] = {false, ""};
    runner.Answers["gsettings get org.mate.background picture-filename"] = {true, "'/old\\dir\tx\\n.jpg'\n"};
    Background("MATE").Set("/s/it's\\here.bmp");
    Background("MATE").Restore();
    EXPECT_EQ(runner.Taken(), (std::vector<std::string>{
                                  "gsettings get org.mate.background picture-filename",
                                  "dconf read /org/mate/desktop/background/picture-filename",
                                  "gsettings set org.mate.background picture-filename '/s/it\\'s\\\\here.bmp'",
                                  "gsettings set org.mate.background picture-filename '/old\\dir\tx\\n.jpg'"}));
}

// After a normal exit the picture stays for the logon; the next logon runs
// the entry's command once, which restores what Restore would, odd
// characters and all, and removes itself.
TEST_F(DesktopBackgroundTest, TheNextLogonRestoresOnceWithoutTheProgram)
{
    runner.Answers["dconf read /org/mate/desktop/background/picture-filename"] = {false, ""};
    runner.Answers["gsettings get org.mate.background picture-filename"] = {true, "'/old\\dir\tit's $HOME.jpg'\n"};
    Background("MATE").Set("/s/a.bmp");
    ASSERT_TRUE(std::filesystem::exists(entry));
    const std::string text = ReadFile(entry);
    const size_t exec = text.find("\nExec=");
    ASSERT_NE(exec, std::string::npos);
    const std::string command = text.substr(exec + 6, text.find('\n', exec + 1) - exec - 6);

    // A gsettings that writes each argument on a line of its own.
    const std::string bin = dir / "bin";
    std::filesystem::create_directory(bin);
    WriteFile(bin + "/gsettings", "#!/bin/sh\nfor a; do printf '%s\\n' \"$a\"; done >>\"$LOG\"\n");
    std::filesystem::permissions(bin + "/gsettings", std::filesystem::perms::owner_all);
    const std::string log = dir / "log";
    ASSERT_EQ(std::system(("PATH=" + bin + ":$PATH LOG=" + log + " " + command).c_str()), 0) << command;
    EXPECT_EQ(ReadFile(log), "set\norg.mate.background\npicture-filename\n'/old\\dir\tit's $HOME.jpg'\n");
    for (const std::string& gone : {entry, keep, keep + ".sh"})
        EXPECT_FALSE(std::filesystem::exists(gone)) << gone;

    Background("MATE").Set("/s/a.bmp");
    Background("MATE").Restore();
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_FALSE(std::filesystem::exists(keep + ".sh"));
}

TEST_F(DesktopBackgroundTest, XfceSetsEveryMonitorsImageAndRestoresEach)
{
    const std::string a = "/backdrop/screen0/monitorVGA-1/workspace0/last-image";
    const std::string b = "/backdrop/screen0/monitor0/workspace0/last-image";
    runner.Answers["xfconf-query -c xfce4-desktop -l"] = {
        true, a + "\n/backdrop/screen0/monitorVGA-1/workspace0/image-style\n" + b + "\n"};
    runner.Answers["xfconf-query -c xfce4-desktop -p " + a] = {true, "/usr/share/backgrounds/one.png\n"};
    runner.Answers["xfconf-query -c xfce4-desktop -p " + b] = {true, "/usr/share/backgrounds/two.png\n"};
    platform::DesktopBackground background = Background("XFCE");

    background.Set("/s/My Skin.bmp");
    background.Restore();
    EXPECT_EQ(runner.Taken(), (std::vector<std::string>{
                                  "xfconf-query -c xfce4-desktop -l",
                                  "xfconf-query -c xfce4-desktop -p " + a,
                                  "xfconf-query -c xfce4-desktop -p " + b,
                                  "xfconf-query -c xfce4-desktop -p " + a + " -s /s/My Skin.bmp",
                                  "xfconf-query -c xfce4-desktop -p " + b + " -s /s/My Skin.bmp",
                                  "xfconf-query -c xfce4-desktop -p " + a + " -s /usr/share/backgrounds/one.png",
                                  "xfconf-query -c xfce4-desktop -p " + b + " -s /usr/share/backgrounds/two.png"}));
}

TEST_F(DesktopBackgroundTest, OtherDesktopsAndAClearBeforeAnySetRunNothing)
{
    for (const char* desktop : {"", "KDE", "i3", "LXQt"}) {
        platform::DesktopBackground background = Background(desktop);
        background.Set("/s/a.bmp");
        background.Restore();
        EXPECT_TRUE(runner.Taken().empty()) << desktop;
    }
    Background("GNOME").Restore();
    EXPECT_TRUE(runner.Taken().empty());
    // A keep file naming any other program is not run.
    WriteFile(keep, "sh\t-c\tx\tvalue\ttouch /tmp/x\n");
    Background("GNOME").Restore();
    EXPECT_TRUE(runner.Taken().empty());
    EXPECT_FALSE(std::filesystem::exists(keep));
}

} // namespace
} // namespace tarvok::test
