#include "platform/qt/DesktopBackground.h"

#include <gtest/gtest.h>

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
    FakeRunner runner;
};

TEST_F(DesktopBackgroundTest, GnomeGetsTheFileUriAndTheFirstValuesComeBackOnRestore)
{
    runner.Answers["gsettings get org.gnome.desktop.background picture-uri"] = {true, "'file:///usr/share/a.png'\n"};
    runner.Answers["gsettings get org.gnome.desktop.background picture-uri-dark"] = {true, "'file:///d.png'\n"};
    platform::DesktopBackground background(runner, "ubuntu:GNOME");

    background.Set("/home/u/My Skins/TarvokSkin2.bmp");
    EXPECT_EQ(runner.Taken(),
              (std::vector<std::string>{
                  "gsettings get org.gnome.desktop.background picture-uri",
                  "gsettings set org.gnome.desktop.background picture-uri 'file:///home/u/My%20Skins/TarvokSkin2.bmp'",
                  "gsettings get org.gnome.desktop.background picture-uri-dark",
                  "gsettings set org.gnome.desktop.background picture-uri-dark "
                  "'file:///home/u/My%20Skins/TarvokSkin2.bmp'"}));

    // A second Set keeps the values from before the first.
    background.Set("/s/TarvokSkin3.bmp");
    EXPECT_EQ(runner.Taken(),
              (std::vector<std::string>{
                  "gsettings set org.gnome.desktop.background picture-uri 'file:///s/TarvokSkin3.bmp'",
                  "gsettings set org.gnome.desktop.background picture-uri-dark 'file:///s/TarvokSkin3.bmp'"}));

    background.Restore();
    EXPECT_EQ(runner.Taken(),
              (std::vector<std::string>{
                  "gsettings set org.gnome.desktop.background picture-uri 'file:///usr/share/a.png'",
                  "gsettings set org.gnome.desktop.background picture-uri-dark 'file:///d.png'"}));
    background.Restore();
    EXPECT_TRUE(runner.Taken().empty());
}

TEST_F(DesktopBackgroundTest, AKeyTheDesktopDoesNotHaveIsLeftAlone)
{
    runner.Answers["gsettings get org.gnome.desktop.background picture-uri"] = {true, "''\n"};
    runner.Answers["gsettings get org.gnome.desktop.background picture-uri-dark"] = {false, ""};
    platform::DesktopBackground background(runner, "Budgie:GNOME");
    background.Set("/s/a.bmp");
    background.Restore();
    EXPECT_EQ(runner.Taken(), (std::vector<std::string>{
                                  "gsettings get org.gnome.desktop.background picture-uri",
                                  "gsettings set org.gnome.desktop.background picture-uri 'file:///s/a.bmp'",
                                  "gsettings get org.gnome.desktop.background picture-uri-dark",
                                  "gsettings set org.gnome.desktop.background picture-uri ''"}));
}

TEST_F(DesktopBackgroundTest, MateTakesAQuotedPath)
{
    runner.Answers["gsettings get org.mate.background picture-filename"] = {true, "'/old.jpg'\n"};
    platform::DesktopBackground background(runner, "MATE");
    background.Set("/s/it's\\here.bmp");
    background.Restore();
    EXPECT_EQ(runner.Taken(), (std::vector<std::string>{
                                  "gsettings get org.mate.background picture-filename",
                                  "gsettings set org.mate.background picture-filename '/s/it\\'s\\\\here.bmp'",
                                  "gsettings set org.mate.background picture-filename '/old.jpg'"}));
}

TEST_F(DesktopBackgroundTest, XfceSetsEveryMonitorsImageAndRestoresEach)
{
    const std::string a = "/backdrop/screen0/monitorVGA-1/workspace0/last-image";
    const std::string b = "/backdrop/screen0/monitor0/workspace0/last-image";
    runner.Answers["xfconf-query -c xfce4-desktop -l"] = {
        true, a + "\n/backdrop/screen0/monitorVGA-1/workspace0/image-style\n" + b + "\n"};
    runner.Answers["xfconf-query -c xfce4-desktop -p " + a] = {true, "/usr/share/backgrounds/one.png\n"};
    runner.Answers["xfconf-query -c xfce4-desktop -p " + b] = {true, "/usr/share/backgrounds/two.png\n"};
    platform::DesktopBackground background(runner, "XFCE");

    background.Set("/s/My Skin.bmp");
    background.Restore();
    EXPECT_EQ(runner.Taken(), (std::vector<std::string>{
                                  "xfconf-query -c xfce4-desktop -l",
                                  "xfconf-query -c xfce4-desktop -p " + a,
                                  "xfconf-query -c xfce4-desktop -p " + a + " -s /s/My Skin.bmp",
                                  "xfconf-query -c xfce4-desktop -p " + b,
                                  "xfconf-query -c xfce4-desktop -p " + b + " -s /s/My Skin.bmp",
                                  "xfconf-query -c xfce4-desktop -p " + a + " -s /usr/share/backgrounds/one.png",
                                  "xfconf-query -c xfce4-desktop -p " + b + " -s /usr/share/backgrounds/two.png"}));
}

TEST_F(DesktopBackgroundTest, OtherDesktopsAndAClearBeforeAnySetRunNothing)
{
    for (const char* desktop : {"", "KDE", "i3", "LXQt"}) {
        platform::DesktopBackground background(runner, desktop);
        background.Set("/s/a.bmp");
        background.Restore();
        EXPECT_TRUE(runner.Taken().empty()) << desktop;
    }
    platform::DesktopBackground gnome(runner, "GNOME");
    gnome.Restore();
    EXPECT_TRUE(runner.Taken().empty());
}

} // namespace
} // namespace tarvok::test
