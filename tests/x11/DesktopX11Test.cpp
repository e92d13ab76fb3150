#include "MainTestWorld.h"
#include "WaitFor.h"
#include "core/WindowSearch.h"
#include "platform/qt/Desktop_linux.h"

#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

// Last: Xlib's macros would clash with the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace tarvok::test {
namespace {

const std::string HiNet = "Welcome To HiNet - MicroSsoft Internet Explorer";

std::string Output(const std::string& command)
{
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

// The pixmap ids in _XROOTPMAP_ID and ESETROOT_PMAP_ID, those that are set.
std::vector<std::string> PublishedPixmaps()
{
    std::vector<std::string> ids;
    std::istringstream lines(Output("xprop -root _XROOTPMAP_ID ESETROOT_PMAP_ID"));
    for (std::string line; std::getline(lines, line);)
        if (const size_t at = line.find("pixmap id # "); at != std::string::npos)
            ids.push_back(line.substr(at + 12));
    return ids;
}

// An xmessage window with the given title, closed with the test.
class Xmessage {
public:
    explicit Xmessage(const std::string& title)
    {
        process_.start("xmessage", {"-geometry", "+300+300", "-title", QString::fromStdString(title), "Tarvok test"});
        process_.waitForStarted();
    }
    ~Xmessage()
    {
        process_.kill();
        process_.waitForFinished();
    }

private:
    QProcess process_;
};

class DesktopX11Test : public ::testing::Test {
protected:
    ~DesktopX11Test() override { EXPECT_EQ(std::system("xset s default s blank"), 0); }

    QImage Root()
    {
        const std::string shot = dir / "root.png";
        EXPECT_EQ(std::system(("import -window root " + shot).c_str()), 0);
        return QImage(QString::fromStdString(shot)).convertToFormat(QImage::Format_RGB32);
    }
    // A picture file whose rows repeat the given colours.
    std::string Picture(const std::string& name, const std::vector<std::vector<QRgb>>& rows)
    {
        QImage image(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, rows[y][x]);
        const std::string path = dir / name;
        EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP"));
        return path;
    }
    WindowHandle Find(const std::string& title, const std::string& className = "")
    {
        WindowHandle found = 0;
        WaitFor([&] { return (found = FindWindowByTitle(desktop, title, className)) != 0; });
        return found;
    }

    TempDir dir;
    platform::LinuxDesktop desktop{dir / WallpaperKeepFileName, dir / "logon.desktop"};
};

constexpr QRgb Red = 0xffff0000, Green = 0xff00ff00, Blue = 0xff0000ff, White = 0xffffffff, Yellow = 0xffffff00;

TEST_F(DesktopX11Test, TheWallpaperIsTiledOverTheRootAndClearedAgain)
{
    const QImage before = Root();
    // Nothing paints over the bare root window: the picture shows.
    EXPECT_TRUE(desktop.SetWallpaper(Picture("first.bmp", {{Red, Green, Blue, White}, {Yellow, Yellow, Blue, Blue}})));
    QImage shot = Root();
    EXPECT_EQ(shot.pixel(0, 0), Red);
    EXPECT_EQ(shot.pixel(1, 0), Green);
    EXPECT_EQ(shot.pixel(3, 0), White);
    EXPECT_EQ(shot.pixel(0, 1), Yellow);
    EXPECT_EQ(shot.pixel(1000, 700), Red); // tiled to the far corner
    EXPECT_EQ(shot.pixel(1002, 701), Blue);
    const std::vector<std::string> first = PublishedPixmaps();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0], first[1]);

    // A second picture takes the place of the first.
    desktop.SetWallpaper(Picture("second.bmp", {{Green}}));
    EXPECT_EQ(Root().pixel(500, 500), Green);
    const std::vector<std::string> second = PublishedPixmaps();
    ASSERT_EQ(second.size(), 2u);
    EXPECT_NE(second[0], first[0]);

    EXPECT_FALSE(desktop.SetWallpaper(dir / "no such picture.bmp"));
    EXPECT_EQ(Root().pixel(500, 500), Green);

    desktop.ClearWallpaper();
    shot = Root();
    for (const QPoint at : {QPoint(0, 0), QPoint(1, 0), QPoint(500, 500), QPoint(1002, 701)})
        EXPECT_EQ(shot.pixel(at), before.pixel(at)) << at.x() << "," << at.y();
    EXPECT_TRUE(PublishedPixmaps().empty());
}

// The pixmaps all clients hold in the server, kept ones included.
int ServerPixmaps()
{
    int total = 0;
    std::istringstream lines(Output("xrestop -b -m 1"));
    for (std::string line; std::getline(lines, line);)
        if (const size_t at = line.find("pixmaps       : "); at != std::string::npos)
            total += std::stoi(line.substr(at + 16));
    return total;
}

