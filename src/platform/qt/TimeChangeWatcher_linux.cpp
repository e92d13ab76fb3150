#include "platform/qt/TimeChangeWatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

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

TimeChangeWatcher::TimeChangeWatcher(QObject* parent) : QObject(parent)
{
    fd_ = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd_ < 0)
        return;
    if (!Arm()) {
        Stop();
        return;
    }
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TimeChangeWatcher::OnReadable);
}

TimeChangeWatcher::~TimeChangeWatcher() { Stop(); }

bool TimeChangeWatcher::IsWatching() const { return fd_ >= 0; }

bool TimeChangeWatcher::Arm()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    itimerspec spec{};
    spec.it_value.tv_sec = now.tv_sec + ArmAheadSeconds;
    wallMinusBoot_ = WallMinusBoot();
    return ::timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &spec, nullptr) == 0;
}

void TimeChangeWatcher::OnReadable()
{
    uint64_t expirations = 0;
    if (::read(fd_, &expirations, sizeof expirations) >= 0) {
        // Ten years went by: arm again.
        if (!Arm())
            Stop();
        return;
    }
    if (errno == EAGAIN || errno == EINTR)
        return;
    if (errno != ECANCELED) {
        Stop();
        return;
    }
    const int64_t before = wallMinusBoot_;
    if (!Arm())
        Stop();
    if (std::llabs(wallMinusBoot_ - before) >= ClockStepNanoseconds)
        emit SystemTimeChanged();
}

void TimeChangeWatcher::Stop()
{
    // May run inside the notifier's own signal, so it is only switched off;
    // it goes with its parent.
    if (notifier_)
        notifier_->setEnabled(false);
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace tarvok::platform
