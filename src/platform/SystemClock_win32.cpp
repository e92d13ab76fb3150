#include "platform/SystemClock.h"

#include "platform/Win32Files_win32.h"

namespace tarvok::platform {

LocalTime SystemClock::Now() const
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return LocalTime{now.wYear,   now.wMonth,  now.wDay,          now.wHour,
                     now.wMinute, now.wSecond, now.wMilliseconds, now.wDayOfWeek};
}

uint32_t SystemClock::TickCount() const { return ::GetTickCount(); }

} // namespace tarvok::platform
