#pragma once
#include <QThread>

#include <chrono>
#include <functional>

namespace tarvok::test {

// Polls `ready` until it holds or 10 s have gone by. The X server works on
// its own, so there is no event loop of ours to run meanwhile.
inline bool WaitFor(const std::function<bool()>& ready)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
        if (ready())
            return true;
        QThread::msleep(50);
    }
    return false;
}

} // namespace tarvok::test
