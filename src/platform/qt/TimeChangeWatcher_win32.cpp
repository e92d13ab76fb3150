#include "platform/qt/TimeChangeWatcher.h"

#include "platform/qt/SystemMessages_win32.h"

#include <optional>

namespace tarvok::platform {

struct TimeChangeWatcher::Watch {
    std::optional<win32::SystemMessageWindow> window;
};

TimeChangeWatcher::TimeChangeWatcher(QObject* parent) : QObject(parent), watch_(std::make_unique<Watch>())
{
    watch_->window.emplace([this](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_TIMECHANGE)
            return false;
        // The setter waits for every window's answer: it gets it at once,
        // and the reactions run from the event loop.
        QMetaObject::invokeMethod(this, &TimeChangeWatcher::SystemTimeChanged, Qt::QueuedConnection);
        result = 0;
        return true;
    });
}

TimeChangeWatcher::~TimeChangeWatcher() = default;

bool TimeChangeWatcher::IsWatching() const { return watch_->window->Handle() != nullptr; }

} // namespace tarvok::platform
