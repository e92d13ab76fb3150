// The Ctrl+letter commands of the main window, driven by key events through
// the window's key preview.
#include "FakeDesktop.h"
#include "MainTestWorld.h"
#include "ui/dialogs/Aboutdlg.h"
#include "ui/skin/SkinCanvas.h"
#include "ui/widgets/LineList.h"

#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

namespace tarvok::test {
namespace {

// What the commands did, as a test can see it.
struct Outcome {
    int32_t SkinNo = 0;
    bool BuiltInSkin = false;
    bool ControlsShown = true;
    bool WindowVisible = true;
    int AboutBoxes = 0;
    int Menus = 0;
    std::vector<std::string> DesktopCalls;
    bool CtrlFlag = true;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o)
{
    out << "skin " << o.SkinNo << (o.BuiltInSkin ? " built-in" : "") << ", controls " << o.ControlsShown << ", visible "
        << o.WindowVisible << ", about " << o.AboutBoxes << ", menus " << o.Menus << ", ctrl " << o.CtrlFlag
        << ", desktop:";
    for (const std::string& call : o.DesktopCalls)
        out << " [" << call << "]";
    return out;
}

// A shown main window with three skins, the first one showing, and a
// recording desktop.
class KeyWorld {
public:
    KeyWorld()
    {
        std::filesystem::create_directories(world.App / "Skin");
        for (int no = 0; no < 3; ++no) {
            QImage skin(200, 150, QImage::Format_RGB32);
            skin.fill(QColor(60 * no, 90, 120));
            skin.save(QString::fromStdString(world.App / ("Skin/TarvokSkin" + std::to_string(no) + ".bmp")), "BMP");
        }
        world.WriteSettings(AppSettings{0, 0, 2}, ProjectList{});
        world.Create();
        desktop.Calls.clear(); // the start's restore of the wallpaper setting
        Form().show();
        Form().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Form()));
        // The About box and the menu a command opens are counted and closed at
        // once.
        QObject::connect(&closer, &QTimer::timeout, [this] {
            if (auto* about = dynamic_cast<ui::TAboutBox*>(QApplication::activeModalWidget())) {
                ++outcome.AboutBoxes;
                about->close();
            }
            if (Form().Controls().filemenu->isVisible()) {
                ++outcome.Menus;
                Form().Controls().filemenu->close();
            }
        });
        closer.start(5);
    }

    ui::TMainForm& Form() { return *world.Form; }

    // '^' presses Ctrl and '_' releases it; a letter is pressed and released,
    // with Ctrl held as the script left it. '2' before a letter holds it for
    // one auto-repeat, '+' adds Shift. Each key goes where the focus is then,
    // starting at `start`, or to the window when nothing has it.
    void Keys(const std::string& script, QWidget* start)
    {
        start->setFocus();
        QWidget* window = start->window();
        const auto send = [window](bool press, Qt::Key key, Qt::KeyboardModifiers mods, bool repeat = false) {
            QWidget* focus = QApplication::focusWidget();
            QTest::simulateEvent(focus ? focus : window, press, key, mods, QString(), repeat);
        };
        bool ctrl = false;
        bool repeat = false;
        bool shift = false;
        for (char c : script) {
            switch (c) {
            case '^':
            case '_':
                ctrl = c == '^';
                send(ctrl, Qt::Key_Control, Qt::NoModifier);
                break;
            case '2': repeat = true; break;
            case '+': shift = true; break;
            default: {
                const auto key = static_cast<Qt::Key>(Qt::Key_A + (c - 'A'));
                Qt::KeyboardModifiers mods = ctrl ? Qt::ControlModifier : Qt::NoModifier;
                if (shift)
                    mods |= Qt::ShiftModifier;
                send(true, key, mods);
                if (repeat)
                    send(true, key, mods, true);
                send(false, key, mods);
                repeat = shift = false;
            }
            }
        }
    }

    Outcome Seen()
    {
        outcome.SkinNo = Form().State().Settings().SkinNo;
        outcome.BuiltInSkin =
            Form().Controls().Skin->SkinBitmap() ==
            QImage(ui::SkinCanvas::BuiltInSkin).convertToFormat(Form().Controls().Skin->SkinBitmap().format());
        outcome.ControlsShown = Form().State().ComponentsShown();
        outcome.WindowVisible = Form().isVisible();
        // Paths relative to the application directory, the same in every world.
        outcome.DesktopCalls = desktop.Calls;
        for (std::string& call : outcome.DesktopCalls)
            if (const auto at = call.find(world.App.Path() + "/"); at != std::string::npos)
                call.erase(at, world.App.Path().size() + 1);
        outcome.CtrlFlag = CtrlHeld(Form().State().KeyState());
        return outcome;
    }

private:
    MainWorld world;
    FakeDesktop& desktop = world.Desktop;
    QTimer closer;
    Outcome outcome;
};

