#include "MainTestWorld.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <utility>

namespace tarvok::test {
namespace {

QStringList Captions(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

class MainTrayTest : public ::testing::Test {
protected:
    MainWorld world;
    ui::TMainForm& form = world.Create();
};

TEST_F(MainTrayTest, IconAndMenuAsTheUserSeesThem)
{
    ASSERT_NE(form.Controls().TrayIcon, nullptr);
    EXPECT_EQ(form.Controls().TrayIcon->toolTip(), "Auto-BackUp!");
    EXPECT_FALSE(form.Controls().TrayIcon->icon().isNull());
    EXPECT_EQ(form.Controls().TrayIcon->contextMenu(), form.Controls().RatMenu);
    EXPECT_EQ(Captions(form.Controls().RatMenu),
              QStringList({"H&ide", "&Quit", "-", "Hide IE", "Screen Saver On", "-", "&About"}));
    EXPECT_FALSE(form.Controls().HideIE1->isEnabled());
    EXPECT_TRUE(form.Controls().ScreenSaverOn1->isEnabled());
}

TEST_F(MainTrayTest, FirstItemOffersTheOppositeOfTheWindowState)
{
    form.RatMenuPopup();
    EXPECT_EQ(form.Controls().cmHide->text(), "&Show");
    form.Controls().cmHide->trigger();
    EXPECT_TRUE(form.isVisible());

    form.RatMenuPopup();
    EXPECT_EQ(form.Controls().cmHide->text(), "H&ide");
    form.Controls().cmHide->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Controls().HideIE1->isEnabled());
}

TEST_F(MainTrayTest, OnlyADoubleClickShowsAHiddenWindow)
{
    form.TrayIconActivated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(form.isVisible());
    form.TrayIconActivated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(form.isVisible());
    // Showing ran the window's show steps.
    EXPECT_EQ(form.Controls().cbxProjects->count(), 1);
    EXPECT_TRUE(form.State().SourceListLoaded());
    form.TrayIconActivated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(form.isVisible());
}

// D-Bus tray hosts deliver each click as a Trigger, never a DoubleClick.
TEST_F(MainTrayTest, TwoSingleClicksWithinTheDoubleClickTimeShowTheWindow)
{
    const uint32_t interval = uint32_t(QApplication::doubleClickInterval());
    world.Clock.Ticks = 0xffffff00u; // the count wraps in between
    const struct {
        uint32_t after;
        bool shown;
    } clicks[] = {{0, false}, {interval + 1, false}, {interval, true}, {1, false}};
    for (const auto& click : clicks) {
        world.Clock.Ticks += click.after;
        form.hide();
        form.TrayIconActivated(QSystemTrayIcon::Trigger);
        EXPECT_EQ(form.isVisible(), click.shown) << click.after;
    }
    // The click after a delivered double click starts a new pair.
    form.hide();
    form.TrayIconActivated(QSystemTrayIcon::DoubleClick);
    form.hide();
    form.TrayIconActivated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(form.isVisible());
}

// GNOME Shell's host opens the menu on a click and sends one Activate for a double click.
TEST(MainTrayHostTest, UnderGnomeOneActivationShowsTheWindow)
{
    MainWorld world;
    world.Tray.ActivationShows = true;
    ui::TMainForm& form = world.Create();
    form.TrayIconActivated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.Controls().cbxProjects->count(), 1);
}

// Without a notification area nothing leads back to a hidden window: it
// shows at the start and every hiding command minimises it, until one comes.
TEST(MainTrayHostTest, WithoutANotificationAreaTheWindowStaysInTheTaskbar)
{
    MainWorld world;
    bool trayRuns = false;
    world.Tray.Runs = [&] { return trayRuns; };
    ui::TMainForm& form = world.Create();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.State().SourceListLoaded());
    const std::pair<const char*, std::function<void()>> hides[] = {
        {"Hide Tarvok", [&] { form.Controls().Hide1->trigger(); }},
        {"tray menu",
         [&] {
             form.RatMenuPopup();
             form.Controls().cmHide->trigger();
         }},
        {"minimise button", [&] { form.MinImageClick(); }},
    };
    for (const auto& [name, hide] : hides) {
        for (bool runs : {false, true}) {
            trayRuns = runs;
            form.ShowMainWindow();
            hide();
            EXPECT_EQ(form.isVisible(), !runs) << name << " with a tray " << runs;
            EXPECT_EQ(form.isMinimized(), !runs) << name << " with a tray " << runs;
        }
    }
    form.ShowMainWindow();
    EXPECT_FALSE(form.isMinimized());
}

// At logon the panel often starts after the program: the window waits for
// it, and shows only when none came.
TEST(MainTrayHostTest, AStartAtLogonWaitsForTheNotificationArea)
{
    for (const bool trayComes : {true, false}) {
        MainWorld world;
        int asked = 0;
        world.Tray.Runs = [&] { return ++asked > 3 && trayComes; };
        world.Tray.WaitAtStartMs = trayComes ? 60'000 : 600;
        ui::TMainForm& form = world.Create();
        EXPECT_FALSE(form.isVisible()) << trayComes;
        if (trayComes) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return asked > 3; }, 5000));
            QCoreApplication::processEvents();
            EXPECT_FALSE(form.isVisible());
        } else {
            EXPECT_TRUE(QTest::qWaitFor([&] { return form.isVisible(); }, 5000));
        }
    }
}

TEST_F(MainTrayTest, HideTarvokHidesTheShownWindow)
{
    form.ShowMainWindow();
    form.Controls().Hide1->trigger();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainTrayTest, QuitAsksLikeClosingTheWindow)
{
    world.Dialogs.Log.clear();
    world.Dialogs.Answers = {false, true};
    form.Controls().cmQuit->trigger();
    EXPECT_FALSE(std::filesystem::exists(world.App / SettingsFileName));
    bool closed = false;
    QObject::connect(&form, &ui::TMainForm::Closed, [&] { closed = true; });
    form.Controls().cmQuit->trigger();
    EXPECT_TRUE(closed);
    EXPECT_EQ(world.Dialogs.TextsOf("confirm"), std::vector<std::string>(2, "Are you sure to exit this program?"));
    EXPECT_TRUE(std::filesystem::exists(world.App / SettingsFileName));
}

TEST_F(MainTrayTest, ExitInTheMainMenuClosesTheOrdinaryWay)
{
    world.Dialogs.Log.clear();
    world.Dialogs.Answers = {false};
    form.Controls().Exit1->trigger();
    EXPECT_EQ(world.Dialogs.TextsOf("confirm"), std::vector<std::string>{"Are you sure to exit this program?"});
    EXPECT_FALSE(std::filesystem::exists(world.App / SettingsFileName));
}

} // namespace
} // namespace tarvok::test
