#include "ui/widgets/KeyboardReturn.h"
#include "ModalDriver.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>

namespace tarvok::test {
namespace {

// The name of the window that has the keyboard once a box opened by `open`
// closed and the events after it ran.
std::string ActiveAfterBox(const std::function<void(QDialog&)>& open)
{
    WhileModal<QDialog>(
        [&] {
            QDialog box;
            open(box);
        },
        [](QDialog& box) { box.accept(); });
    QApplication::processEvents();
    const QWidget* active = QApplication::activeWindow();
    return active ? active->objectName().toStdString() : "none";
}

// Some window managers give the focus to a window of their own when a box
// closes; offscreen nothing gives it back either.
TEST(KeyboardReturnTest, TheWindowBelowAClosedBoxGetsTheKeyboard)
{
    QWidget main;
    main.setObjectName(QStringLiteral("main"));
    new ui::KeyboardReturn(main);
    const struct {
        const char* what;
        Qt::WindowState window; // WindowActive: hidden
        bool overDialog;
        const char* active;
    } rows[] = {
        {"a box over the shown window", Qt::WindowNoState, false, "main"},
        {"a box over a dialog", Qt::WindowNoState, true, "dialog"},
        {"a box while the window is hidden", Qt::WindowActive, false, "none"},
        {"a box while the window is minimised", Qt::WindowMinimized, false, "none"},
    };
    for (const auto& row : rows) {
        main.setWindowState(row.window == Qt::WindowActive ? Qt::WindowNoState : row.window);
        main.setVisible(row.window != Qt::WindowActive);
        std::string active;
        if (row.overDialog) {
            QDialog dialog(&main);
            dialog.setObjectName(QStringLiteral("dialog"));
            WhileModal<QDialog>([&] { dialog.exec(); },
                                [&](QDialog& shown) {
                                    active = ActiveAfterBox([&](QDialog& box) {
                                        box.setParent(&shown, Qt::Dialog);
                                        box.exec();
                                    });
                                    shown.accept();
                                });
        } else {
            active = ActiveAfterBox([](QDialog& box) { box.exec(); });
        }
        EXPECT_EQ(active, row.active) << row.what;
    }
}

} // namespace
} // namespace tarvok::test
