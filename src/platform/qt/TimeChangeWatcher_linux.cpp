#include "platform/qt/TimeChangeWatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

// A timerfd on CLOCK_REALTIME, armed far ahead with TFD_TIMER_CANCEL_ON_SET,
// becomes readable (read fails with ECANCELED) whenever the wall clock is
// set. The kernel cancels it on resume from suspend as well; that moves wall
// time and boot time alike, so it is told apart and not reported.
namespace tarvok::platform {

namespace {

// Far enough ahead never to expire in practice; taken from now rather than as
// an absolute maximum so that the value stays in range for tools that shift
// the clock (faketime) and after the clock is set far forward.
constexpr time_t ArmAheadSeconds = time_t{10} * 365 * 24 * 3600;

// Smaller differences are reading jitter between the two clocks, not a set.
constexpr int64_t ClockStepNanoseconds = 100'000'000;

int64_t Nanoseconds(clockid_t clock)
{
    timespec now{};
    ::clock_gettime(clock, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

int64_t WallMinusBoot() { return Nanoseconds(CLOCK_REALTIME) - Nanoseconds(CLOCK_BOOTTIME); }

} // namespace

struct TimeChangeWatcher::Watch {
    int fd = -1;
    QSocketNotifier* notifier = nullptr;
    // Wall clock minus boot clock when last armed, in nanoseconds.
    int64_t wallMinusBoot = 0;

    bool Arm()
    {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        itimerspec spec{};
        spec.it_value.tv_sec = now.tv_sec + ArmAheadSeconds;
        wallMinusBoot = WallMinusBoot();
        return ::timerfd_settime(fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &spec, nullptr) == 0;
    }

    void Stop()
    {
        // May run inside the notifier's own signal, so it is only switched
        // off; it goes with its parent.
        if (notifier)
            notifier->setEnabled(false);
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

    // True when the wall clock was set.
    bool OnReadable()
    {
        uint64_t expirations = 0;
        if (::read(fd, &expirations, sizeof expirations) >= 0) {
            // Ten years went by: arm again.
            if (!Arm())
                Stop();
            return false;
        }
        if (errno == EAGAIN || errno == EINTR)
            return false;
        if (errno != ECANCELED) {
            Stop();
            return false;
        }
        const int64_t before = wallMinusBoot;
        if (!Arm())
            Stop();
        return std::llabs(wallMinusBoot - before) >= ClockStepNanoseconds;
    }
};

TimeChangeWatcher::TimeChangeWatcher(QObject* parent) : QObject(parent), watch_(std::make_unique<Watch>())
{
    watch_->fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (watch_->fd < 0)
        return;
    if (!watch_->Arm()) {
        watch_->Stop();
        return;
    }
    watch_->notifier = new QSocketNotifier(watch_->fd, QSocketNotifier::Read, this);
    connect(watch_->notifier, &QSocketNotifier::activated, this, [this] {
        if (watch_->OnReadable())
            emit SystemTimeChanged();
    });
}

TimeChangeWatcher::~TimeChangeWatcher() { watch_->Stop(); }

bool TimeChangeWatcher::IsWatching() const { return watch_->fd >= 0; }

} // namespace tarvok::platform
