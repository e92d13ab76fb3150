#pragma once
#include <QAbstractNativeEventFilter>
#include <QWindow>

#include <functional>

namespace tarvok::platform {

// Shows the window manager's requests to close a window (WM_DELETE_WINDOW
// on X11, WM_CLOSE on Windows) to `take` first, which answers whether it takes the request on: then Qt
// never sees it. Qt counts such a request as user input: held back while
// long work lets only other events through, and dropped when a box is open
// by the time it is delivered.
class CloseRequests : public QAbstractNativeEventFilter {
public:
    explicit CloseRequests(std::function<bool(WId window)> take);
    ~CloseRequests() override;
    CloseRequests(const CloseRequests&) = delete;
    CloseRequests& operator=(const CloseRequests&) = delete;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<bool(WId)> take_;
    bool installed_ = false;
    // The X11 atoms the request is made of; unused on Windows.
    unsigned long protocols_ = 0;
    unsigned long deleteWindow_ = 0;
};

} // namespace tarvok::platform