TEST_F(DesktopX11Test, SetAndClearFreeTheirPixmapWhenADesktopProgramPublishesItsOwn)
{
    // Like xfdesktop: a live client that publishes its own background in
    // _XROOTPMAP_ID after every Set.
    Display* desk = XOpenDisplay(nullptr);
    ASSERT_NE(desk, nullptr);
    const Window root = DefaultRootWindow(desk);
    const Pixmap own = XCreatePixmap(desk, root, 64, 64, DefaultDepth(desk, DefaultScreen(desk)));
    const auto publish = [&] {
        XChangeProperty(desk, root, XInternAtom(desk, "_XROOTPMAP_ID", False), XA_PIXMAP, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&own), 1);
        XSync(desk, False);
    };
    XSync(desk, False);
    const std::string picture = Picture("skin.bmp", {{Red, Blue}});
    const int before = ServerPixmaps();
    for (int cycle = 0; cycle < 10; ++cycle) {
        desktop.SetWallpaper(picture);
        publish();
        desktop.ClearWallpaper();
    }
    EXPECT_EQ(ServerPixmaps(), before);
    // Only the property naming our pixmap went.
    std::ostringstream ownId;
    ownId << "0x" << std::hex << own;
    EXPECT_EQ(PublishedPixmaps(), std::vector<std::string>{ownId.str()});
    XDeleteProperty(desk, root, XInternAtom(desk, "_XROOTPMAP_ID", False));
    XCloseDisplay(desk);
    desktop.ClearWallpaper(); // the root lets go of that program's pixmap
}

// A run that ended without Clear (killed, crashed) left its pixmap in the
// server; xfdesktop published its own since, so only our record names ours.
TEST_F(DesktopX11Test, TheNextRunFreesThePixmapACrashedRunLeftWhateverWasPublishedSince)
{
    Display* desk = XOpenDisplay(nullptr);
    ASSERT_NE(desk, nullptr);
    const Window root = DefaultRootWindow(desk);
    const Pixmap own = XCreatePixmap(desk, root, 64, 64, DefaultDepth(desk, DefaultScreen(desk)));
    XSync(desk, False);
    const int before = ServerPixmaps();
    platform::LinuxDesktop(dir / WallpaperKeepFileName, dir / "logon.desktop")
        .SetWallpaper(Picture("skin.bmp", {{Red, Blue}}));
    XChangeProperty(desk, root, XInternAtom(desk, "_XROOTPMAP_ID", False), XA_PIXMAP, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&own), 1);
    XSync(desk, False);
    EXPECT_EQ(ServerPixmaps(), before + 1);
    desktop.ClearWallpaper();
    EXPECT_EQ(ServerPixmaps(), before);
    XDeleteProperty(desk, root, XInternAtom(desk, "_XROOTPMAP_ID", False));
    XDeleteProperty(desk, root, XInternAtom(desk, "ESETROOT_PMAP_ID", False));
    XCloseDisplay(desk);
    desktop.ClearWallpaper();
}

TEST_F(DesktopX11Test, ScreenSaverCoversTheScreenWhenEnabledAndIsRefusedWhenOff)
{
    Xmessage message("saver test");
    ASSERT_NE(Find("saver test"), 0u);
    const QPoint inside(310, 310);
    const QImage before = Root();
    ASSERT_NE(before.pixel(inside), before.pixel(0, 0));

    // Without blanking the server covers the screen with the root background.
    ASSERT_EQ(std::system("xset s 600 s noblank"), 0);
    EXPECT_TRUE(desktop.StartScreenSaver());
    EXPECT_TRUE(WaitFor([&] {
        const QImage shot = Root();
        return shot.pixel(inside) == shot.pixel(0, 0);
    }));
    ASSERT_EQ(std::system("xset s reset"), 0);

    ASSERT_EQ(std::system("xset s off"), 0);
    EXPECT_FALSE(desktop.StartScreenSaver());
    MainWorld world;
    platform::LinuxDesktop formDesktop{world.App / WallpaperKeepFileName, world.App / "logon.desktop"};
    ui::TMainForm& form = world.Create(&formDesktop);
    world.Dialogs.Log.clear();
    form.ScreenSaverOn1Click();
    EXPECT_EQ(world.Dialogs.TextsOf("message"), std::vector<std::string>{"Can not turn on Screen Saver"});
}

TEST_F(DesktopX11Test, AWindowIsFoundByPartOfItsTitleAndHidden)
{
    Xmessage message(HiNet + " - offline");
    const WindowHandle window = Find("HiNet - MicroSsoft");
    ASSERT_NE(window, 0u);
    EXPECT_EQ(desktop.GetWindowText(window), HiNet + " - offline");
    EXPECT_EQ(desktop.GetClassName(window), "Xmessage");
    EXPECT_EQ(FindWindowByTitle(desktop, "HiNet", "Xmess"), window);
    EXPECT_EQ(FindWindowByTitle(desktop, "HiNet", "XTerm"), 0u);
    EXPECT_EQ(FindWindowByTitle(desktop, "hinet - microssoft", ""), 0u);

    desktop.HideWindow(window);
    EXPECT_TRUE(WaitFor(
        [&] { return Output("xwininfo -id " + std::to_string(window)).find("IsUnMapped") != std::string::npos; }));
    EXPECT_TRUE(WaitFor([&] { return FindWindowByTitle(desktop, "HiNet - MicroSsoft", "") == 0; }));
}

TEST_F(DesktopX11Test, HideIEHidesTheBrowserWindowThenFindsNoneLeft)
{
    Xmessage message(HiNet);
    ASSERT_NE(Find(HiNet), 0u);
    MainWorld world;
    platform::LinuxDesktop formDesktop{world.App / WallpaperKeepFileName, world.App / "logon.desktop"};
    ui::TMainForm& form = world.Create(&formDesktop);
    world.Dialogs.Log.clear();
    form.HideIE1Click();
    EXPECT_TRUE(world.Dialogs.Log.empty());
    EXPECT_TRUE(WaitFor([&] { return FindWindowByTitle(formDesktop, HiNet, "") == 0; }));
    form.HideIE1Click();
    EXPECT_EQ(world.Dialogs.TextsOf("message"), std::vector<std::string>{"Window Not Found!"});
}

} // namespace
} // namespace tarvok::test
