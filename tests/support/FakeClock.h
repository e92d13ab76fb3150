#pragma once
#include "base/Clock.h"
#include "core/Shell.h"

#include <string>
#include <vector>

namespace tarvok::test {

// A clock that shows whatever the test sets; with a TickStep, every look at
// the millisecond count finds it that much later.
class FakeClock : public Clock {
public:
    LocalTime Now() const override { return Time; }
    uint32_t TickCount() const override { return Ticks += TickStep; }

    LocalTime Time;
    mutable uint32_t Ticks = 0;
    uint32_t TickStep = 0;
};

// Records the files and addresses the program asked the desktop to open.
class FakeShell : public Shell {
public:
    void OpenDocument(const std::string& path) override { Opened.push_back(path); }
    void OpenUrl(const std::string& url) override { OpenedUrls.push_back(url); }
    std::vector<std::string> Opened;
    std::vector<std::string> OpenedUrls;
};

} // namespace tarvok::test
