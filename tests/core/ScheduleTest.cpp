#include "core/Schedule.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace tarvok;

namespace {

LocalTime At(int year, int month, int day, int hour, int minute, int second, int millisecond = 0)
{
    namespace c = std::chrono;
    const c::year_month_day date{c::year{year}, c::month{static_cast<unsigned>(month)},
                                 c::day{static_cast<unsigned>(day)}};
    const int weekday = static_cast<int>(c::weekday{c::sys_days{date}}.c_encoding());
    return LocalTime{year, month, day, hour, minute, second, millisecond, weekday};
}

PrjRec Project(uint8_t period, uint8_t day, uint8_t hour, uint8_t autoBkUp = 1)
{
    return PrjRec{"Docs", "/backups/docs", period, day, hour, autoBkUp};
}

} // namespace

TEST(ScheduleTexts, WeekdaysStartOnSundayWithTheProgramsOwnSpelling)
{
    EXPECT_STREQ(DayNames[0], "Sunday");
    EXPECT_STREQ(DayNames[4], "Thirsday");
    EXPECT_STREQ(DayNames[6], "Saturday");
}

TEST(ScheduleTexts, AutoBackupBoxShowsOnOnlyForOne)
{
    EXPECT_STREQ(AutoBkUpText(0), "Auto BackUp Off");
    EXPECT_STREQ(AutoBkUpText(1), "Auto BackUp On");
    EXPECT_STREQ(AutoBkUpText(2), "Auto BackUp Off");
}

TEST(ScheduleTexts, StatusLineNamesPeriodAndProject)
{
    PrjRec p = Project(Hourly, 0, 0);
    EXPECT_EQ(AutoBackupStatusText(p), "Hourly Auto BackUp Project Docs Files Now...");
    p.Period = Monthly;
    p.Name = "100%s done";
    EXPECT_EQ(AutoBackupStatusText(p), "Monthly Auto BackUp Project 100%s done Files Now...");
    p.Period = 4;
    EXPECT_EQ(AutoBackupStatusText(p), "");
}

TEST(ScheduleBoxes, DayBoxHoldsWeekdaysOrDaysOfTheMonth)
{
    const auto weekly = DayBoxItems(Weekly);
    ASSERT_EQ(weekly.size(), 7u);
    EXPECT_EQ(weekly[4], "Thirsday");

    const auto monthly = DayBoxItems(Monthly);
    ASSERT_EQ(monthly.size(), 31u);
    EXPECT_EQ(monthly[0], "Day  1");
    EXPECT_EQ(monthly[6], "Day  7");
    EXPECT_EQ(monthly[30], "Day 31");

    EXPECT_TRUE(DayBoxItems(Hourly).empty());
    EXPECT_TRUE(DayBoxItems(Daily).empty());
}

TEST(ScheduleBoxes, WeeklyReducesTheDayMonthlyKeepsIt)
{
    EXPECT_EQ(DayBoxIndex(Weekly, 20), 6);
    EXPECT_EQ(DayBoxIndex(Weekly, 3), 3);
    EXPECT_EQ(DayBoxIndex(Monthly, 20), 20);
}

TEST(ScheduleBoxes, TimeBoxRightAlignsTheHour)
{
    const auto items = TimeBoxItems();
    ASSERT_EQ(items.size(), 24u);
    EXPECT_EQ(items[0], " 0:00");
    EXPECT_EQ(items[9], " 9:00");
    EXPECT_EQ(items[10], "10:00");
    EXPECT_EQ(items[23], "23:00");
}

TEST(ScheduleApply, MissingSelectionsTakeTheirDefaults)
{
    PrjRec p = Project(Monthly, 20, 5);
    ApplySchedule(p, {});
    EXPECT_EQ(p.Period, Hourly);
    EXPECT_EQ(p.Day, 1);
    EXPECT_EQ(p.Hour, 10);

    ApplySchedule(p, {Weekly, 6, 23});
    EXPECT_EQ(p.Period, Weekly);
    EXPECT_EQ(p.Day, 6);
    EXPECT_EQ(p.Hour, 23);
}

TEST(BackupDue, HourlyRunsInTheFirstTwoSecondsOfEveryHour)
{
    const PrjRec p = Project(Hourly, 0, 10);
    EXPECT_TRUE(IsBackupDue(p, At(2024, 3, 7, 14, 0, 0)));
    EXPECT_TRUE(IsBackupDue(p, At(2024, 3, 7, 14, 0, 1, 999)));
    EXPECT_FALSE(IsBackupDue(p, At(2024, 3, 7, 14, 0, 2)));
    EXPECT_FALSE(IsBackupDue(p, At(2024, 3, 7, 14, 1, 0)));
    EXPECT_FALSE(IsBackupDue(p, At(2024, 3, 7, 13, 59, 59)));
}

