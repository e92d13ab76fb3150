#include "platform/qt/SessionEnd.h"

#include "platform/qt/SystemMessages_win32.h"

#include <optional>

namespace tarvok::platform {

// Windows raises no signal for a write to a closed pipe: the write fails.
void IgnoreBrokenPipes() {}

struct SessionEndWatcher::Handlers {
    std::optional<win32::SystemMessageWindow> window;
};

// The system asks every top-level window before a logout or shutdown
// (WM_QUERYENDSESSION) and then tells it the outcome (WM_ENDSESSION); once
// that returns, the process may be ended at any moment, so both are answered
// here and now. Qt's own commitDataRequest comes only through a window of
// Qt's that exists, which a program still hidden in the tray may not have.
SessionEndWatcher::SessionEndWatcher(QObject* parent) : QObject(parent), handlers_(std::make_unique<Handlers>())
{
    handlers_->window.emplace([this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message == WM_QUERYENDSESSION) {
            emit SaveRequested();
            result = TRUE;
            return true;
        }
        if (message == WM_ENDSESSION) {
            if (wParam)
                emit SessionEnding();
            result = 0;
            return true;
        }
        return false;
    });
}

SessionEndWatcher::~SessionEndWatcher() = default;

bool SessionEndWatcher::IsWatching() const { return handlers_->window->Handle() != nullptr; }

} // namespace tarvok::platform
