#pragma once
#include <QObject>

#include <memory>

namespace tarvok::platform {

// Tells when someone sets the system clock: on Linux a timer the kernel
// cancels when the wall clock is set, on Windows the WM_TIMECHANGE the
// system and the clock's setters broadcast.
class TimeChangeWatcher : public QObject {
    Q_OBJECT
public:
    explicit TimeChangeWatcher(QObject* parent = nullptr);
    ~TimeChangeWatcher() override;
    TimeChangeWatcher(const TimeChangeWatcher&) = delete;
    TimeChangeWatcher& operator=(const TimeChangeWatcher&) = delete;

    // False when the system refused what the watch needs; the watcher then
    // stays silent.
    bool IsWatching() const;

signals:
    void SystemTimeChanged();

private:
    struct Watch;
    std::unique_ptr<Watch> watch_;
};

} // namespace tarvok::platform
