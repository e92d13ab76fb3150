#include "core/Schedule.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace tarvok {

namespace {

constexpr std::array<const char*, 4> AutoBackupMessages = {
    "Hourly Auto BackUp Project %s Files Now...",
    "Daily Auto BackUp Project %s Files Now...",
    "Weekly Auto BackUp Project %s Files Now...",
    "Monthly Auto BackUp Project %s Files Now...",
};

constexpr int DaysPerWeek = static_cast<int>(DayNames.size());
constexpr int DaysInLongestMonth = 31;
constexpr int HoursPerDay = 24;

bool InFirstTwoSecondsOfHour(const LocalTime& now) { return now.Minute == 0 && now.Second < 2; }

constexpr int64_t SlotMilliseconds = 2000;
constexpr int64_t CatchUpMilliseconds = 60'000;
// Wall time and boot time read a few milliseconds apart; a larger gap
// between their steps means the clock was set.
constexpr int64_t ClockStepMilliseconds = 500;

// Milliseconds on the local calendar, counted as if every day had 24 hours.
int64_t CivilMilliseconds(const LocalTime& time)
{
    namespace c = std::chrono;
    const c::sys_days date{c::year{time.Year} / c::month{static_cast<unsigned>(time.Month)} /
                           c::day{static_cast<unsigned>(time.Day)}};
    const int64_t seconds = int64_t{date.time_since_epoch().count()} * 86'400 + int64_t{time.Hour} * 3600 +
                            int64_t{time.Minute} * 60 + time.Second;
    return seconds * 1000 + time.Millisecond;
}

} // namespace

const char* AutoBkUpText(uint8_t autoBkUp) { return AutoBkUpTexts[autoBkUp == 1 ? 1 : 0]; }

bool IsBackupDue(const PrjRec& project, const LocalTime& now)
{
    if (project.AutoBkUp != 1 || !InFirstTwoSecondsOfHour(now))
        return false;
    switch (project.Period) {
    case Hourly: return true;
    case Daily: return now.Hour == project.Hour;
    case Weekly: return now.DayOfWeek == project.Day % DaysPerWeek && now.Hour == project.Hour;
    case Monthly: return now.Day == project.Day + 1 && now.Hour == project.Hour;
    default: return false;
    }
}

bool IsBackupDue(const PrjRec& project, const TickSpan& ticks)
{
    if (IsBackupDue(project, ticks.Now.Local))
        return true;
    if (!ticks.Previous || ticks.ClockSet)
        return false;
    // Only a slot ended less than a minute ago can be caught up, and that
    // slot began at minute 0 of the hour this tick reads.
    LocalTime slot = ticks.Now.Local;
    slot.Minute = 0;
    slot.Second = 0;
    slot.Millisecond = 0;
    const int64_t slotStart = CivilMilliseconds(slot);
    const int64_t now = CivilMilliseconds(ticks.Now.Local);
    const int64_t previous = CivilMilliseconds(ticks.Previous->Local);
    const int64_t late = now - (slotStart + SlotMilliseconds);
    if (late < 0 || late > CatchUpMilliseconds || previous >= slotStart)
        return false;
    const int64_t booted = static_cast<uint32_t>(ticks.Now.Uptime - ticks.Previous->Uptime);
    if (std::llabs(now - previous - booted) > ClockStepMilliseconds)
        return false;
    return IsBackupDue(project, slot);
}

std::string AutoBackupStatusText(const PrjRec& project)
{
    if (project.Period >= AutoBackupMessages.size())
        return {};
    const std::string message = AutoBackupMessages[project.Period];
    const size_t slot = message.find("%s");
    return message.substr(0, slot) + project.Name + message.substr(slot + 2);
}

std::vector<std::string> DayBoxItems(uint8_t period)
{
    std::vector<std::string> items;
    if (period == Weekly) {
        items.assign(DayNames.begin(), DayNames.end());
    } else if (period == Monthly) {
        for (int day = 1; day <= DaysInLongestMonth; ++day) {
            char text[16];
            std::snprintf(text, sizeof text, "Day %2d", day);
            items.emplace_back(text);
        }
    }
    return items;
}

int DayBoxIndex(uint8_t period, uint8_t day) { return period == Weekly ? day % DaysPerWeek : day; }

std::vector<std::string> TimeBoxItems()
{
    std::vector<std::string> items;
    for (int hour = 0; hour < HoursPerDay; ++hour) {
        char text[16];
        std::snprintf(text, sizeof text, "%2d:00", hour);
        items.emplace_back(text);
    }
    return items;
}

void ApplySchedule(PrjRec& project, const ScheduleSelection& selection)
{
    project.Period = selection.Period < 0 ? DefaultPeriod : static_cast<uint8_t>(selection.Period);
    project.Day = selection.Day < 0 ? DefaultDay : static_cast<uint8_t>(selection.Day);
    project.Hour = selection.Hour < 0 ? DefaultHour : static_cast<uint8_t>(selection.Hour);
}

std::string ClockLine(const std::string& date, const std::string& time, const LocalTime& now)
{
    const bool midnight = now.Hour == 0 && now.Minute == 0 && now.Second == 0 && now.Millisecond == 0;
    std::string line = midnight ? date : date + " " + time;
    line += "  --  ";
    line += DayNames[static_cast<size_t>(now.DayOfWeek % DaysPerWeek)];
    return line;
}

} // namespace tarvok
