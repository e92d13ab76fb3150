#pragma once
#include <cstdint>

namespace tarvok {

// Local date and time, broken down. DayOfWeek counts from Sunday = 0.
struct LocalTime {
    int Year = 2000;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
    int DayOfWeek = 6;
};

// The clock seam: the local time now and a millisecond count since boot.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
    virtual uint32_t TickCount() const = 0;
};

} // namespace tarvok
