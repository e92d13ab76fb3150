#include "platform/qt/X11Desktop_linux.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <cstdlib>
#include <optional>
#include <utility>

namespace tarvok::platform::x11 {
namespace {

// A window that vanished meanwhile, or a kept pixmap already freed, is no
// reason to end the program, which Xlib's own handler would do.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

// One connection of our own, with errors ignored while it is open.
class XConnection {
public:
    XConnection() : display_(XOpenDisplay(nullptr))
    {
        if (display_)
            previous_ = XSetErrorHandler(IgnoreError);
    }
    ~XConnection()
    {
        if (!display_)
            return;
        XSync(display_, False);
        XSetErrorHandler(previous_);
        XCloseDisplay(display_);
    }
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    Display* get() const { return display_; }
    Window Root() const { return DefaultRootWindow(display_); }
    Atom AtomNamed(const char* name) const { return XInternAtom(display_, name, False); }

private:
    Display* display_;
    XErrorHandler previous_ = nullptr;
};

// An 8-bit colour component placed in a visual's colour mask.
unsigned long Component(uint32_t value, unsigned long mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const unsigned long scaled = bits >= 8 ? value << (bits - 8) : value >> (8 - bits);
    return (scaled << shift) & mask;
}

std::optional<Pixmap> PixmapProperty(const XConnection& x, Atom property)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<Pixmap> result;
    if (XGetWindowProperty(x.get(), x.Root(), property, 0, 1, False, XA_PIXMAP, &type, &format, &count, &after,
                           &data) == Success &&
        type == XA_PIXMAP && format == 32 && count == 1)
        result = *reinterpret_cast<Pixmap*>(data);
    if (data)
        XFree(data);
    return result;
}

struct PixmapGeometry {
    unsigned Width = 0, Height = 0, Depth = 0;
    bool operator==(const PixmapGeometry&) const = default;
};

// The size and depth of a pixmap on our screen; nothing for an id that names
// no drawable (any more).
std::optional<PixmapGeometry> PixmapSize(const XConnection& x, Pixmap pixmap)
{
    Window root = None;
    int left = 0, top = 0;
    unsigned border = 0;
    PixmapGeometry size;
    if (pixmap == None ||
        !XGetGeometry(x.get(), pixmap, &root, &left, &top, &size.Width, &size.Height, &border, &size.Depth) ||
        root != x.Root())
        return std::nullopt;
    return size;
}

// The picture drawn once into a pixmap of its own size; None when the
// memory for it cannot be had.
Pixmap PictureAsPixmap(const XConnection& x, const Picture& picture, Visual* visual, int depth)
{
    Display* d = x.get();
    XImage* image = XCreateImage(d, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(picture.Width), static_cast<unsigned>(picture.Height), 32, 0);
    if (!image)
        return None;
    image->data = static_cast<char*>(std::malloc(static_cast<size_t>(image->bytes_per_line) * picture.Height));
    if (!image->data) {
        XDestroyImage(image);
        return None;
    }
    for (int y = 0; y < picture.Height; ++y) {
        for (int x0 = 0; x0 < picture.Width; ++x0) {
            const uint32_t rgb = picture.Pixels[static_cast<size_t>(y) * picture.Width + x0];
            XPutPixel(image, x0, y,
                      Component((rgb >> 16) & 0xff, visual->red_mask) |
                          Component((rgb >> 8) & 0xff, visual->green_mask) | Component(rgb & 0xff, visual->blue_mask));
        }
    }
    Pixmap pixmap = XCreatePixmap(d, x.Root(), static_cast<unsigned>(picture.Width),
                                  static_cast<unsigned>(picture.Height), static_cast<unsigned>(depth));
    GC gc = XCreateGC(d, pixmap, 0, nullptr);
    XPutImage(d, pixmap, gc, image, 0, 0, 0, 0, static_cast<unsigned>(picture.Width),
              static_cast<unsigned>(picture.Height));
    XFreeGC(d, gc);
    XDestroyImage(image);
    return pixmap;
}

// The root property that names our kept pixmap, which xfdesktop leaves alone.
constexpr const char* OwnPixmapProperty = "_TARVOK_ROOTPMAP_ID";

// A pixmap as Set makes them: the screen's size and depth.
bool ScreenSized(const XConnection& x, Pixmap pixmap)
{
    Display* d = x.get();
    const int screen = DefaultScreen(d);
    return PixmapSize(x, pixmap) == PixmapGeometry{static_cast<unsigned>(DisplayWidth(d, screen)),
                                                   static_cast<unsigned>(DisplayHeight(d, screen)),
                                                   static_cast<unsigned>(DefaultDepth(d, screen))};
}

// Frees the pixmap a Set left in the server, ours or one kept by the
// convention; gives the pixmap freed.
std::optional<Pixmap> FreeKept(const XConnection& x, RootBackground::Kept& ours)
{
    const RootBackground::Kept kept = std::exchange(ours, RootBackground::Kept{});
    std::optional<Pixmap> freed;
    // A kept pixmap that someone else freed must not be mistaken for a new
    // client's resource that took over its id.
    if (kept.Id != 0 && PixmapSize(x, kept.Id) == PixmapGeometry{kept.Width, kept.Height, kept.Depth}) {
        freed = kept.Id;
    } else if (const auto earlier = PixmapProperty(x, x.AtomNamed(OwnPixmapProperty));
               earlier && ScreenSized(x, *earlier)) {
        // An earlier run's, which ended without a Clear.
        freed = earlier;
    } else {
        // A pixmap published in both properties was kept by its setter (an
        // earlier run of ours, or a program following the same convention)
        // for the next one to free.
        const auto shown = PixmapProperty(x, x.AtomNamed("_XROOTPMAP_ID"));
        const auto set = PixmapProperty(x, x.AtomNamed("ESETROOT_PMAP_ID"));
        if (shown && set && *shown == *set)
            freed = *set;
    }
    if (freed)
        XKillClient(x.get(), *freed);
    return freed;
}

} // namespace

