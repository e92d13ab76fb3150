#include "MainTestWorld.h"
#include "ui/widgets/KeyPreview.h"
#include "ui/widgets/LineList.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace tarvok::test {
namespace {

constexpr uint16_t VkE = 0x45; // a letter no command uses
constexpr uint16_t VkG = 0x47;

// One key event, as the keyboard sends it; QTest's clicks with a modifier
// would press and release Ctrl around every letter.
void Send(QWidget* widget, bool press, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    QTest::simulateEvent(widget, press, key, modifiers, QString(), false);
}

TEST(KeyStatePreviewTest, QtKeysMapToVirtualKeyCodes)
{
    EXPECT_EQ(ui::VirtualKeyCode(Qt::Key_Control), VkControl);
    EXPECT_EQ(ui::VirtualKeyCode(Qt::Key_A), 0x41);
    EXPECT_EQ(ui::VirtualKeyCode(Qt::Key_Z), 0x5A);
    EXPECT_EQ(ui::VirtualKeyCode(Qt::Key_5), 0x35);
    EXPECT_EQ(ui::VirtualKeyCode(Qt::Key_F1), 0x70);
    EXPECT_EQ(ui::VirtualKeyCode(Qt::Key_Delete), 0x2E);
    EXPECT_EQ(ui::VirtualKeyCode(Qt::Key_Down), 0x28);
    EXPECT_EQ(ui::VirtualKeyCode(Qt::Key_Eacute), std::nullopt);
}

class MainKeyStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.Controls().lbxSource->setFocus();
    }

    MainWorld world;
    ui::TMainForm& form = world.Create();
};

