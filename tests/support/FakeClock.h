#pragma once
#include "core/Clock.h"
#include "core/Shell.h"

#include <string>
#include <vector>

namespace tarvok::test {

// A clock that shows whatever the test sets.
class FakeClock : public Clock {
public:
    LocalTime Now() const override { return Time; }
    uint32_t TickCount() const override { return Ticks; }

    LocalTime Time;
    uint32_t Ticks = 0;
};

// Records the files the program asked the desktop to open.
class FakeShell : public Shell {
public:
    void OpenDocument(const std::string& path) override { Opened.push_back(path); }
    std::vector<std::string> Opened;
};

} // namespace tarvok::test