bool RootBackground::Set(const Picture& picture)
{
    constexpr int MaxSide = 32767; // the protocol's limit for a pixmap
    if (picture.Width <= 0 || picture.Height <= 0 || picture.Width > MaxSide || picture.Height > MaxSide ||
        picture.Pixels.size() != static_cast<size_t>(picture.Width) * picture.Height)
        return false;
    XConnection x;
    Display* d = x.get();
    if (!d)
        return false;
    const int screen = DefaultScreen(d);
    Visual* visual = DefaultVisual(d, screen);
    if (visual->c_class != TrueColor && visual->c_class != DirectColor)
        return false;
    const int depth = DefaultDepth(d, screen);

    // A whole-screen pixmap, so programs that draw on the published
    // background (transparent terminals, panels) find it complete.
    const Pixmap tile = PictureAsPixmap(x, picture, visual, depth);
    if (tile == None)
        return false;
    const auto width = static_cast<unsigned>(DisplayWidth(d, screen));
    const auto height = static_cast<unsigned>(DisplayHeight(d, screen));
    const Pixmap background = XCreatePixmap(d, x.Root(), width, height, static_cast<unsigned>(depth));
    GC gc = XCreateGC(d, background, 0, nullptr);
    XSetTile(d, gc, tile);
    XSetFillStyle(d, gc, FillTiled);
    XFillRectangle(d, background, gc, 0, 0, width, height);
    XFreeGC(d, gc);
    XFreePixmap(d, tile);

    FreeKept(x, kept_);
    XSetWindowBackgroundPixmap(d, x.Root(), background);
    XClearWindow(d, x.Root());
    for (const char* name : {"_XROOTPMAP_ID", "ESETROOT_PMAP_ID", OwnPixmapProperty})
        XChangeProperty(d, x.Root(), x.AtomNamed(name), XA_PIXMAP, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&background), 1);
    // The pixmap outlives this connection, for the rest of the session.
    XSetCloseDownMode(d, RetainPermanent);
    kept_ = {background, width, height, static_cast<unsigned>(depth)};
    return true;
}

