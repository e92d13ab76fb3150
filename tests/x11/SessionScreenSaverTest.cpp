#include "platform/qt/Desktop_linux.h"

#include <QDBusConnection>
#include <QObject>
#include <gtest/gtest.h>

#include <cstdlib>

namespace tarvok::test {

// A screen-saver service on the session bus that counts its activations.
class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    int Activations = 0;

public slots:
    bool SetActive(bool on)
    {
        Activations += on ? 1 : 0;
        return Answer;
    }

public:
    bool Answer = true;
};

namespace {

// Needs a session bus of its own: the script runs it under dbus-run-session.
TEST(SessionScreenSaverTest, TheSessionServiceIsAskedFirstAndTheServerOnlyWhenItRefuses)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        GTEST_SKIP() << "no session bus";
    FakeScreenSaver saver;
    ASSERT_TRUE(bus.registerObject("/org/freedesktop/ScreenSaver", &saver, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService("org.freedesktop.ScreenSaver"));
    ASSERT_EQ(std::system("xset s off"), 0);

    platform::LinuxDesktop desktop{"", ""};
    EXPECT_TRUE(desktop.StartScreenSaver()); // the X server's saver is off
    EXPECT_EQ(saver.Activations, 1);

    saver.Answer = false;
    EXPECT_FALSE(desktop.StartScreenSaver());
    EXPECT_EQ(std::system("xset s 600"), 0);
    EXPECT_TRUE(desktop.StartScreenSaver());

    bus.unregisterService("org.freedesktop.ScreenSaver");
    bus.unregisterObject("/org/freedesktop/ScreenSaver");
    EXPECT_EQ(std::system("xset s reset"), 0);
}

} // namespace
} // namespace tarvok::test

#include "SessionScreenSaverTest.moc"