TEST(BackupDue, DailyRunsOnlyAtItsHour)
{
    const PrjRec p = Project(Daily, 0, 10);
    for (int hour = 0; hour < 24; ++hour)
        EXPECT_EQ(IsBackupDue(p, At(2024, 3, 7, hour, 0, 0)), hour == 10) << hour;
    EXPECT_TRUE(IsBackupDue(p, At(2024, 3, 7, 10, 0, 1)));
    EXPECT_FALSE(IsBackupDue(p, At(2024, 3, 7, 10, 0, 2)));
}

TEST(BackupDue, WeeklyDayZeroIsSunday)
{
    const PrjRec p = Project(Weekly, 0, 8);
    // 3 to 9 March 2024 runs from Sunday to Saturday.
    for (int day = 3; day <= 9; ++day)
        EXPECT_EQ(IsBackupDue(p, At(2024, 3, day, 8, 0, 0)), day == 3) << day;
    EXPECT_FALSE(IsBackupDue(p, At(2024, 3, 3, 9, 0, 0)));
}

TEST(BackupDue, WeeklyCountsAnOversizedDayAsTheBoxShowsIt)
{
    // Day 20 shows as Saturday in the day box.
    const PrjRec p = Project(Weekly, 20, 8);
    EXPECT_TRUE(IsBackupDue(p, At(2024, 3, 9, 8, 0, 0)));
    EXPECT_FALSE(IsBackupDue(p, At(2024, 3, 8, 8, 0, 0)));
}

TEST(BackupDue, MonthlyMatchesTheDayOfMonthPlusOne)
{
    const PrjRec first = Project(Monthly, 0, 10);
    EXPECT_TRUE(IsBackupDue(first, At(2024, 4, 1, 10, 0, 0)));
    EXPECT_FALSE(IsBackupDue(first, At(2024, 4, 2, 10, 0, 0)));

    const PrjRec last = Project(Monthly, 30, 10);
    for (int day = 1; day <= 30; ++day)
        EXPECT_FALSE(IsBackupDue(last, At(2024, 4, day, 10, 0, 0))) << day;
    for (int day = 1; day <= 29; ++day)
        EXPECT_FALSE(IsBackupDue(last, At(2024, 2, day, 10, 0, 0))) << day;
    EXPECT_TRUE(IsBackupDue(last, At(2024, 5, 31, 10, 0, 0)));
}

TEST(BackupDue, ProjectsOutsideAutomaticBackupsNeverRun)
{
    const LocalTime topOfHour = At(2024, 3, 7, 10, 0, 0);
    EXPECT_FALSE(IsBackupDue(Project(Hourly, 0, 10, 0), topOfHour));
    EXPECT_FALSE(IsBackupDue(Project(Hourly, 0, 10, 2), topOfHour));
    EXPECT_FALSE(IsBackupDue(Project(4, 0, 10), topOfHour));
    EXPECT_FALSE(IsBackupDue(Project(255, 0, 10), topOfHour));
}

TEST(ClockLineText, DateTimeAndWeekday)
{
    EXPECT_EQ(ClockLine("3/7/24", "10:00:00 AM", At(2024, 3, 7, 10, 0, 0)), "3/7/24 10:00:00 AM  --  Thirsday");
    EXPECT_EQ(ClockLine("3/3/24", "11:59:59 PM", At(2024, 3, 3, 23, 59, 59)), "3/3/24 11:59:59 PM  --  Sunday");
}

TEST(ClockLineText, TimeIsLeftOutAtExactlyMidnight)
{
    EXPECT_EQ(ClockLine("3/9/24", "12:00:00 AM", At(2024, 3, 9, 0, 0, 0)), "3/9/24  --  Saturday");
    EXPECT_EQ(ClockLine("3/9/24", "12:00:00 AM", At(2024, 3, 9, 0, 0, 0, 1)), "3/9/24 12:00:00 AM  --  Saturday");
    EXPECT_EQ(ClockLine("3/9/24", "12:00:01 AM", At(2024, 3, 9, 0, 0, 1)), "3/9/24 12:00:01 AM  --  Saturday");
}