TEST(KeyCommandsTest, EachCommandRunsInItsTurnAndLeavesTheKeyStateAsDocumented)
{
    struct Case {
        const char* Keys;
        Outcome Expected;
    };
    const std::vector<std::string> none;
    const std::vector<std::string> wallpaper{"wallpaper Skin/TarvokSkin0.bmp"};
    const std::vector<std::string> cleared{"clear wallpaper"};
    // clang-format off
    const Case cases[] = {
        // keys              skin built-in controls visible about menus desktop    Ctrl flag
        {"^C",              {1,   false,   true,    true,   0,    0,    none,      true}},
        {"^+C",             {1,   false,   true,    true,   0,    0,    none,      true}},  // Shift changes nothing
        {"^2C",             {2,   false,   true,    true,   0,    0,    none,      true}},  // each repeat changes it
        {"^CC_",            {2,   false,   true,    true,   0,    0,    none,      false}},
        {"^P",              {0,   false,   false,   true,   0,    0,    none,      true}},
        {"^2P",             {0,   false,   true,    true,   0,    0,    none,      true}},  // toggled twice
        {"^GJNQK",          {0,   false,   true,    true,   1,    0,    none,      false}},
        {"^NQJGK",          {0,   false,   true,    true,   1,    0,    none,      false}},
        {"^QKNJ",           {0,   true,    true,    true,   0,    0,    none,      false}}, // K first forgets Q
        {"^G_^J_^N_^Q_^K",  {0,   true,    true,    true,   0,    0,    none,      false}},
        {"^F",              {0,   false,   true,    true,   0,    1,    none,      false}},
        {"^H",              {0,   false,   true,    false,  0,    0,    none,      false}},
        {"^KH",             {0,   true,    true,    true,   0,    0,    none,      false}}, // H wants Ctrl anew
        {"^W",              {0,   false,   true,    true,   0,    0,    wallpaper, false}},
        {"^X",              {0,   false,   true,    true,   0,    0,    cleared,   false}},
        {"CGHKPWXF",        {0,   false,   true,    true,   0,    0,    none,      false}}, // no Ctrl, no command
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Keys);
        KeyWorld fresh; // every case starts from the same window
        fresh.Keys(c.Keys, fresh.Form().Controls().lbxSource);
        EXPECT_EQ(fresh.Seen(), c.Expected);
    }
}

TEST(KeyCommandsTest, CtrlCChangesTheSkinAndTheProjectsBoxStillCopies)
{
    KeyWorld window;
    window.Form().Controls().cbxProjects->lineEdit()->selectAll();
    QApplication::clipboard()->clear();
    window.Keys("^C", window.Form().Controls().cbxProjects);
    EXPECT_EQ(window.Seen().SkinNo, 1);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("MyPrj-1"));
}

// Counts the Ctrl+letter presses that reach a control.
class CtrlLetterCounter : public QObject {
public:
    int Count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers().testFlag(Qt::ControlModifier) && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z)
            ++Count;
        return false;
    }
};

// Qt on X11 deletes to the end of the line on Ctrl+K. The command letters
// other than Copy and Cut run their commands but never reach an edit box.
TEST(KeyCommandsTest, CommandLettersLeaveTheTextOfEditBoxesAlone)
{
    struct Case {
        const char* Keys;
        int Reached;
        bool BuiltInSkin;
        int AboutBoxes;
    };
    const Case cases[] = {
        {"^K", 0, true, 0},  {"^GJNQK", 0, false, 1}, {"^P", 0, false, 0},
        {"^W", 0, false, 0}, {"^F", 0, false, 0},     {"^C", 1, false, 0}, // Copy still copies
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Keys);
        KeyWorld window;
        QComboBox* box = window.Form().Controls().cbxProjects;
        box->lineEdit()->setCursorPosition(0);
        CtrlLetterCounter counter;
        box->installEventFilter(&counter);
        box->lineEdit()->installEventFilter(&counter);
        window.Keys(c.Keys, box);
        EXPECT_EQ(counter.Count, c.Reached);
        EXPECT_EQ(box->currentText(), QStringLiteral("MyPrj-1"));
        const Outcome seen = window.Seen();
        EXPECT_EQ(seen.BuiltInSkin, c.BuiltInSkin);
        EXPECT_EQ(seen.AboutBoxes, c.AboutBoxes);
    }
}

// The tray's menu over the hidden window takes Ctrl+F; the main menu stays
// shut, and the Ctrl released in the menu is forgotten.
TEST(KeyCommandsTest, AnOpenMenuTakesTheKeys)
{
    KeyWorld window;
    window.Form().hide();
    QMenu* tray = window.Form().Controls().RatMenu;
    tray->popup(QPoint(20, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == tray; }, 5000));
    QTest::keyClick(tray, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(tray, Qt::Key_C);
    EXPECT_TRUE(tray->isVisible());
    tray->close();
    const Outcome seen = window.Seen();
    EXPECT_EQ(seen.Menus, 0);
    EXPECT_EQ(seen.SkinNo, 0);
    EXPECT_FALSE(seen.CtrlFlag);
}

} // namespace
} // namespace tarvok::test
