#pragma once
#include <QAbstractNativeEventFilter>
#include <QPoint>
#include <QWindow>

#include <functional>
#include <optional>

namespace tarvok::platform {

// Shows the window manager's requests to close a window (WM_DELETE_WINDOW
// on X11, WM_CLOSE on Windows) to `take` first, which answers whether it takes the request on: then Qt
// never sees it. Qt counts such a request as user input: held back while
// long work lets only other events through, and dropped when a box is open
// by the time it is delivered. On X11 `take` also sees each press of the
// first pointer button, with its point in the window's pixels, for the close
// button a window draws itself: Qt holds such a press back and drops it the
// same way.
class CloseRequests : public QAbstractNativeEventFilter {
public:
    // `pressedAt` is empty for the window manager's request.
    using Take = std::function<bool(WId window, std::optional<QPoint> pressedAt)>;
    explicit CloseRequests(Take take);
    ~CloseRequests() override;
    CloseRequests(const CloseRequests&) = delete;
    CloseRequests& operator=(const CloseRequests&) = delete;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    Take take_;
    bool installed_ = false;
    // The X11 atoms the request is made of, and the X Input extension's
    // opcode (Qt takes the pointer through it); unused on Windows.
    [[maybe_unused]] unsigned long protocols_ = 0;
    [[maybe_unused]] unsigned long deleteWindow_ = 0;
    [[maybe_unused]] int inputOpcode_ = -1;
};

} // namespace tarvok::platform
