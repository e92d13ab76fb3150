#pragma once
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace tarvok::test {

// Runs `open`, which shows a modal dialog of type Dialog and waits for it,
// and drives that dialog with `drive` once it is open. A watchdog closes
// whatever modal window is left, so a failing test fails instead of hanging.
template <typename Dialog> void WhileModal(const std::function<void()>& open, const std::function<void(Dialog&)>& drive)
{
    bool driven = false;
    QTimer driver;
    driver.setInterval(10);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog || driven)
            return;
        driven = true;
        driver.stop();
        drive(*dialog);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    driver.start();
    watchdog.start(10000);
    open();
    EXPECT_TRUE(driven) << "the dialog never showed";
    EXPECT_TRUE(watchdog.isActive()) << "the watchdog had to close the dialog";
}

} // namespace tarvok::test
