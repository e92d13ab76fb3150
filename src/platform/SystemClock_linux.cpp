#include "platform/SystemClock.h"

#include <ctime>
#include <sys/time.h>

namespace tarvok::platform {

LocalTime SystemClock::Now() const
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    const time_t seconds = now.tv_sec;
    ::localtime_r(&seconds, &local);
    return LocalTime{local.tm_year + 1900,
                     local.tm_mon + 1,
                     local.tm_mday,
                     local.tm_hour,
                     local.tm_min,
                     local.tm_sec,
                     static_cast<int>(now.tv_nsec / 1000000),
                     local.tm_wday};
}

uint32_t SystemClock::TickCount() const
{
    timespec boot{};
    ::clock_gettime(CLOCK_BOOTTIME, &boot);
    const uint64_t ms = static_cast<uint64_t>(boot.tv_sec) * 1000u + static_cast<uint64_t>(boot.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

} // namespace tarvok::platform
