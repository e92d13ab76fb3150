#pragma once
#include "base/Clock.h"
#include "core/FileUtility.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvok {

// The weekday texts, Sunday first, spelled the way the program has always
// shown them.
inline constexpr std::array<const char*, 7> DayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                        "Thirsday", "Friday", "Saturday"};

// What edBkUp shows, indexed by a project's AutoBkUp.
inline constexpr std::array<const char*, 2> AutoBkUpTexts = {"Auto BackUp Off", "Auto BackUp On"};

// A project's Period; it is also the item index of the period box.
enum SchedulePeriod : uint8_t { Hourly = 0, Daily = 1, Weekly = 2, Monthly = 3 };
inline constexpr std::array<const char*, 4> PeriodNames = {"Hourly", "Daily", "Weekly", "Monthly"};

// The schedule Apply stores when a box has no selected item.
inline constexpr uint8_t DefaultPeriod = Hourly;
inline constexpr uint8_t DefaultDay = 1;
inline constexpr uint8_t DefaultHour = 10;

// The edBkUp text for `autoBkUp`. Only 1 takes part in automatic backups, so
// any other value reads "Off".
const char* AutoBkUpText(uint8_t autoBkUp);

// True when the project takes part in automatic backups (AutoBkUp 1) and `now`
// lies in its slot: second 0 or 1 of minute 0 of the scheduled hour. Weekly
// counts Day modulo 7 from Sunday, as the day box shows it; Monthly matches
// the day of the month Day + 1, so a day a month lacks never comes. Any
// period above Monthly never runs.
bool IsBackupDue(const PrjRec& project, const LocalTime& now);

// One reading taken by the timer tick: the local time and the boot clock in
// milliseconds (wrapping at 32 bits).
struct TickTime {
    LocalTime Local;
    uint32_t Uptime = 0;
};

// What a tick knows when it decides: the tick before it (none for the first
// tick), its own reading, and whether the system clock was set in between.
struct TickSpan {
    std::optional<TickTime> Previous;
    TickTime Now;
    bool ClockSet = false;
};

// The tick's due test: a project runs at every tick inside its slot, and once
// at the first tick after a slot that a late timer stepped over entirely,
// when that tick comes within a minute of the slot's end. A set of the clock
// in between (told by `ClockSet`, or seen as wall time and boot time going
// apart) does not catch up, nor does the first tick of a run.
bool IsBackupDue(const PrjRec& project, const TickSpan& ticks);

// The status line during an automatic backup of `project`, e.g.
// "Daily Auto BackUp Project Docs Files Now..."; empty for an unknown period.
std::string AutoBackupStatusText(const PrjRec& project);

// The day box's items under `period`: the seven DayNames for Weekly,
// "Day  1" ... "Day 31" for Monthly, nothing for the others.
std::vector<std::string> DayBoxItems(uint8_t period);
// The day box item that shows `day` under `period` (Weekly: day mod 7).
int DayBoxIndex(uint8_t period, uint8_t day);

// The time box's items " 0:00" ... "23:00".
std::vector<std::string> TimeBoxItems();

// The schedule Apply stores from the three boxes' selected indices, each -1
// when its box has no selected item.
struct ScheduleSelection {
    int Period = -1;
    int Day = -1;
    int Hour = -1;
};
void ApplySchedule(PrjRec& project, const ScheduleSelection& selection);

// The clock line: "<date> <time>  --  <weekday>", the time and its blank left
// out at exactly midnight. `date` and `time` come already formatted in the
// user's locale.
std::string ClockLine(const std::string& date, const std::string& time, const LocalTime& now);

} // namespace tarvok
