#pragma once
#include <QObject>

#include <cstdint>

class QSocketNotifier;

namespace tarvok::platform {

// Tells when someone sets the system clock. A timerfd on CLOCK_REALTIME,
// armed far ahead with TFD_TIMER_CANCEL_ON_SET, becomes readable (read fails
// with ECANCELED) whenever the wall clock is set. The kernel cancels it on
// resume from suspend as well; that moves wall time and boot time alike, so
// it is told apart and not reported.
class TimeChangeWatcher : public QObject {
    Q_OBJECT
public:
    explicit TimeChangeWatcher(QObject* parent = nullptr);
    ~TimeChangeWatcher() override;
    TimeChangeWatcher(const TimeChangeWatcher&) = delete;
    TimeChangeWatcher& operator=(const TimeChangeWatcher&) = delete;

    // False when the kernel refused the timer; the watcher then stays silent.
    bool IsWatching() const;

signals:
    void SystemTimeChanged();

private:
    void OnReadable();
    bool Arm();
    void Stop();

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    // Wall clock minus boot clock when last armed, in nanoseconds.
    int64_t wallMinusBoot_ = 0;
};

} // namespace tarvok::platform
