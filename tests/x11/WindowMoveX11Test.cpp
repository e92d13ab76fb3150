#include "WaitFor.h"
#include "platform/qt/WindowMove_linux.h"

#include <gtest/gtest.h>

// Last: Xlib's macros would clash with the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace tarvok::test {
namespace {

QPoint Origin(Display* display, Window window)
{
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return {x, y};
}

bool HasProperty(Display* display, Window window, const char* name)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long rest = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1, False, AnyPropertyType, &type, &format,
                       &count, &rest, &data);
    if (data)
        XFree(data);
    return type != None;
}

// Run bare and under openbox: without a window manager nothing is handed
// over; with one, the window keeps the pressed point under the pointer
// wherever the pointer was when the move was asked for, and a withdrawn
// move puts the window back.
TEST(WindowMoveX11Test, TheManagersMoveIsAnchoredAtThePressAndCanBeWithdrawn)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const Window root = DefaultRootWindow(display);
    const Window window = XCreateSimpleWindow(display, root, 300, 250, 200, 150, 0, 0, 0);
    XStoreName(display, window, "move test");
    XMapWindow(display, window);
    XSync(display, False);

    if (!HasProperty(display, root, "_NET_SUPPORTING_WM_CHECK")) {
        EXPECT_FALSE(platform::StartWindowMove(display, window, QPoint(20, 30)));
    } else {
        ASSERT_TRUE(WaitFor([&] { return HasProperty(display, window, "WM_STATE"); }));
        const QPoint start = Origin(display, window);
        XWarpPointer(display, None, window, 0, 0, 0, 0, 150, 100); // away from the pressed point
        XSync(display, False);
        ASSERT_TRUE(platform::StartWindowMove(display, window, QPoint(20, 30)));
        // The manager follows the pointer once it has taken it.
        const QPoint pointer = start + QPoint(100, 60);
        EXPECT_TRUE(WaitFor([&] {
            XWarpPointer(display, None, root, 0, 0, 0, 0, pointer.x() + 1, pointer.y());
            XWarpPointer(display, None, root, 0, 0, 0, 0, pointer.x(), pointer.y());
            XSync(display, False);
            return Origin(display, window) == pointer - QPoint(20, 30);
        })) << "at "
            << Origin(display, window).x() << "," << Origin(display, window).y();

        platform::CancelWindowMove(display, window);
        EXPECT_TRUE(WaitFor([&] { return Origin(display, window) == start; }));
    }
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}

} // namespace
} // namespace tarvok::test
