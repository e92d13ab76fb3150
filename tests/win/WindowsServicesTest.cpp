// The desktop services on Windows: one copy at a time and its wake-up, the
// clock and session messages the system broadcasts, the taskbar mark.
#include "ScratchFolder.h"
#include "platform/qt/SessionEnd.h"
#include "platform/qt/SingleInstance.h"
#include "platform/qt/SkipTaskbar.h"
#include "platform/qt/TimeChangeWatcher.h"
#include "ui/widgets/LocalText.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <vector>

namespace tarvok::test {
namespace {

// Runs the event loop until `ready` holds or 10 s have gone by.
bool WaitFor(const std::function<bool()>& ready)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// The hidden windows of this thread that hear the system's broadcasts.
std::vector<HWND> MessageWindows()
{
    std::vector<HWND> found;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM list) {
            wchar_t name[64] = {};
            ::GetClassNameW(window, name, 64);
            if (std::wstring(name) == L"TarvokSystemMessages")
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST(WindowsServicesTest, ASecondCopyFindsTheFirstAndWakesIt)
{
    ScratchFolder dir;
    platform::InstanceLock first(dir.Path(), "TarvokWake");
    ASSERT_FALSE(first.AnotherCopyRuns());
    EXPECT_EQ(first.SocketPath().rfind("TarvokWake-S-1-", 0), 0u) << first.SocketPath() << ": not the user's own pipe";
    platform::WakeUpServer server(first.SocketPath());
    ASSERT_TRUE(server.Listen());
    int wakeUps = 0;
    QObject::connect(&server, &platform::WakeUpServer::WakeUpRequested, [&wakeUps] { ++wakeUps; });

    platform::InstanceLock second(dir.Path(), "TarvokWake");
    EXPECT_TRUE(second.AnotherCopyRuns());
    // The pipe hands the message over only as the first copy reads it: the
    // second runs beside this thread's event loop, as another process would.
    for (int i = 1; i <= 2; ++i) {
        std::future<bool> sent =
            std::async(std::launch::async, [&second] { return second.WakeRunningCopy(std::chrono::seconds(2)); });
        EXPECT_TRUE(WaitFor([&] { return wakeUps == i; })) << "wake-up " << i;
        EXPECT_TRUE(sent.get());
    }
}

TEST(WindowsServicesTest, AWakeUpNobodyReadsGivesUpInTime)
{
    ScratchFolder dir;
    platform::InstanceLock first(dir.Path(), "TarvokHung");
    ASSERT_FALSE(first.AnotherCopyRuns());
    platform::WakeUpServer server(first.SocketPath());
    ASSERT_TRUE(server.Listen());
    // This thread runs no event loop meanwhile: a copy that hangs. Whether
    // the pipe buffers the message is the system's affair; the caller comes
    // back either way.
    const auto start = std::chrono::steady_clock::now();
    platform::InstanceLock(dir.Path(), "TarvokHung").WakeRunningCopy(std::chrono::milliseconds(500));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// Windows gives a gone copy's process id to the next process, also after a
// restart: only a lock file that is held open counts.
TEST(WindowsServicesTest, ALockLeftByAGoneCopyIsTakenOver)
{
    for (const std::string& pid : {std::string("999999"), std::to_string(::GetCurrentProcessId())}) {
        SCOPED_TRACE(pid);
        ScratchFolder dir;
        // What QLockFile writes: the process id, the program, the host.
        Put(dir / "TarvokGone.lock", pid + "\nTarvok\nsomewhere\n");
        platform::InstanceLock lock(dir.Path(), "TarvokGone");
        EXPECT_FALSE(lock.AnotherCopyRuns());
        platform::InstanceLock next(dir.Path(), "TarvokGone");
        EXPECT_TRUE(next.AnotherCopyRuns()) << "the lock was not taken";
    }
}

TEST(WindowsServicesTest, TheSystemsBroadcastsReachTheWatchers)
{
    platform::TimeChangeWatcher clock;
    platform::SessionEndWatcher session;
    ASSERT_TRUE(clock.IsWatching());
    ASSERT_TRUE(session.IsWatching());
    int changes = 0, saves = 0, ends = 0;
    QObject::connect(&clock, &platform::TimeChangeWatcher::SystemTimeChanged, [&] { ++changes; });
    QObject::connect(&session, &platform::SessionEndWatcher::SaveRequested, [&] { ++saves; });
    QObject::connect(&session, &platform::SessionEndWatcher::SessionEnding, [&] { ++ends; });
    const std::vector<HWND> windows = MessageWindows();
    ASSERT_EQ(windows.size(), 2u);

    const struct {
        UINT Message;
        WPARAM Param;
        LRESULT Answer;
        int Changes, Saves, Ends;
    } steps[] = {
        {WM_TIMECHANGE, 0, 0, 1, 0, 0},
        {WM_QUERYENDSESSION, 0, TRUE, 1, 1, 0},
        {WM_ENDSESSION, FALSE, 0, 1, 1, 0}, // the logout was cancelled
        {WM_ENDSESSION, TRUE, 0, 1, 1, 1},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Message);
        // As the system sends them: to every top-level window, each answering.
        for (HWND window : windows) {
            const LRESULT answer = ::SendMessageW(window, step.Message, step.Param, 0);
            if (step.Message == WM_QUERYENDSESSION) {
                EXPECT_EQ(answer, step.Answer) << "a window refused the logout";
            }
        }
        EXPECT_TRUE(WaitFor([&] { return changes == step.Changes; }));
        EXPECT_EQ(saves, step.Saves) << "saved before the answer";
        EXPECT_EQ(ends, step.Ends);
    }
}

TEST(WindowsServicesTest, AMarkedWindowGetsNoTaskbarButton)
{
    QWindow window;
    window.setFlags(Qt::Window | Qt::FramelessWindowHint);
    window.create();
    platform::MarkSkipTaskbar(&window);
    platform::MarkSkipTaskbar(&window);
    const auto style = ::GetWindowLongPtrW(reinterpret_cast<HWND>(window.winId()), GWL_EXSTYLE);
    EXPECT_NE(style & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(style & WS_EX_APPWINDOW, 0);
}

// The file layer gives the window UTF-8, whatever the ANSI code page.
TEST(WindowsServicesTest, NamesReachTheWindowAndComeBackWhole)
{
    for (const char16_t* name : {u"Gr\u00fc\u00dfe.txt", u"\u65e5\u672c.bmp", u"\u0393\u03b5\u03b9\u03ac \U0001F600"}) {
        const QString text = QString::fromUtf16(name);
        const std::string bytes = text.toUtf8().toStdString();
        EXPECT_EQ(ui::Local(bytes), text);
        EXPECT_EQ(ui::FromLocal(text), bytes);
    }
}

} // namespace
} // namespace tarvok::test

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
