#include "ScopedEnv.h"
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
// no output. A value set shows in the table's answer to its get, as the
// desktop would show it.
class FakeRunner : public platform::CommandRunner {
public:
    CommandResult Run(const std::string& program, const std::vector<std::string>& arguments) override
    {
        std::string line = program;
        for (const std::string& argument : arguments)
            line += " " + argument;
        Lines.push_back(line);
        const auto answer = Answers.find(line);
        const CommandResult result = answer == Answers.end() ? CommandResult{true, ""} : answer->second;
        const size_t n = arguments.size();
        if (result.Succeeded && program == "gsettings" && n == 4 && arguments[0] == "set")
            Answers["gsettings get " + arguments[1] + " " + arguments[2]] = {true, arguments[3] + "\n"};
        if (result.Succeeded && program == "xfconf-query" && n == 6 && arguments[4] == "-s")
            Answers["xfconf-query -c " + arguments[1] + " -p " + arguments[3]] = {true, arguments[5] + "\n"};
        return result;
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
    EXPECT_EQ(
        runner.Taken(),
        (std::vector<std::string>{
            "gsettings get " + Gnome + " picture-uri", "dconf read /org/gnome/desktop/background/picture-uri",
            "gsettings get " + Gnome + " picture-uri-dark", "dconf read /org/gnome/desktop/background/picture-uri-dark",
            "gsettings set " + Gnome + " picture-uri 'file:///home/u/My%20Skins/TarvokSkin2.bmp'",
            "gsettings set " + Gnome + " picture-uri-dark 'file:///home/u/My%20Skins/TarvokSkin2.bmp'"}));
    EXPECT_TRUE(std::filesystem::exists(keep));

    // A second Set keeps the values from before the first.
    background.Set("/s/TarvokSkin3.bmp");
    EXPECT_EQ(runner.Taken(),
              (std::vector<std::string>{"gsettings set " + Gnome + " picture-uri 'file:///s/TarvokSkin3.bmp'",
                                        "gsettings set " + Gnome + " picture-uri-dark 'file:///s/TarvokSkin3.bmp'"}));

    const std::vector<std::string> restore = {
        "gsettings get " + Gnome + " picture-uri", "gsettings set " + Gnome + " picture-uri 'file:///usr/share/a.png'",
        "gsettings get " + Gnome + " picture-uri-dark", "gsettings reset " + Gnome + " picture-uri-dark"};
    // A run killed now: the next one restores from the keep file, once.
    FakeRunner next;
    next.Answers = runner.Answers;
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
    background.Set("/s/TarvokSkin1.bmp");
    background.Restore();
    EXPECT_EQ(runner.Taken(),
              (std::vector<std::string>{
                  "gsettings get " + Gnome + " picture-uri", "dconf read /org/gnome/desktop/background/picture-uri",
                  "gsettings get " + Gnome + " picture-uri-dark",
                  "gsettings set " + Gnome + " picture-uri 'file:///s/TarvokSkin1.bmp'",
                  "gsettings get " + Gnome + " picture-uri", "gsettings set " + Gnome + " picture-uri ''"}));
}

TEST_F(DesktopBackgroundTest, MateTakesAQuotedPathAndAnOddOldValueSurvivesTheKeepFile)
{
    // Without dconf the old value counts as the user's own.
    runner.Answers["dconf read /org/mate/desktop/background/picture-filename"] = {false, ""};
    runner.Answers["gsettings get org.mate.background picture-filename"] = {true, "'/old\\dir\tx\\n.jpg'\n"};
    Background("MATE").Set("/s/it's\\TarvokSkin1.bmp");
    Background("MATE").Restore();
    const std::string get = "gsettings get org.mate.background picture-filename";
    EXPECT_EQ(runner.Taken(), (std::vector<std::string>{
                                  get, "dconf read /org/mate/desktop/background/picture-filename",
                                  "env GSETTINGS_BACKEND=memory " + get,
                                  "gsettings set org.mate.background picture-filename '/s/it\\'s\\\\TarvokSkin1.bmp'",
                                  get, "gsettings set org.mate.background picture-filename '/old\\dir\tx\\n.jpg'"}));
}

// The value kept is the user's own picture: a default (dconf has none, or,
// without dconf, the schema's own value) or our skin left behind comes back
// as a reset; a picture the user chose after ours stays.
TEST_F(DesktopBackgroundTest, OnlyTheUsersOwnPictureComesBackAndOnlyOverOurs)
{
    const std::string get = "gsettings get org.mate.background picture-filename";
    const std::string dconf = "dconf read /org/mate/desktop/background/picture-filename";
    const std::string schema = "env GSETTINGS_BACKEND=memory " + get;
    const std::string reset = "gsettings reset org.mate.background picture-filename";
    const CommandResult noDconf{false, ""};
    const CommandResult usersOwn{true, "'/home/u/b.png'\n"};
    const CommandResult schemaDefault{true, "'${prefix}/share/b.png'\n"};
    const CommandResult skinLeft{true, "'/old/Skin/TarvokSkin2.bmp'\n"};
    const struct {
        const char* why;
        std::map<std::string, CommandResult> answers;
        std::optional<CommandResult> meanwhile; // the user's choice after ours
        std::vector<std::string> restore;
    } rows[] = {
        {"no dconf, the schema's default",
         {{dconf, noDconf}, {get, schemaDefault}, {schema, schemaDefault}},
         {},
         {get, reset}},
        {"no dconf, the user's own",
         {{dconf, noDconf}, {get, usersOwn}, {schema, schemaDefault}},
         {},
         {get, "gsettings set org.mate.background picture-filename '/home/u/b.png'"}},
        {"our skin left behind", {{get, skinLeft}, {dconf, skinLeft}}, {}, {get, reset}},
        {"chosen after ours", {{get, usersOwn}, {dconf, usersOwn}}, CommandResult{true, "'/home/u/c.png'\n"}, {get}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        runner.Answers = row.answers;
        platform::DesktopBackground background = Background("MATE");
        background.Set("/s/TarvokSkin1.bmp");
        if (row.meanwhile)
            runner.Answers[get] = *row.meanwhile;
        runner.Taken();
        background.Restore();
        EXPECT_EQ(runner.Taken(), row.restore);
        EXPECT_FALSE(std::filesystem::exists(keep));
    }
}

// After a normal exit the picture stays for the logon; the next logon runs
// the entry's command once, which restores what Restore would, odd
// characters and all, and removes itself.
TEST_F(DesktopBackgroundTest, TheNextLogonRestoresOnceWithoutTheProgram)
{
    runner.Answers["dconf read /org/mate/desktop/background/picture-filename"] = {false, ""};
    runner.Answers["gsettings get org.mate.background picture-filename"] = {true, "'/old\\dir\tit's $HOME.jpg'\n"};
    // A gsettings that shows `$SHOWN` and writes each argument of a change on a line of its own.
    const std::string bin = dir / "bin";
    std::filesystem::create_directory(bin);
    WriteFile(bin + "/gsettings", "#!/bin/sh\n[ \"$1\" = get ] && { echo \"$SHOWN\"; exit; }\nfor a; do printf '%s\\n' "
                                  "\"$a\"; done >>\"$LOG\"\n");
    std::filesystem::permissions(bin + "/gsettings", std::filesystem::perms::owner_all);
    const std::string log = dir / "log";
    // The user's own picture, chosen after ours, stays.
    for (const char* shown : {"'/s/TarvokSkin1.bmp'", "'/home/u/mine.png'"}) {
        SCOPED_TRACE(shown);
        std::filesystem::remove(log);
        Background("MATE").Set("/s/TarvokSkin1.bmp");
        ASSERT_TRUE(std::filesystem::exists(entry));
        const std::string text = ReadFile(entry);
        const size_t exec = text.find("\nExec=");
        ASSERT_NE(exec, std::string::npos);
        const std::string command = text.substr(exec + 6, text.find('\n', exec + 1) - exec - 6);
        const std::string run = "PATH=" + bin + ":$PATH LOG=" + log + " SHOWN=\"" + shown + "\" " + command;
        ASSERT_EQ(std::system(run.c_str()), 0) << command;
        if (std::string(shown).find("TarvokSkin") != std::string::npos)
            EXPECT_EQ(ReadFile(log), "set\norg.mate.background\npicture-filename\n'/old\\dir\tit's $HOME.jpg'\n");
        else
            EXPECT_FALSE(std::filesystem::exists(log));
        for (const std::string& gone : {entry, keep, keep + ".sh"})
            EXPECT_FALSE(std::filesystem::exists(gone)) << gone;
    }

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

    background.Set("/s/My TarvokSkin1.bmp");
    background.Restore();
    EXPECT_EQ(runner.Taken(), (std::vector<std::string>{
                                  "xfconf-query -c xfce4-desktop -l", "xfconf-query -c xfce4-desktop -p " + a,
                                  "xfconf-query -c xfce4-desktop -p " + b,
                                  "xfconf-query -c xfce4-desktop -p " + a + " -s /s/My TarvokSkin1.bmp",
                                  "xfconf-query -c xfce4-desktop -p " + b + " -s /s/My TarvokSkin1.bmp",
                                  "xfconf-query -c xfce4-desktop -p " + a,
                                  "xfconf-query -c xfce4-desktop -p " + a + " -s /usr/share/backgrounds/one.png",
                                  "xfconf-query -c xfce4-desktop -p " + b,
                                  "xfconf-query -c xfce4-desktop -p " + b + " -s /usr/share/backgrounds/two.png"}));
}

TEST_F(DesktopBackgroundTest, OtherDesktopsAndAClearBeforeAnySetRunNothing)
{
    for (const char* desktop : {"", "i3"}) {
        platform::DesktopBackground background = Background(desktop);
        EXPECT_EQ(background.Set("/s/a.bmp"), std::nullopt);
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

const std::string BusQuery = "dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus "
                             "org.freedesktop.DBus.NameHasOwner string:";

// LXQt's and Plasma's running desktops take the picture by their own
// command; the value in their settings file comes back through the running
// desktop, else into the file, with every other line as it was.
class FileDesktopTest : public DesktopBackgroundTest {
protected:
    ScopedEnv configHome{"XDG_CONFIG_HOME", dir.Path().c_str()};
    ScopedEnv configDirs{"XDG_CONFIG_DIRS", (dir / "xdg").c_str()};
};

TEST_F(FileDesktopTest, TheRunningDesktopTakesThePictureAndGetsItsOwnBackEitherWay)
{
    struct Case {
        const char* Desktop;
        std::string Bus;
        std::string File;
        std::string Before; // the user's settings
        std::string System; // the system-wide settings, for a user without a picture
        std::string Ours;   // as the desktop wrote them after our Set
        std::string Set;    // the desktop's own command
        std::string Back;   // the file put back while the desktop is not running
        std::vector<std::string> Live;
    };
    const std::string appletsrc =
        "[Containments][1]\nactivityId=a\nplugin=org.kde.plasma.folder\n\n"
        "[Containments][1][Wallpaper][org.kde.image][General]\n"
        "Image=file:///usr/share/wallpapers/it's\\sNext/\nSlidePaths=/usr/share/wallpapers/\n\n"
        "[Containments][2]\nplugin=org.kde.panel\nwallpaperplugin=org.kde.image\n\n"
        "[Containments][7]\nplugin=org.kde.desktopcontainment\n";
    // Ours on every desktop containment.
    const std::string usersImage = "Image=file:///usr/share/wallpapers/it's\\sNext/";
    std::string appletsrcOurs = appletsrc;
    appletsrcOurs.replace(appletsrcOurs.find(usersImage), usersImage.size(), "Image=file:///s/TarvokSkin1.bmp");
    const std::string plasmaScript = "dbus-send --session --print-reply --dest=org.kde.plasmashell /PlasmaShell "
                                     "org.kde.PlasmaShell.evaluateScript string:var d = desktopById(";
    const std::string plasmaConfig = "); d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General']; "
                                     "d.writeConfig('Image', ";
    const Case cases[] = {
        {"LXQt",
         "org.pcmanfm.PCManFM",
         "pcmanfm-qt/lxqt/settings.conf",
         "[Behavior]\nWallpaper=not this one\n\n[Desktop]\nBgColor=#000000\nWallpaper=\"/home/u/\\xe9t\\xe9, b.png\"\n"
         "WallpaperMode=stretch\n",
         "",
         "[Behavior]\nWallpaper=not this one\n\n[Desktop]\nBgColor=#000000\nWallpaper=/s/TarvokSkin1.bmp\n"
         "WallpaperMode=stretch\n",
         "pcmanfm-qt --set-wallpaper /s/TarvokSkin1.bmp",
         "",
         {"pcmanfm-qt --set-wallpaper /home/u/\xc3\xa9t\xc3\xa9, b.png"}},
        // A new user: the picture is the system-wide one, put back the same way.
        {"LXQt",
         "org.pcmanfm.PCManFM",
         "pcmanfm-qt/lxqt/settings.conf",
         "",
         "[Desktop]\nWallpaper=/usr/share/lxqt/a.png\n",
         "[Desktop]\nWallpaper=/s/TarvokSkin1.bmp\n",
         "pcmanfm-qt --set-wallpaper /s/TarvokSkin1.bmp",
         "[Desktop]\n",
         {"pcmanfm-qt --set-wallpaper /usr/share/lxqt/a.png"}},
        // Containment 7 had the default picture: its key goes again.
        {"KDE",
         "org.kde.plasmashell",
         "plasma-org.kde.plasma.desktop-appletsrc",
         appletsrc,
         "",
         appletsrcOurs + "\n[Containments][7][Wallpaper][org.kde.image][General]\nImage=file:///s/TarvokSkin1.bmp\n",
         "plasma-apply-wallpaperimage /s/TarvokSkin1.bmp",
         appletsrc + "\n[Containments][7][Wallpaper][org.kde.image][General]\n",
         {plasmaScript + "1" + plasmaConfig + "'file:///usr/share/wallpapers/it\\'s Next/');",
          plasmaScript + "7" + plasmaConfig + "'');"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Desktop);
        const std::string file = dir / c.File;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        WriteFile(file, c.Before);
        const std::string system = dir / ("xdg/" + std::string(c.File));
        std::filesystem::create_directories(std::filesystem::path(system).parent_path());
        WriteFile(system, c.System);
        const auto running = [&](bool yes) {
            runner.Answers[BusQuery + c.Bus] = {true, yes ? "   boolean true\n" : "   boolean false\n"};
        };
        const auto setOurs = [&] {
            running(true);
            EXPECT_EQ(Background(c.Desktop).Set("/s/TarvokSkin1.bmp"), true);
            EXPECT_EQ(runner.Taken(), (std::vector<std::string>{BusQuery + c.Bus, c.Set}));
            EXPECT_TRUE(std::filesystem::exists(keep));
            EXPECT_TRUE(std::filesystem::exists(entry));
            WriteFile(file, c.Ours);
        };

        // The next start, before the desktop runs, writes the file.
        setOurs();
        running(false);
        Background(c.Desktop).Restore();
        EXPECT_EQ(runner.Taken(), std::vector<std::string>{BusQuery + c.Bus});
        EXPECT_EQ(ReadFile(file), c.Back.empty() ? c.Before : c.Back);
        EXPECT_FALSE(std::filesystem::exists(keep));

        // The session's end, with the desktop running, asks it.
        WriteFile(file, c.Before);
        setOurs();
        Background(c.Desktop).Restore();
        std::vector<std::string> live = c.Live;
        live.insert(live.begin(), BusQuery + c.Bus);
        EXPECT_EQ(runner.Taken(), live);
        EXPECT_EQ(ReadFile(file), c.Ours);
        EXPECT_FALSE(std::filesystem::exists(entry));
    }
}

// The logon script does what Restore does: through the running desktop,
// else the same edit of the file.
TEST_F(FileDesktopTest, TheLogonScriptRestoresLikeTheProgram)
{
    const std::string file = dir / "pcmanfm-qt/lxqt/settings.conf";
    std::filesystem::create_directories(dir / "pcmanfm-qt/lxqt");
    const std::string before =
        "[Desktop]\nWallpaper=/home/u/it's $HOME.png\nWallpaperMode=zoom\n[Other]\nWallpaper=not this\nx=1";
    const std::string ours =
        "[Desktop]\nWallpaper=/s/TarvokSkin1.bmp\nWallpaperMode=zoom\n[Other]\nWallpaper=not this\nx=1";
    const std::string bin = dir / "bin";
    std::filesystem::create_directory(bin);
    const std::string log = dir / "log";
    const auto tool = [&](const std::string& name, const std::string& body) {
        WriteFile(bin + "/" + name, "#!/bin/sh\n" + body);
        std::filesystem::permissions(bin + "/" + name, std::filesystem::perms::owner_all);
    };
    tool("pcmanfm-qt", "for a; do printf '%s\\n' \"$a\"; done >>\"$LOG\"\n");
    for (const bool live : {false, true}) {
        SCOPED_TRACE(live);
        WriteFile(file, before);
        runner.Answers[BusQuery + "org.pcmanfm.PCManFM"] = {true, "boolean true"};
        Background("LXQt").Set("/s/TarvokSkin1.bmp");
        WriteFile(file, ours);
        tool("dbus-send", live ? "echo '   boolean true'\n" : "echo '   boolean false'\n");
        const std::string text = ReadFile(entry);
        const size_t exec = text.find("\nExec=");
        ASSERT_NE(exec, std::string::npos);
        const std::string command = text.substr(exec + 6, text.find('\n', exec + 1) - exec - 6);
        ASSERT_EQ(std::system(("PATH=" + bin + ":$PATH LOG=" + log + " " + command).c_str()), 0) << command;
        if (live) {
            EXPECT_EQ(ReadFile(log), "--set-wallpaper\n/home/u/it's $HOME.png\n");
            EXPECT_EQ(ReadFile(file), ours);
        } else {
            EXPECT_FALSE(std::filesystem::exists(log));
            // Like the program's own edit, the script ends every line.
            EXPECT_EQ(ReadFile(file), before + "\n");
        }
        for (const std::string& gone : {entry, keep, keep + ".sh", file + ".tarvok"})
            EXPECT_FALSE(std::filesystem::exists(gone)) << gone;
    }
    // The program's own edit.
    WriteFile(file, before);
    Background("LXQt").Set("/s/TarvokSkin1.bmp");
    WriteFile(file, ours);
    runner.Answers.clear();
    Background("LXQt").Restore();
    EXPECT_EQ(ReadFile(file), before + "\n");
}

// Whether the picture shows: the desktop's own tool decides where the
// desktop paints over the root window; elsewhere the caller's root picture.
TEST_F(FileDesktopTest, SetTellsWhetherTheDesktopTookThePicture)
{
    struct Case {
        const char* Desktop;
        std::map<std::string, CommandResult> Answers;
        std::optional<bool> Shown;
    };
    const std::string mate = "gsettings set org.mate.background picture-filename '/s/a.bmp'";
    const Case cases[] = {
        {"MATE", {}, true},
        {"MATE", {{mate, {false, ""}}}, false},
        {"MATE", {{"gsettings get org.mate.background picture-filename", {false, ""}}}, false}, // no gsettings
        {"XFCE", {{"xfconf-query -c xfce4-desktop -l", {false, ""}}}, false},
        {"LXQt", {}, std::nullopt}, // no desktop of its own running
        {"KDE", {}, std::nullopt},
        {"LXQt", {{BusQuery + "org.pcmanfm.PCManFM", {true, "boolean true"}}}, true},
        {"LXQt",
         {{BusQuery + "org.pcmanfm.PCManFM", {true, "boolean true"}},
          {"pcmanfm-qt --set-wallpaper /s/a.bmp", {false, ""}}},
         false},
        {"KDE",
         {{BusQuery + "org.kde.plasmashell", {true, "boolean true"}},
          {"plasma-apply-wallpaperimage /s/a.bmp", {false, ""}}},
         false},
    };
    for (const Case& c : cases) {
        runner.Answers = c.Answers;
        platform::DesktopBackground background = Background(c.Desktop);
        EXPECT_EQ(background.Set("/s/a.bmp"), c.Shown) << c.Desktop << " " << runner.Lines.size();
        background.Restore();
        runner.Taken();
    }
}

} // namespace
} // namespace tarvok::test
