#pragma once
#include "base/Clock.h"

namespace tarvok::platform {

// Local time from the system clock; ticks from CLOCK_BOOTTIME, cut to 32 bits.
class SystemClock : public Clock {
public:
    LocalTime Now() const override;
    uint32_t TickCount() const override;
};

} // namespace tarvok::platform
