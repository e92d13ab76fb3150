#include "platform/qt/SystemMessages_win32.h"

namespace tarvok::platform::win32 {
namespace {

constexpr wchar_t ClassName[] = L"TarvokSystemMessages";

bool RegisterClassOnce()
{
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = ClassName;
        return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

} // namespace

SystemMessageWindow::SystemMessageWindow(Handler handler) : handler_(std::move(handler))
{
    if (!RegisterClassOnce())
        return;
    // Never shown, and untitled: a search for our main window by its title
    // must not find it.
    window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, ClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    if (!window_)
        return;
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SystemMessageWindow::Procedure));
}

SystemMessageWindow::~SystemMessageWindow()
{
    if (window_)
        ::DestroyWindow(window_);
}

LRESULT CALLBACK SystemMessageWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The window keeps its object as an integer.
    auto* self = reinterpret_cast<SystemMessageWindow*>( // NOLINT(performance-no-int-to-ptr)
        ::GetWindowLongPtrW(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (self && self->handler_ && self->handler_(message, wParam, lParam, result))
        return result;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace tarvok::platform::win32
