#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <functional>

namespace tarvok::platform::win32 {

// A hidden top-level window of our own for the messages the system sends
// to every top-level window (WM_TIMECHANGE, WM_QUERYENDSESSION,
// WM_ENDSESSION). They reach it whether or not a window of the program was
// ever shown, and without Qt's window procedure in between; a message-only
// window would get none of them. Qt's event loop dispatches to it.
class SystemMessageWindow {
public:
    // Answers whether it handled the message, with `result` set; else the
    // default processing follows.
    using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

    explicit SystemMessageWindow(Handler handler);
    ~SystemMessageWindow();
    SystemMessageWindow(const SystemMessageWindow&) = delete;
    SystemMessageWindow& operator=(const SystemMessageWindow&) = delete;

    // Null when the window could not be made.
    HWND Handle() const { return window_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Handler handler_;
    HWND window_ = nullptr;
};

} // namespace tarvok::platform::win32
