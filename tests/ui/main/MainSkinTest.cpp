// The skinned window: skin numbering and painting, the controls shown and
// hidden by the pointer, the image buttons, the drag and the three shapes.
#include "MainTestWorld.h"
#include "ui/skin/SkinCanvas.h"
#include "ui/skin/WindowChrome.h"
#include "ui/skin/WindowShape.h"
#include "ui/widgets/LineList.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tarvok::test {
namespace {

using Picture = ui::WindowChrome::Picture;

const QColor Red(200, 0, 0);
const QColor Green(0, 160, 0);
const QColor Blue(0, 0, 200);

QImage BuiltIn() { return QImage(ui::SkinCanvas::BuiltInSkin).convertToFormat(QImage::Format_RGB32); }

void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton,
           Qt::MouseButtons held = Qt::NoButton)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

class MainSkinTest : public ::testing::Test {
protected:
    void Skin(int number, const QColor& colour, QSize size = QSize(700, 500), const QColor& corner = QColor())
    {
        std::filesystem::create_directories(world.App / "Skin");
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        if (corner.isValid())
            image.setPixelColor(size.width() - 1, size.height() - 1, corner);
        ASSERT_TRUE(image.save(QString::fromStdString(world.App / "Skin/TarvokSkin") + QString::number(number) +
                                   QStringLiteral(".bmp"),
                               "BMP"));
    }
    void ThreeSkinsAndANote()
    {
        Skin(0, Red);
        Skin(1, Green);
        Skin(2, Blue);
        WriteFile(world.App / "Skin/notes.txt", "not a skin");
    }
    // Automatic backups neither on nor off: no question at start, no backups in a tick.
    ui::TMainForm& Start(int32_t skinNo, uint8_t random = 0)
    {
        ProjectList none;
        world.WriteSettings(AppSettings{random, skinNo, 2}, none);
        return world.Create();
    }
    QColor Shown(QPoint at = QPoint(10, 10)) const { return world.Form->Controls().Skin->PaintBuffer().pixelColor(at); }

    MainWorld world;
};

TEST_F(MainSkinTest, ChangeSkinPassesOverAMissingNumberToTheFirst)
{
    ThreeSkinsAndANote();
    ui::TMainForm& form = Start(2);
    EXPECT_EQ(form.State().SkinCount(), 4);
    EXPECT_EQ(Shown(), Blue);
    form.ChangeSkin1Click();
    EXPECT_EQ(form.State().Settings().SkinNo, 0);
    EXPECT_EQ(Shown(), Red);
    form.Controls().ChangeSkin1->trigger();
    EXPECT_EQ(Shown(), Green);
}

TEST_F(MainSkinTest, WithoutASkinFolderTheBuiltInSkinStays)
{
    ui::TMainForm& form = Start(-1);
    EXPECT_EQ(form.State().SkinCount(), 0);
    EXPECT_EQ(form.Controls().Skin->SkinBitmap(), BuiltIn());
    EXPECT_EQ(form.size(), QSize(700, 500));
    form.ChangeSkin1Click();
    EXPECT_EQ(form.State().Settings().SkinNo, -1);
    EXPECT_EQ(form.Controls().Skin->SkinBitmap(), BuiltIn());
}

TEST_F(MainSkinTest, FromTheBuiltInSkinTheFirstChangeLoadsSkinZero)
{
    ThreeSkinsAndANote();
    ui::TMainForm& form = Start(-1);
    EXPECT_EQ(form.Controls().Skin->SkinBitmap(), BuiltIn());
    form.ChangeSkin1Click();
    EXPECT_EQ(form.State().Settings().SkinNo, 0);
    EXPECT_EQ(Shown(), Red);
}

TEST_F(MainSkinTest, DefaultSkinKeepsTheNumberSoChangeGoesOnAfterIt)
{
    ThreeSkinsAndANote();
    ui::TMainForm& form = Start(1);
    form.Controls().DefaultSkin1->trigger();
    EXPECT_EQ(form.Controls().Skin->SkinBitmap(), BuiltIn());
    EXPECT_EQ(form.State().Settings().SkinNo, 1);
    form.ChangeSkin1Click();
    EXPECT_EQ(Shown(), Blue);
}

