// Sends a window manager's message to a window, as a window manager does:
//   x11_window_message WINDOW ping DEADLINE_MS   _NET_WM_PING; waits for the
//     window's answer and prints the wall-clock time it came, in milliseconds
//     since the epoch (status 1 when none came before the deadline)
//   x11_window_message WINDOW close              WM_DELETE_WINDOW
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace {

long long NowMs(std::chrono::system_clock::time_point t)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
}

void Send(Display* display, Window window, Atom protocol, long stamp)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(protocol);
    event.xclient.data.l[1] = stamp;
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || (std::strcmp(argv[2], "ping") == 0 && argc != 4)) {
        std::fprintf(stderr, "usage: %s WINDOW ping DEADLINE_MS | WINDOW close\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    const Window window = std::strtoul(argv[1], nullptr, 0);
    if (std::strcmp(argv[2], "close") == 0) {
        Send(display, window, XInternAtom(display, "WM_DELETE_WINDOW", False), CurrentTime);
        XCloseDisplay(display);
        return 0;
    }
    // The answer goes to the root window, to whoever watches its structure
    // (Qt's choice of mask; a window manager watches that too).
    XSelectInput(display, DefaultRootWindow(display), StructureNotifyMask);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    const long stamp = 4242 + getpid();
    Send(display, window, ping, stamp);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atoi(argv[3]));
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == ping &&
                event.xclient.data.l[1] == stamp) {
                std::printf("%lld\n", NowMs(std::chrono::system_clock::now()));
                XCloseDisplay(display);
                return 0;
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            XCloseDisplay(display);
            return 1;
        }
        pollfd readable{ConnectionNumber(display), POLLIN, 0};
        ::poll(&readable, 1, static_cast<int>(left.count()));
    }
}