namespace {

LocalTime Plus(const LocalTime& time, int64_t milliseconds)
{
    namespace c = std::chrono;
    const c::sys_days date{c::year{time.Year} / time.Month / time.Day};
    const auto moment = date + c::hours{time.Hour} + c::minutes{time.Minute} + c::seconds{time.Second} +
                        c::milliseconds{time.Millisecond + milliseconds};
    const auto day = c::floor<c::days>(moment);
    const c::year_month_day ymd{day};
    const c::hh_mm_ss clock{c::floor<c::milliseconds>(moment - day)};
    return LocalTime{static_cast<int>(ymd.year()),
                     static_cast<int>(static_cast<unsigned>(ymd.month())),
                     static_cast<int>(static_cast<unsigned>(ymd.day())),
                     static_cast<int>(clock.hours().count()),
                     static_cast<int>(clock.minutes().count()),
                     static_cast<int>(clock.seconds().count()),
                     static_cast<int>(clock.subseconds().count()),
                     static_cast<int>(c::weekday{day}.c_encoding())};
}

// One tick, in milliseconds after the row's start on the wall clock and on
// the boot clock, and whether the clock-change watcher spoke before it.
struct TickAt {
    int64_t wall;
    int64_t boot;
    bool clockSet = false;
};
TickAt On(int64_t ms) { return {ms, ms}; }

struct TickRow {
    const char* what;
    PrjRec project;
    LocalTime start;
    std::vector<TickAt> ticks;
    int runs;
    uint32_t uptime = 5000;
};

} // namespace

TEST(BackupDueAtTick, RunsInTheSlotAndCatchesUpOnlyAHeldBackTick)
{
    const LocalTime nineFiftyNine = At(2024, 3, 7, 9, 59, 59);
    // clang-format off: one row per case
    const std::vector<TickRow> rows = {
        {"ticks every second run at seconds 0 and 1",
         Project(Daily, 0, 10),
         nineFiftyNine,
         {On(0), On(1000), On(2000), On(3000), On(4000)},
         2},
        {"a tick held back over the slot runs once",
         Project(Daily, 0, 10),
         nineFiftyNine,
         {On(300), On(3800), On(4800), On(5800)},
         1},
        {"one tick inside the slot is not caught up again",
         Project(Daily, 0, 10),
         nineFiftyNine,
         {On(0), On(1500), On(6000)},
         1},
        {"a tick 60 seconds after the slot still catches up",
         Project(Daily, 0, 10),
         nineFiftyNine,
         {On(500), On(63000)},
         1},
        {"a tick over 60 seconds after the slot skips it",
         Project(Daily, 0, 10),
         nineFiftyNine,
         {On(500), On(63001)},
         0},
        {"a machine waking long after the slot skips it",
         Project(Hourly, 0, 0),
         At(2024, 3, 7, 9, 50, 0),
         {On(0), On(11 * 60'000 + 30'000)},
         0},
        {"a clock set forward past the slot skips it",
         Project(Daily, 0, 10),
         nineFiftyNine,
         {On(500), {31'000, 1500, true}},
         0},
        {"a set the watcher missed shows as wall and boot time apart",
         Project(Daily, 0, 10),
         nineFiftyNine,
         {On(500), {31'000, 1500}},
         0},
        {"a clock set back makes the slot run again",
         Project(Daily, 0, 10),
         nineFiftyNine,
         {On(6000), {0, 7000, true}, {1000, 8000}, {2000, 9000}, {3000, 10'000}},
         2},
        {"the first tick of a run does not catch up", Project(Daily, 0, 10), At(2024, 3, 7, 10, 0, 2), {On(0)}, 0},
        {"an hour other than the project's is not caught up",
         Project(Daily, 0, 11),
         nineFiftyNine,
         {On(300), On(3800)},
         0},
        {"hourly catches up at any hour", Project(Hourly, 0, 0), At(2024, 3, 7, 13, 59, 59, 900), {On(0), On(2100)}, 1},
        {"weekly catches up on its weekday", Project(Weekly, 4, 8), At(2024, 3, 7, 7, 59, 59), {On(0), On(4000)}, 1},
        {"monthly catches up over midnight into the 1st",
         Project(Monthly, 0, 0),
         At(2024, 3, 31, 23, 59, 59),
         {On(0), On(3000)},
         1},
        {"monthly day 31 is not caught up on the 1st",
         Project(Monthly, 30, 0),
         At(2024, 3, 31, 23, 59, 59),
         {On(0), On(3000)},
         0},
        {"the boot clock wrapping is no clock set",
         Project(Daily, 0, 10),
         nineFiftyNine,
         {On(0), On(4000)},
         1,
         0xFFFFF000u},
    };
    // clang-format on
    for (const TickRow& row : rows) {
        std::optional<TickTime> previous;
        int runs = 0;
        for (const TickAt& tick : row.ticks) {
            const TickTime now{Plus(row.start, tick.wall), row.uptime + static_cast<uint32_t>(tick.boot)};
            runs += IsBackupDue(row.project, TickSpan{previous, now, tick.clockSet}) ? 1 : 0;
            previous = now;
        }
        EXPECT_EQ(runs, row.runs) << row.what;
    }
}