TEST_F(MainSkinTest, ASavedNumberAboveTheCountIsUsedThenWrapsIn)
{
    Skin(0, Red);
    Skin(7, Green);
    ui::TMainForm& form = Start(7);
    EXPECT_EQ(form.State().SkinCount(), 2);
    EXPECT_EQ(Shown(), Green);
    form.ChangeSkin1Click();
    EXPECT_EQ(form.State().Settings().SkinNo, 0);
    EXPECT_EQ(Shown(), Red);
}

TEST_F(MainSkinTest, ASkinThatIsNoPictureCountsAsMissing)
{
    Skin(1, Green);
    WriteFile(world.App / "Skin/TarvokSkin0.bmp", "BM but not a bitmap");
#ifndef _WIN32 // Windows keeps pipes out of folders
    // A pipe of a skin's name must not hold the program up.
    ASSERT_EQ(::mkfifo((world.App / "Skin/TarvokSkin2.bmp").c_str(), 0600), 0);
#endif
    ui::TMainForm& form = Start(0);
    EXPECT_EQ(form.Controls().Skin->SkinBitmap(), BuiltIn());
    form.ChangeSkin1Click();
    EXPECT_EQ(Shown(), Green);
    form.ChangeSkin1Click(); // 2 is a pipe, 0 is unreadable: back to 1
    EXPECT_EQ(form.State().Settings().SkinNo, 1);
    EXPECT_EQ(Shown(), Green);
    EXPECT_TRUE(world.Dialogs.Log.empty());
}

TEST_F(MainSkinTest, ASkinThatIsALinkIsPassedOverLikeAMissingOne)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: Wine makes no symbolic links";
#endif
    // Whoever may write the Skin folder could point a link at any picture or
    // at a pipe; neither is read, also when the link leads to a good picture.
    Skin(0, Red);
    Skin(2, Green);
    const std::string dir = world.App / "Skin/";
    std::filesystem::rename(dir + "TarvokSkin2.bmp", dir + "green.bmp");
    std::filesystem::create_symlink("green.bmp", dir + "TarvokSkin1.bmp");