TEST_F(MainKeyStateTest, LettersCountOnlyWhileCtrlIsHeld)
{
    QTest::keyClick(form.Controls().lbxSource, Qt::Key_G);
    EXPECT_FALSE(CtrlHeld(form.State().KeyState()));
    EXPECT_EQ(form.State().KeyState().Flags[VkG], 0);

    Send(form.Controls().lbxSource, true, Qt::Key_Control, Qt::NoModifier);
    Send(form.Controls().lbxSource, true, Qt::Key_G);
    Send(form.Controls().lbxSource, false, Qt::Key_G);
    Send(form.Controls().lbxSource, true, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(CtrlHeld(form.State().KeyState()));
    EXPECT_EQ(form.State().KeyState().Flags[VkG], 1);
    EXPECT_EQ(form.State().KeyState().Flags[VkE], 1);

    Send(form.Controls().lbxSource, false, Qt::Key_Control);
    EXPECT_FALSE(CtrlHeld(form.State().KeyState()));
    EXPECT_EQ(form.State().KeyState().Flags[VkG], 0);
}

TEST_F(MainKeyStateTest, EveryControlOfTheWindowIsPreviewed)
{
    form.Controls().cbxProjects->setFocus();
    Send(form.Controls().cbxProjects, true, Qt::Key_Control, Qt::NoModifier);
    Send(form.Controls().cbxProjects, true, Qt::Key_E);
    EXPECT_EQ(form.State().KeyState().Flags[VkE], 1);
    Send(form.Controls().cbxProjects, false, Qt::Key_Control);
    EXPECT_FALSE(CtrlHeld(form.State().KeyState()));
}

TEST_F(MainKeyStateTest, KeysStillReachTheFocusedControl)
{
    form.Controls().cbxProjects->setFocus();
    form.Controls().cbxProjects->lineEdit()->clear();
    // Flags set or not, the letters land in the box.
    QTest::keyClicks(form.Controls().cbxProjects, "ab");
    Send(form.Controls().cbxProjects, true, Qt::Key_Control, Qt::NoModifier);
    QTest::keyClicks(form.Controls().cbxProjects, "de");
    EXPECT_EQ(form.State().KeyState().Flags[VkE], 1);
    EXPECT_EQ(form.Controls().cbxProjects->currentText(), "abde");
}

// A drop-down list is a pop-up window of its own; what happens in it
// belongs to the main window all the same.
TEST_F(MainKeyStateTest, KeysInADropDownListReachTheKeyState)
{
    constexpr uint16_t VkH = 0x48;
    form.Controls().cbxTime->setEnabled(true);
    form.Controls().cbxTime->setFocus();
    Send(form.Controls().cbxTime, true, Qt::Key_Control, Qt::NoModifier);
    form.Controls().cbxTime->showPopup();
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QWidget* inList = popup->focusWidget() ? popup->focusWidget() : popup;
    Send(inList, false, Qt::Key_Control, Qt::NoModifier);
    EXPECT_FALSE(CtrlHeld(form.State().KeyState())) << "the release inside the list was missed";
    Send(inList, true, Qt::Key_Control, Qt::NoModifier);
    Send(inList, true, Qt::Key_G);
    EXPECT_EQ(form.State().KeyState().Flags[VkG], 1) << "presses inside the list count too";
    Send(inList, false, Qt::Key_Control);
    form.Controls().cbxTime->hidePopup();

    QTest::keyClick(form.Controls().cbxTime, Qt::Key_H);
    EXPECT_FALSE(CtrlHeld(form.State().KeyState()));
    EXPECT_EQ(form.State().KeyState().Flags[VkH], 0) << "a plain letter after the list sets no flag";
    EXPECT_EQ(form.State().KeyState().Flags[VkG], 0);
    EXPECT_TRUE(form.isVisible()) << "a plain h hid the window";
}

// A Ctrl released while the keyboard is elsewhere never reaches the window;
// a plain letter afterwards must not count as a command.
TEST_F(MainKeyStateTest, CtrlIsForgottenWhenTheWindowLosesTheKeyboard)
{
    QWidget otherProgram;
    QMessageBox ownBox(QMessageBox::NoIcon, "Tarvok", "Please select Source Files first", QMessageBox::Ok, &form);
    ownBox.setModal(true); // as a box opened with exec()
    const auto takeKeyboard = [&](QWidget* window) {
        window->show();
        // A box's window counts as active while its parent is; wait for the box itself.
        ASSERT_TRUE(QTest::qWaitFor([window] {
            window->activateWindow();
            return QApplication::activeWindow() == window;
        }));
        Send(window, false, Qt::Key_Control, Qt::NoModifier);
        window->hide();
    };
    const struct {
        const char* what;
        std::function<void()> loseKeyboard;
    } rows[] = {
        {"another window", [&] { takeKeyboard(&otherProgram); }},
        {"our own message box", [&] { takeKeyboard(&ownBox); }},
        {"the application inactive",
         [] {
             QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
             QApplication::sendEvent(qApp, &inactive);
         }},
    };
    for (const auto& row : rows) {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form)) << row.what;
        form.Controls().lbxSource->setFocus();
        Send(form.Controls().lbxSource, true, Qt::Key_Control, Qt::NoModifier);
        ASSERT_TRUE(CtrlHeld(form.State().KeyState()));
        row.loseKeyboard();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form)) << row.what;
        QTest::keyClick(form.Controls().lbxSource, Qt::Key_H);
        EXPECT_FALSE(CtrlHeld(form.State().KeyState())) << row.what;
        EXPECT_TRUE(form.isVisible()) << row.what << ": a plain h hid the window";
    }
}

TEST(KeyPreviewTest, AKeyTravellingToParentsCountsOnce)
{
    QWidget window;
    auto* button = new QPushButton(&window); // ignores letters, so they go on to the window
    int downs = 0;
    int ups = 0;
    ui::KeyPreview preview(
        &window, [&](uint16_t) { ++downs; }, [&](uint16_t) { ++ups; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Q);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    // Keys of other windows are not this window's business.
    QWidget other;
    other.show();
    QTest::keyClick(&other, Qt::Key_Q);
    EXPECT_EQ(downs, 1);
}

TEST(KeyPreviewTest, RepeatedReleasesDoNotCount)
{
    QWidget window;
    int ups = 0;
    ui::KeyPreview preview(
        &window, [](uint16_t) {}, [&](uint16_t) { ++ups; });
    window.show();
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&window, &repeated);
    EXPECT_EQ(ups, 0);
    QKeyEvent real(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
    QApplication::sendEvent(&window, &real);
    EXPECT_EQ(ups, 1);
}

} // namespace
} // namespace tarvok::test
