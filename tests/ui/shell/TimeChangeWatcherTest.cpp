#include "platform/qt/TimeChangeWatcher.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using tarvok::platform::TimeChangeWatcher;

namespace {

// What /proc says about this process's realtime timerfds.
struct TimerFdInfo {
    std::string SettimeFlags;
    long long SecondsLeft = 0;
};

std::vector<TimerFdInfo> RealtimeTimerFds()
{
    std::vector<TimerFdInfo> timers;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fdinfo")) {
        std::ifstream in(entry.path());
        std::string line;
        bool realtime = false;
        TimerFdInfo info;
        while (std::getline(in, line)) {
            if (line.rfind("clockid:", 0) == 0)
                realtime = std::stoi(line.substr(8)) == 0;
            else if (line.rfind("settime flags:", 0) == 0)
                info.SettimeFlags = line.substr(line.find_first_not_of(" \t", 14));
            else if (line.rfind("it_value: (", 0) == 0)
                info.SecondsLeft = std::stoll(line.substr(11));
        }
        if (realtime && !info.SettimeFlags.empty())
            timers.push_back(info);
    }
    return timers;
}

} // namespace

TEST(TimeChangeWatcher, ArmsACancelOnSetTimerFarAheadAndStaysQuiet)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: a timer the kernel cancels; Windows tells the clock's change to every window";
#endif
    const size_t before = RealtimeTimerFds().size();
    {
        TimeChangeWatcher watcher;
        ASSERT_TRUE(watcher.IsWatching());
        QSignalSpy changed(&watcher, &TimeChangeWatcher::SystemTimeChanged);

        const auto timers = RealtimeTimerFds();
        ASSERT_EQ(timers.size(), before + 1);
        // One of them is ours: TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET,
        // more than a year ahead.
        const auto armedAhead = std::count_if(timers.begin(), timers.end(), [](const TimerFdInfo& t) {
            return t.SettimeFlags == "03" && t.SecondsLeft > 365LL * 24 * 3600;
        });
        EXPECT_GE(armedAhead, 1);

        QCoreApplication::processEvents();
        EXPECT_EQ(changed.count(), 0);
    }
    EXPECT_EQ(RealtimeTimerFds().size(), before);
}