#ifndef _WIN32 // Windows keeps pipes out of folders
    ASSERT_EQ(::mkfifo((dir + "pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir + "pipe", dir + "TarvokSkin2.bmp");
#endif
    ui::TMainForm& form = Start(1);
    EXPECT_EQ(form.Controls().Skin->SkinBitmap(), BuiltIn());
    form.ChangeSkin1Click(); // 2 leads to the pipe, 3 and 4 are missing
    EXPECT_EQ(form.State().Settings().SkinNo, 0);
    EXPECT_EQ(Shown(), Red);
    form.ChangeSkin1Click();
    EXPECT_EQ(form.State().Settings().SkinNo, 0);
    EXPECT_EQ(Shown(), Red);
}

TEST_F(MainSkinTest, SkinsOfAnUnusableSizeArePassedOverLikeMissingOnes)
{
    const struct {
        const char* what;
        QSize size; // empty: the bomb header
        bool used;
    } rows[] = {
        {"5700 x 5700 declared in 154 bytes", QSize(), false},
        {"1 x 1", QSize(1, 1), false},
        {"one pixel too narrow", QSize(199, 150), false},
        {"one pixel too wide", QSize(4097, 150), false},
        {"the smallest", QSize(200, 150), true},
        {"an ordinary skin", QSize(640, 460), true},
    };
    for (const auto& row : rows) {
        std::filesystem::remove_all(world.App / "Skin");
        Skin(0, Green, row.size.isEmpty() ? QSize(300, 200) : row.size);
        if (row.size.isEmpty()) { // cut to its header, which then declares 5700 x 5700
            std::string bomb = ReadFile(world.App / "Skin/TarvokSkin0.bmp").substr(0, 154);
            for (const size_t at : {18, 22})
                bomb.replace(at, 4, std::string("\x44\x16\0\0", 4));
            WriteFile(world.App / "Skin/TarvokSkin0.bmp", bomb);
        }
        Skin(1, Red, QSize(300, 200));
        ui::TMainForm& form = Start(0);
        EXPECT_EQ(form.size(), row.used ? row.size : BuiltIn().size()) << row.what;
        // Changing skins passes over it the same way.
        form.ChangeSkin1Click();
        form.ChangeSkin1Click();
        EXPECT_EQ(Shown(), row.used ? Green : Red) << row.what;
        world.Form.reset();
    }
}

TEST_F(MainSkinTest, RandomStartShowsTheSkinOfTheNumberItDrew)
{
    ThreeSkinsAndANote();
    world.Clock.Ticks = 123456;
    ui::TMainForm& form = Start(-1, 1);
    ASSERT_GE(form.State().Settings().SkinNo, 0);
    ASSERT_LT(form.State().Settings().SkinNo, 4);
    const QColor expected[] = {Red, Green, Blue};
    if (form.State().Settings().SkinNo < 3) {
        EXPECT_EQ(Shown(), expected[form.State().Settings().SkinNo]);
    }
    EXPECT_TRUE(form.Controls().RandomSkin1->isChecked());
    form.Controls().RandomSkin1->trigger();
    EXPECT_EQ(form.State().Settings().RandomSkin, 0);
    EXPECT_FALSE(form.Controls().RandomSkin1->isChecked());
}

TEST_F(MainSkinTest, TheFirstSkinSizesTheWindowLaterOnesAreCutOrPadded)
{
    Skin(0, Red, QSize(640, 460));
    Skin(1, Green, QSize(900, 700));
    const QColor corner(10, 20, 30);
    Skin(2, Blue, QSize(210, 160), corner);
    ui::TMainForm& form = Start(0);
    EXPECT_EQ(form.size(), QSize(640, 460));
    form.ChangeSkin1Click();
    EXPECT_EQ(form.size(), QSize(640, 460));
    EXPECT_EQ(Shown(QPoint(639, 459)), Green);
    form.ChangeSkin1Click();
    EXPECT_EQ(Shown(QPoint(208, 159)), Blue);
    // The uncovered band continues the skin's corner, not the light default.
    EXPECT_EQ(Shown(QPoint(300, 300)), corner);
    EXPECT_EQ(Shown(QPoint(50, 459)), corner);
    // Every paint draws the whole picture.
    QImage painted(form.size(), QImage::Format_RGB32);
    painted.fill(Qt::white);
    form.render(&painted, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    EXPECT_EQ(painted.pixelColor(90, 70), Blue);
    EXPECT_EQ(painted.pixelColor(300, 300), corner);
}

TEST_F(MainSkinTest, TheTickChangesTheSkinInTheFirstSecondOfEachPeriod)
{
    ThreeSkinsAndANote();
    ui::TMainForm& form = Start(0);
    struct Tick {
        uint32_t ticks;
        int32_t skinNo;
    };
    for (const Tick tick : {Tick{150999, 1}, Tick{151000, 1}, Tick{180000, 2}, Tick{29999, 2}}) {
        world.Clock.Ticks = tick.ticks;
        form.Timer1Timer();
        EXPECT_EQ(form.State().Settings().SkinNo, tick.skinNo) << tick.ticks;
    }
    form.Controls().TimelyChange1->trigger();
    EXPECT_FALSE(form.Controls().TimelyChange1->isChecked());
    world.Clock.Ticks = 210000;
    form.Timer1Timer();
    EXPECT_EQ(form.State().Settings().SkinNo, 2);
    form.TimelyChange1Click();
    EXPECT_TRUE(form.Controls().TimelyChange1->isChecked());
}

class MainChromeTest : public ::testing::Test {
protected:
    MainChromeTest() { world.Dialogs.Log.clear(); } // the question at start

    MainWorld world;
    ui::TMainForm& form = world.Create();
    const ui::MainControls& c = form.Controls();

    std::vector<QWidget*> Governed() const
    {
        return {c.MinImage,  c.CloseImage, c.pnlClock,      c.cbxProjects, c.stTarget,  c.lbxSource,
                c.edBkUp,    c.lbxTarget,  c.btnBackPrjDir, c.edTarget,    c.btnBackUp, c.btnAdd,
                c.btnDelete, c.btnRestore, c.BtnDelBkUp,    c.btnselDir,   c.lbStatus,  c.pnlAutoBkUp};
    }
    // True when all governed controls are shown, false when all are hidden.
    std::optional<bool> ControlsShown() const
    {
        int shown = 0;
        for (QWidget* control : Governed())
            shown += control->isHidden() ? 0 : 1;
        if (shown == 0 || shown == int(Governed().size()))
            return shown > 0;
        return std::nullopt;
    }
    Picture PictureOf(const QLabel* image) const { return c.Chrome->PictureOf(image); }
    static constexpr QPoint Bare{350, 75};
};

TEST_F(MainChromeTest, TheEdgeBandHidesTheControlsAndTheInnerPartShowsThem)
{
    struct Point {
        QPoint at;
        bool shown;
    };
    for (const Point point : {Point{{39, 200}, false}, Point{{40, 40}, true}, Point{{660, 200}, false},
                              Point{{659, 459}, true}, Point{{200, 460}, false}}) {
        Mouse(&form, QEvent::MouseMove, point.at);
        EXPECT_EQ(ControlsShown(), point.shown) << point.at.x() << "," << point.at.y();
        EXPECT_FALSE(c.MenuImage->isHidden());
    }
}

TEST_F(MainChromeTest, TheButtonsTopRowsLieInTheBand)
{
    Mouse(c.MinImage, QEvent::MouseMove, QPoint(5, 2));
    EXPECT_EQ(ControlsShown(), false);
    // Hidden, its place is still the button's: it stays Over, no drag starts.
    Mouse(&form, QEvent::MouseMove, QPoint(541, 50));
    EXPECT_EQ(ControlsShown(), true);
    EXPECT_EQ(PictureOf(c.MinImage), Picture::Over);

    Mouse(c.MenuImage, QEvent::MouseMove, QPoint(5, 2));
    EXPECT_EQ(ControlsShown(), false);
    EXPECT_FALSE(c.MenuImage->isHidden());
    Mouse(c.MenuImage, QEvent::MouseMove, QPoint(5, 20));
    EXPECT_EQ(ControlsShown(), true);
}

TEST_F(MainChromeTest, HiddenControlsReturnWhenThePointerCrossesTheBareMiddle)
{
    c.ComponetsHideShow1->trigger();
    EXPECT_EQ(ControlsShown(), false);
    EXPECT_FALSE(world.Form->State().ComponentsShown());
    Mouse(&form, QEvent::MouseMove, Bare);
    EXPECT_EQ(ControlsShown(), true);
    // The command goes by its own flag, not by what the pointer did since.
    form.ComponetsHideShow1Click();
    EXPECT_TRUE(world.Form->State().ComponentsShown());
    EXPECT_EQ(ControlsShown(), true);
    form.ComponetsHideShow1Click();
    EXPECT_EQ(ControlsShown(), false);
}

TEST_F(MainChromeTest, ButtonPicturesFollowPressMoveAndRelease)
{
    EXPECT_EQ(c.MinImage->pixmap().toImage(), QPixmap(QStringLiteral(":/skin/MINUP")).toImage());
    Mouse(c.MinImage, QEvent::MouseButtonPress, QPoint(10, 20), Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(PictureOf(c.MinImage), Picture::Down);
    EXPECT_EQ(c.MinImage->pixmap().toImage(), QPixmap(QStringLiteral(":/skin/MINDOWN")).toImage());
    Mouse(c.MinImage, QEvent::MouseMove, QPoint(11, 20), Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(PictureOf(c.MinImage), Picture::Over);
    Mouse(c.MinImage, QEvent::MouseButtonRelease, QPoint(11, 20), Qt::RightButton);
    EXPECT_EQ(PictureOf(c.MinImage), Picture::Up);

    // Over stays when the pointer leaves onto a control, Up comes from bare skin.
    Mouse(c.CloseImage, QEvent::MouseMove, QPoint(10, 20));
    Mouse(&form, QEvent::MouseMove, c.pnlClock->geometry().center());
    EXPECT_EQ(PictureOf(c.CloseImage), Picture::Over);
    Mouse(&form, QEvent::MouseMove, Bare);
    EXPECT_EQ(PictureOf(c.CloseImage), Picture::Up);
}

TEST_F(MainChromeTest, CloseButtonAsksAndStaysDownWhileTheQuestionIsOpen)
{
    form.show();
    std::optional<Picture> whileAsked;
    world.Dialogs.WhileShown = [&](const FakeDialogs::Shown&) { whileAsked = PictureOf(c.CloseImage); };
    world.Dialogs.Answers = {false};
    Mouse(c.CloseImage, QEvent::MouseButtonPress, QPoint(16, 16), Qt::LeftButton, Qt::LeftButton);
    Mouse(c.CloseImage, QEvent::MouseButtonRelease, QPoint(16, 16), Qt::LeftButton);
    EXPECT_EQ(world.Dialogs.TextsOf("confirm"), std::vector<std::string>{"Are you sure to exit this program?"});
    EXPECT_EQ(whileAsked, Picture::Down);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(PictureOf(c.CloseImage), Picture::Up);

    // Released away from the button: no click.
    Mouse(c.CloseImage, QEvent::MouseButtonPress, QPoint(16, 16), Qt::LeftButton, Qt::LeftButton);
    Mouse(c.CloseImage, QEvent::MouseButtonRelease, QPoint(60, 16), Qt::LeftButton);
    EXPECT_EQ(world.Dialogs.TextsOf("confirm").size(), 1u);
}

// The window system asks for the menu on the press; it opens on the release,
// at the pointer, with the button drawn up again.
TEST_F(MainChromeTest, ARightClickOpensTheMenuAtThePointerOnTheRelease)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QPoint at = c.MenuImage->geometry().topLeft() + QPoint(5, 7);
    QTest::mousePress(form.windowHandle(), Qt::RightButton, {}, at);
    EXPECT_EQ(PictureOf(c.MenuImage), Picture::Down);
    EXPECT_FALSE(c.filemenu->isVisible());
    QTest::mouseRelease(form.windowHandle(), Qt::RightButton, {}, at);
    EXPECT_EQ(PictureOf(c.MenuImage), Picture::Up);
    EXPECT_TRUE(c.filemenu->isVisible());
    EXPECT_EQ(c.filemenu->pos(), form.mapToGlobal(at));
    c.filemenu->close();
}

TEST_F(MainChromeTest, MinimiseHidesToTheTrayAndMenuOpensAtTheButtonCentre)
{
    form.show();
    QPoint menuAt;
    QTimer::singleShot(0, [&] {
        menuAt = c.filemenu->pos();
        c.filemenu->close();
    });
    Mouse(c.MenuImage, QEvent::MouseButtonPress, QPoint(3, 3), Qt::LeftButton, Qt::LeftButton);
    Mouse(c.MenuImage, QEvent::MouseButtonRelease, QPoint(3, 3), Qt::LeftButton);
    EXPECT_EQ(menuAt, form.mapToGlobal(QPoint(96 + 16, 30 + 16)));
    EXPECT_EQ(PictureOf(c.MenuImage), Picture::Up);

    Mouse(c.MinImage, QEvent::MouseButtonPress, QPoint(16, 16), Qt::LeftButton, Qt::LeftButton);
    Mouse(c.MinImage, QEvent::MouseButtonRelease, QPoint(16, 16), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(world.Dialogs.Log.empty());
}

TEST_F(MainChromeTest, APressOnBareSkinDragsTheWindowAndOneOnAButtonDoesNot)
{
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    form.show();
    const QPoint start = form.pos();
    const QPoint grip = form.mapToGlobal(Bare);
    auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, form.mapFromGlobal(global), global, button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&form, &event);
    };
    send(QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, grip + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, grip + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form.pos(), start + QPoint(30, 20));

    // The close button's place, even while the button is hidden.
    c.CloseImage->hide();
    const QPoint button = form.mapToGlobal(c.Chrome->CloseRect.center());
    send(QEvent::MouseButtonPress, button, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, button + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(form.pos(), start + QPoint(30, 20));
}

TEST_F(MainChromeTest, ThreeShapes)
{
    struct Probe {
        QPoint at;
        bool inside;
    };
    auto expect = [&](std::initializer_list<Probe> probes, const char* shape) {
        for (const Probe& probe : probes)
            EXPECT_EQ(form.mask().contains(probe.at), probe.inside)
                << shape << " " << probe.at.x() << "," << probe.at.y();
    };
    const std::initializer_list<Probe> rounded = {{{0, 0}, false},     {{20, 20}, false},  {{30, 30}, true},
                                                  {{350, 0}, true},    {{0, 250}, true},   {{699, 499}, false},
                                                  {{680, 480}, false}, {{669, 469}, true}, {{350, 499}, true}};
    expect(rounded, "at start");

    form.ComponetsHideShow1Click(); // hidden controls keep their place in the shape
    c.Transparent1->trigger();
    expect({{Bare, false},
            {{20, 20}, false},
            {c.lbxSource->geometry().center(), true},
            {c.Chrome->MenuRect.topLeft(), true},
            {c.Chrome->CloseRect.bottomRight(), true},
            {c.pnlAutoBkUp->geometry().topLeft() + QPoint(400, 25), true}},
           "transparent");

    c.RoundedWindow1->trigger();
    expect(rounded, "rounded again");
    c.Opaque1->trigger();
    EXPECT_TRUE(form.mask().isEmpty());
}

// A compositing manager may ignore X shapes: the shape is then painted.
TEST_F(MainChromeTest, TranslucentTheShapesArePaintedTransparentInsteadOfMasked)
{
    c.Skin->UseTranslucency();
    EXPECT_TRUE(form.mask().isEmpty());
    const auto alpha = [&](QPoint at) { return qAlpha(form.grab().toImage().pixel(at)); };
    EXPECT_EQ(alpha({2, 2}), 0);
    EXPECT_EQ(alpha(Bare), 255);
    c.Transparent1->trigger();
    EXPECT_EQ(alpha(Bare), 0);
    EXPECT_EQ(alpha(c.lbxSource->geometry().center()), 255);
    c.Opaque1->trigger();
    EXPECT_EQ(alpha({2, 2}), 255);
    EXPECT_TRUE(form.mask().isEmpty());
}

TEST(WindowShape, TheCornersFollowAQuarterEllipse)
{
    const QRegion region = ui::RoundedRegion(QSize(700, 500), 200);
    // Row 0 touches the ellipse only near its top; the middle rows are whole.
    EXPECT_FALSE(region.contains(QPoint(85, 0)));
    EXPECT_TRUE(region.contains(QPoint(100, 0)));
    EXPECT_TRUE(region.contains(QPoint(0, 100)));
    EXPECT_TRUE(region.contains(QPoint(699, 399)));
    EXPECT_EQ(region.boundingRect(), QRect(0, 0, 700, 500));
    // A corner larger than the window is bounded by it.
    EXPECT_EQ(ui::RoundedRegion(QSize(100, 60), 1000).boundingRect(), QRect(0, 0, 100, 60));
}

} // namespace
} // namespace tarvok::test
