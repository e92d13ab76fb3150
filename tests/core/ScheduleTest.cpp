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
