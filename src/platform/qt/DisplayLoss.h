#pragma once
#include <functional>

namespace tarvok::platform {

// Runs `save` once when the connection to the X server breaks (a killed X
// server, a logout the program was not told of). Qt then says "The X11
// connection broke" and ends the program at once, from its event loop or
// from the first Xlib call on any connection; nothing of Qt may be used in
// `save`. One watch at a time: it puts itself in front of Qt's message output.
class DisplayLossWatch {
public:
    explicit DisplayLossWatch(std::function<void()> save);
    // Puts the previous message output back.
    ~DisplayLossWatch();
    DisplayLossWatch(const DisplayLossWatch&) = delete;
    DisplayLossWatch& operator=(const DisplayLossWatch&) = delete;
};

} // namespace tarvok::platform