bool RootBackground::Clear()
{
    XConnection x;
    Display* d = x.get();
    if (!d)
        return false;
    const std::optional<Pixmap> freed = FreeKept(x, kept_);
    for (const char* name : {"_XROOTPMAP_ID", "ESETROOT_PMAP_ID", OwnPixmapProperty}) {
        const Atom property = x.AtomNamed(name);
        if (freed && PixmapProperty(x, property) == freed)
            XDeleteProperty(d, x.Root(), property);
    }
    // The root shows the background a desktop program still publishes, else
    // the server's default (None). Either way the root lets go of ours,
    // whose memory it would hold otherwise.
    const auto shown = PixmapProperty(x, x.AtomNamed("_XROOTPMAP_ID"));
    const auto size = shown ? PixmapSize(x, *shown) : std::nullopt;
    const bool live = size && size->Depth == static_cast<unsigned>(DefaultDepth(d, DefaultScreen(d)));
    XSetWindowBackgroundPixmap(d, x.Root(), live ? *shown : None);
    XClearWindow(d, x.Root());
    return true;
}

bool ForceScreenSaver()
{
    XConnection x;
    if (!x.get())
        return false;
    int timeout = 0, interval = 0, preferBlanking = 0, allowExposures = 0;
    XGetScreenSaver(x.get(), &timeout, &interval, &preferBlanking, &allowExposures);
    if (timeout == 0)
        return false;
    XForceScreenSaver(x.get(), ScreenSaverActive);
    return true;
}

struct TopLevelWindows::Connection : XConnection {};

TopLevelWindows::TopLevelWindows() : connection_(std::make_unique<Connection>()) {}

TopLevelWindows::~TopLevelWindows() = default;

bool TopLevelWindows::Connected() const { return connection_->get() != nullptr; }

std::vector<uint64_t> TopLevelWindows::List()
{
    std::vector<uint64_t> windows;
    if (!Connected())
        return windows;
    Display* d = connection_->get();
    const Window root = connection_->Root();

    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool managed = XGetWindowProperty(d, root, connection_->AtomNamed("_NET_CLIENT_LIST"), 0, 1 << 16, False,
                                            XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
                         type == XA_WINDOW && format == 32;
    if (managed) {
        const auto* list = reinterpret_cast<const Window*>(data);
        windows.assign(list, list + count);
    }
    if (data)
        XFree(data);
    if (managed)
        return windows;

    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, root, &rootReturn, &parent, &children, &n))
        return windows;
    for (unsigned int i = 0; i < n; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(d, children[i], &attributes) && attributes.map_state == IsViewable)
            windows.push_back(children[i]);
    }
    if (children)
        XFree(children);
    return windows;
}

std::string TopLevelWindows::Title(uint64_t window)
{
    if (!Connected())
        return {};
    Display* d = connection_->get();
    const Atom utf8 = connection_->AtomNamed("UTF8_STRING");
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(d, window, connection_->AtomNamed("_NET_WM_NAME"), 0, 1 << 16, False, utf8, &type, &format,
                           &count, &after, &data) == Success &&
        type == utf8 && format == 8)
        title.assign(reinterpret_cast<const char*>(data), count);
    if (data)
        XFree(data);
    if (!title.empty())
        return title;

    XTextProperty name{};
    if (!XGetWMName(d, window, &name) || !name.value)
        return {};
    char** list = nullptr;
    int items = 0;
    if (Xutf8TextPropertyToTextList(d, &name, &list, &items) >= Success && items > 0 && list)
        title = list[0];
    else
        title.assign(reinterpret_cast<const char*>(name.value), name.nitems);
    if (list)
        XFreeStringList(list);
    XFree(name.value);
    return title;
}

std::string TopLevelWindows::ClassName(uint64_t window)
{
    if (!Connected())
        return {};
    XClassHint hint{};
    if (!XGetClassHint(connection_->get(), window, &hint))
        return {};
    std::string name = hint.res_class ? hint.res_class : "";
    if (hint.res_name)
        XFree(hint.res_name);
    if (hint.res_class)
        XFree(hint.res_class);
    return name;
}

void TopLevelWindows::Hide(uint64_t window)
{
    if (!Connected())
        return;
    XWithdrawWindow(connection_->get(), window, DefaultScreen(connection_->get()));
    XSync(connection_->get(), False);
}

} // namespace tarvok::platform::x11
