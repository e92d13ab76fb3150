#include "MainTestWorld.h"
#include "base/InOutError.h"
#include "core/Schedule.h"
#include "platform/qt/TimeChangeWatcher.h"
#include "ui/widgets/ClockCaption.h"
#include "ui/widgets/LineList.h"
#include "ui/widgets/WorkBar.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>

namespace tarvok::test {
namespace {

namespace fs = std::filesystem;

// Thursday 7 March 2024; its snapshot folders are 03_07_HH.
LocalTime Thursday(int hour, int minute, int second, int millisecond = 0)
{
    return LocalTime{2024, 3, 7, hour, minute, second, millisecond, 4};
}

PrjRec Scheduled(PrjRec project, uint8_t period, uint8_t day, uint8_t hour, uint8_t autoBkUp = 1)
{
    project.Period = period;
    project.Day = day;
    project.Hour = hour;
    project.AutoBkUp = autoBkUp;
    return project;
}

// What a choice from the drop-down list does.
void Pick(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void Type(QComboBox* box, const char* text)
{
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), QString::fromLatin1(text));
}

class MainScheduleTest : public ::testing::Test {
protected:
    void SetUp() override { QApplication::setQuitOnLastWindowClosed(false); }

    // Starts the program on `projects`, the first one current; a settings
    // file with TimerBkUp 0 gets No to the start-up question. The test drives
    // the ticks itself.
    ui::TMainForm& Start(const std::vector<PrjRec>& projects, uint8_t timerBkUp = 1)
    {
        ProjectList list;
        for (const PrjRec& p : projects)
            AddPrj(list, p);
        world.WriteSettings(AppSettings{0, 0, timerBkUp}, list);
        world.Dialogs.Answers = {false};
        ui::TMainForm& form = world.Create();
        form.Controls().Timer1->stop();
        return form;
    }

    void Tick(const LocalTime& now)
    {
        world.Clock.Time = now;
        world.Form->Timer1Timer();
    }

    std::string Snapshot(const PrjRec& project, const char* folder) const { return project.BackUpDir + "/" + folder; }
    std::string SourceOf(const std::string& project, const std::string& file) const
    {
        return world.App / ("sources-" + project + "/" + file);
    }

    MainWorld world;
};

// ---- Automatic backups -----------------------------------------------------

TEST_F(MainScheduleTest, HourlyRunsAtSecondsZeroAndOneIntoOneFolder)
{
    const PrjRec docs = Scheduled(world.MakeProject("docs", {"a.txt"}), Hourly, 0, 0);
    Start({docs});

    Tick(Thursday(10, 59, 59));
    Tick(Thursday(11, 0, 0));
    EXPECT_EQ(ReadFile(Snapshot(docs, "03_07_11/a.txt")), "a.txt");

    WriteFile(SourceOf("docs", "a.txt"), "second");
    Tick(Thursday(11, 0, 1));
    EXPECT_EQ(ReadFile(Snapshot(docs, "03_07_11/a.txt")), "second");

    WriteFile(SourceOf("docs", "a.txt"), "third");
    Tick(Thursday(11, 0, 2));
    Tick(Thursday(11, 1, 0));
    EXPECT_EQ(ReadFile(Snapshot(docs, "03_07_11/a.txt")), "second");
    EXPECT_FALSE(fs::exists(Snapshot(docs, "03_07_10")));
    EXPECT_EQ(world.Form->Controls().lbStatus->text(), "");
}

TEST_F(MainScheduleTest, DailyRunsOnlyAtItsHour)
{
    const PrjRec docs = Scheduled(world.MakeProject("docs", {"a.txt"}), Daily, 0, 10);
    Start({docs});
    for (int hour : {9, 10, 11})
        Tick(Thursday(hour, 0, 0));
    EXPECT_FALSE(fs::exists(Snapshot(docs, "03_07_09")));
    EXPECT_TRUE(fs::exists(Snapshot(docs, "03_07_10/a.txt")));
    EXPECT_FALSE(fs::exists(Snapshot(docs, "03_07_11")));
}

// A run breathes while it copies; what comes meanwhile waits for its end: the
// tick's due backup runs once afterwards, the close's question comes after.
TEST_F(MainScheduleTest, ATickAndACloseDuringARunWaitForItsEnd)
{
    const PrjRec docs = Scheduled(world.MakeProject("docs", {"a.txt"}), Hourly, 0, 0);
    ui::TMainForm& form = Start({docs});
    form.show();
    world.Dialogs.Log.clear();
    world.Clock.Ticks = 100000;
    Tick(Thursday(10, 59, 59));
    world.Clock.TickStep = 60; // every block copied is a breath
    struct {
        bool ranInside = true, askedInside = true, barShown = false;
        QString tip;
    } during;
    QTimer::singleShot(0, &form, [&] {
        world.Clock.Ticks = 101000 - world.Clock.TickStep; // one second on both clocks
        Tick(Thursday(11, 0, 0));
        form.close(); // as the window manager asks
        during = {fs::exists(Snapshot(docs, "03_07_11")), !world.Dialogs.TextsOf("confirm").empty(),
                  form.Controls().pbWork->isVisible(), form.Controls().TrayIcon->toolTip()};
    });
    QSignalSpy closed(&form, &ui::TMainForm::Closed);
    world.Dialogs.Answers = {true};
    world.Clock.Time = Thursday(10, 59, 59);
    form.btnBackUpClick();

    EXPECT_FALSE(during.ranInside) << "no run starts inside another";
    EXPECT_FALSE(during.askedInside) << "no question in the middle of a run";
    EXPECT_TRUE(during.barShown);
    EXPECT_EQ(during.tip, "Auto-BackUp! 100%");
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed.count() == 1; }, 5000));
    EXPECT_TRUE(fs::exists(Snapshot(docs, "03_07_11/a.txt"))) << "the due backup ran after the run";
    EXPECT_FALSE(form.State().HasHeldBackups());
    EXPECT_EQ(world.Dialogs.TextsOf("confirm"), std::vector<std::string>{"Are you sure to exit this program?"});
    EXPECT_FALSE(form.Controls().pbWork->isVisible());
    EXPECT_EQ(form.Controls().TrayIcon->toolTip(), "Auto-BackUp!");
}

TEST_F(MainScheduleTest, ALateTickCatchesUpTheSlotOnceUnlessTheClockWasSet)
{
    const PrjRec docs = Scheduled(world.MakeProject("docs", {"a.txt"}), Hourly, 0, 0);
    ui::TMainForm& form = Start({docs});
    // A tick at `now` with the boot clock at `uptime` milliseconds.
    const auto tickAt = [this](const LocalTime& now, uint32_t uptime) {
        world.Clock.Ticks = uptime;
        Tick(now);
    };
    tickAt(Thursday(9, 59, 59), 1000);
    tickAt(Thursday(10, 0, 3), 5000);
    EXPECT_EQ(ReadFile(Snapshot(docs, "03_07_10/a.txt")), "a.txt");
    WriteFile(SourceOf("docs", "a.txt"), "later");
    tickAt(Thursday(10, 0, 4), 6000);
    EXPECT_EQ(ReadFile(Snapshot(docs, "03_07_10/a.txt")), "a.txt");

    tickAt(Thursday(10, 59, 59), 3'600'000);
    form.SystemTimeChanged();
    tickAt(Thursday(11, 0, 3), 3'604'000);
    EXPECT_FALSE(fs::exists(Snapshot(docs, "03_07_11")));
}

TEST_F(MainScheduleTest, ProjectsOutOfTheScheduleNeverRun)
{
    const PrjRec off = Scheduled(world.MakeProject("off", {"a.txt"}), Hourly, 0, 0, 0);
    const PrjRec odd = Scheduled(world.MakeProject("odd", {"a.txt"}), Hourly, 0, 10);
    ui::TMainForm& form = Start({off, odd});
    // Neither the settings file nor the panel gives such a period; the
    // state's own setter does.
    ASSERT_TRUE(form.State().SelectProject(1));
    form.State().SaveSchedule({4, 0, 10});
    Tick(Thursday(10, 0, 0));
    EXPECT_FALSE(fs::exists(Snapshot(off, "03_07_10")));
    EXPECT_FALSE(fs::exists(Snapshot(odd, "03_07_10")));
}

TEST_F(MainScheduleTest, StoppedAutomaticBackupsOnlyMoveTheClock)
{
    for (uint8_t timerBkUp : {0, 2}) {
        MainWorld fresh;
        const PrjRec docs = Scheduled(fresh.MakeProject("docs", {"a.txt"}), Hourly, 0, 0);
        ProjectList list;
        AddPrj(list, docs);
        fresh.WriteSettings(AppSettings{0, 0, timerBkUp}, list);
        fresh.Dialogs.Answers = {false};
        ui::TMainForm& form = fresh.Create();
        form.Controls().Timer1->stop();

        fresh.Clock.Time = Thursday(10, 0, 0);
        form.Timer1Timer();
        EXPECT_FALSE(fs::exists(Snapshot(docs, "03_07_10"))) << int(timerBkUp);
        EXPECT_TRUE(form.Controls().lblClock->text().endsWith(QStringLiteral("  --  Thirsday")));
    }
}

TEST_F(MainScheduleTest, DueProjectsRunThenTheWindowShowsTheCurrentProjectAfresh)
{
    const PrjRec current = Scheduled(world.MakeProject("current", {"c.txt"}), Daily, 0, 9);
    const PrjRec alpha = Scheduled(world.MakeProject("alpha", {"a.txt"}), Hourly, 0, 0);
    const PrjRec beta = Scheduled(world.MakeProject("beta", {"b.txt"}), Weekly, 4, 12);
    ui::TMainForm& form = Start({current, alpha, beta});
    form.show();
    // A period picked but not applied, and a file added to the current
    // project's list behind the window's back.
    Pick(form.Controls().cbxBkupType, Monthly);
    WriteFile(ProjectFilePath(current.BackUpDir),
              SourceOf("current", "c.txt") + "\r\n" + SourceOf("alpha", "a.txt") + "\r\n");

    Tick(Thursday(12, 0, 0));
    EXPECT_TRUE(fs::exists(Snapshot(alpha, "03_07_12/a.txt")));
    EXPECT_TRUE(fs::exists(Snapshot(beta, "03_07_12/b.txt")));
    EXPECT_FALSE(fs::exists(Snapshot(current, "03_07_12")));
    EXPECT_EQ(form.Controls().lbStatus->text(), "");
    EXPECT_EQ(form.Controls().cbxBkupType->currentText(), "Daily");
    EXPECT_EQ(form.Controls().lbxSource->count(), 2);
    EXPECT_EQ(form.State().Current().Period, Daily);
}

TEST_F(MainScheduleTest, AFailingProjectEndsTheTickAndKeepsItsStatus)
{
    const PrjRec first = Scheduled(world.MakeProject("first", {"a.txt"}), Hourly, 0, 0);
    const PrjRec broken = Scheduled(world.MakeProject("broken", {"b.txt"}), Hourly, 0, 0);
    const PrjRec last = Scheduled(world.MakeProject("last", {"c.txt"}), Hourly, 0, 0);
    ui::TMainForm& form = Start({first, broken, last});
    form.show();
    Pick(form.Controls().cbxBkupType, Weekly);
    // A plain file where the snapshot folder should go.
    WriteFile(Snapshot(broken, "03_07_10"), "");

    world.Clock.Time = Thursday(10, 0, 0);
    EXPECT_THROW(form.Timer1Timer(), EInOutError);
    EXPECT_TRUE(fs::exists(Snapshot(first, "03_07_10/a.txt")));
    EXPECT_FALSE(fs::exists(Snapshot(last, "03_07_10")));
    EXPECT_EQ(form.Controls().lbStatus->text(), "Hourly Auto BackUp Project broken Files Now...");
    // No refresh: the unapplied pick is still there.
    EXPECT_EQ(form.Controls().cbxBkupType->currentText(), "Weekly");

    // The next tick starts afresh.
    fs::remove(Snapshot(broken, "03_07_10"));
    Tick(Thursday(10, 0, 1));
    EXPECT_TRUE(fs::exists(Snapshot(last, "03_07_10/c.txt")));
    EXPECT_EQ(form.Controls().lbStatus->text(), "");
    EXPECT_EQ(form.Controls().cbxBkupType->currentText(), "Hourly");
}

TEST_F(MainScheduleTest, WhileABoxIsOpenTheRefreshWaitsForItToClose)
{
    const PrjRec docs = Scheduled(world.MakeProject("docs", {"a.txt"}), Hourly, 0, 0);
    ui::TMainForm& form = Start({docs});
    form.show();
    Pick(form.Controls().cbxBkupType, Weekly);
    WriteFile(ProjectFilePath(docs.BackUpDir), "");

    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"), QStringLiteral("busy"));
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &box);
    Tick(Thursday(10, 0, 0));
    EXPECT_TRUE(fs::is_directory(Snapshot(docs, "03_07_10")));
    EXPECT_EQ(form.Controls().cbxBkupType->currentText(), "Weekly");
    EXPECT_EQ(form.Controls().lbxSource->count(), 1);
    Tick(Thursday(10, 0, 5));
    EXPECT_EQ(form.Controls().cbxBkupType->currentText(), "Weekly");

    box.close();
    Tick(Thursday(10, 0, 6));
    EXPECT_EQ(form.Controls().cbxBkupType->currentText(), "Hourly");
    EXPECT_EQ(form.Controls().lbxSource->count(), 0);
}

// A clock that, once armed, opens a modal box at its second reading (the one
// the backup run takes), as a failed copy would. The box closes once the clock
// line has moved on three times, or after a watchdog's five seconds. Its
// second hand moves the time on while the box is open.
class BoxOpeningClock : public FakeClock {
public:
    LocalTime Now() const override
    {
        if (ClockLine && ++readings_ == 2)
            const_cast<BoxOpeningClock*>(this)->RunBox();
        return Time;
    }

    const QLabel* ClockLine = nullptr; // arms the clock
    std::string WatchedFolder;
    int ClockLineChangesWhileOpen = 0;
    bool FolderMadeWhileOpen = false;
    bool ClosedByWatchdog = false;
    bool BoxClosed = false;

private:
    void RunBox()
    {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Tarvok"), QStringLiteral("Disk full."));
        QString lastLine = ClockLine->text();
        QTimer secondHand;
        QObject::connect(&secondHand, &QTimer::timeout, &box, [&] {
            FolderMadeWhileOpen = FolderMadeWhileOpen || fs::exists(WatchedFolder);
            if (ClockLine->text() != lastLine) {
                lastLine = ClockLine->text();
                if (++ClockLineChangesWhileOpen == 3)
                    box.accept();
            }
            ++Time.Second;
        });
        secondHand.start(15);
        QTimer::singleShot(5000, &box, [&] {
            ClosedByWatchdog = true;
            box.reject();
        });
        box.exec();
        BoxClosed = true;
    }

    mutable int readings_ = 0;
};

TEST_F(MainScheduleTest, TicksGoOnWhileABoxOpenedInATickIsOpen)
{
    const PrjRec docs = Scheduled(world.MakeProject("docs", {"a.txt"}), Hourly, 0, 0);
    ProjectList list;
    AddPrj(list, docs);
    world.WriteSettings(AppSettings{0, 0, 1}, list);
    BoxOpeningClock clock;
    ui::TMainForm form(world.Seams(clock), world.App.Path());
    form.show();
    Pick(form.Controls().cbxBkupType, Weekly);

    clock.Time = Thursday(10, 0, 0);
    clock.ClockLine = form.Controls().lblClock;
    clock.WatchedFolder = Snapshot(docs, "03_07_10");
    form.Controls().Timer1->setInterval(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clock.BoxClosed; }, 10000));
    form.Controls().Timer1->stop();

    EXPECT_FALSE(clock.ClosedByWatchdog);
    EXPECT_EQ(clock.ClockLineChangesWhileOpen, 3);
    // A tick inside the box repeated the backup still due at second 1.
    EXPECT_TRUE(clock.FolderMadeWhileOpen);
    // The tick that opened the box went on to its end.
    EXPECT_TRUE(fs::exists(Snapshot(docs, "03_07_10/a.txt")));
    EXPECT_EQ(form.Controls().lbStatus->text(), "");
    EXPECT_EQ(form.Controls().cbxBkupType->currentText(), "Hourly");
    EXPECT_FALSE(form.State().RefreshOwed());
}

// ---- Schedule panel --------------------------------------------------------

TEST_F(MainScheduleTest, WeeklyShowsTheReducedDayAndStoresIt)
{
    ui::TMainForm& form = Start({Scheduled(world.MakeProject("P", {}), Weekly, 20, 8)});
    form.show();
    EXPECT_EQ(form.Controls().cbxDay->count(), 7);
    EXPECT_EQ(form.Controls().cbxDay->itemText(4), "Thirsday");
    EXPECT_EQ(form.Controls().cbxDay->currentText(), "Saturday");
    EXPECT_EQ(form.State().Current().Day, 6);
    EXPECT_TRUE(form.Controls().cbxDay->isEnabled());
    EXPECT_TRUE(form.Controls().cbxTime->isEnabled());
    EXPECT_EQ(form.Controls().cbxTime->currentText(), " 8:00");
}

TEST_F(MainScheduleTest, MonthlyKeepsTheDayThroughWeeklyWithoutApply)
{
    ui::TMainForm& form = Start({Scheduled(world.MakeProject("P", {}), Monthly, 20, 8)});
    const std::string settingsBefore = world.SettingsText();
    form.show();
    EXPECT_EQ(form.Controls().cbxDay->count(), 31);
    EXPECT_EQ(form.Controls().cbxDay->currentText(), "Day 21");

    Pick(form.Controls().cbxBkupType, Weekly);
    EXPECT_EQ(form.Controls().cbxDay->currentText(), "Saturday");
    EXPECT_EQ(form.State().Current().Day, 6);

    Pick(form.Controls().cbxBkupType, Monthly);
    EXPECT_EQ(form.Controls().cbxDay->currentText(), "Day  7");
    EXPECT_EQ(form.State().Current().Day, 6);
    EXPECT_EQ(form.State().Current().Period, Monthly);
    EXPECT_EQ(world.SettingsText(), settingsBefore);
}

TEST_F(MainScheduleTest, HourlyAndDailyDisableTheBoxesTheyIgnore)
{
    ui::TMainForm& form = Start({Scheduled(world.MakeProject("P", {}), Daily, 3, 14)});
    form.show();
    EXPECT_FALSE(form.Controls().cbxDay->isEnabled());
    EXPECT_TRUE(form.Controls().cbxTime->isEnabled());
    EXPECT_EQ(form.Controls().cbxTime->currentText(), "14:00");
    // Never filled while the project has been Daily.
    EXPECT_EQ(form.Controls().cbxDay->count(), 0);
    EXPECT_EQ(form.Controls().cbxDay->currentText(), "Day");

    Pick(form.Controls().cbxBkupType, Hourly);
    EXPECT_FALSE(form.Controls().cbxDay->isEnabled());
    EXPECT_FALSE(form.Controls().cbxTime->isEnabled());
    EXPECT_EQ(form.State().Current().Period, Daily);
}

TEST_F(MainScheduleTest, DayAndTimeCountAtOnceButReachTheFileOnlyByApply)
{
    ui::TMainForm& form = Start({Scheduled(world.MakeProject("P", {}), Monthly, 0, 10)});
    const std::string settingsBefore = world.SettingsText();
    form.show();
    Pick(form.Controls().cbxDay, 14);
    Pick(form.Controls().cbxTime, 22);
    EXPECT_EQ(form.State().Current().Day, 14);
    EXPECT_EQ(form.State().Current().Hour, 22);
    EXPECT_EQ(world.SettingsText(), settingsBefore);

    // Typed text that names no item stores nothing.
    Type(form.Controls().cbxDay, "Day 99");
    Type(form.Controls().cbxTime, "noon");
    EXPECT_EQ(form.State().Current().Day, 14);
    EXPECT_EQ(form.State().Current().Hour, 22);
    // Typing an item's exact text counts as choosing it.
    Type(form.Controls().cbxTime, "23:00");
    EXPECT_EQ(form.State().Current().Hour, 23);

    Pick(form.Controls().cbxDay, 14);
    form.Controls().btnSetTime->click();
    EXPECT_TRUE(world.SettingsText().ends_with("\r\n1\r\n3\r\n14\r\n23\r\n"));
}

TEST_F(MainScheduleTest, ApplyStoresWhatTheBoxesSelectOrTheDefaults)
{
    ui::TMainForm& form = Start({Scheduled(world.MakeProject("P", {}), Weekly, 3, 5)});
    form.show();

    // Under Hourly the disabled boxes still count.
    Pick(form.Controls().cbxBkupType, Hourly);
    form.Controls().btnSetTime->click();
    EXPECT_EQ(form.State().Current().Period, Hourly);
    EXPECT_EQ(form.State().Current().Day, 3);
    EXPECT_EQ(form.State().Current().Hour, 5);
    EXPECT_TRUE(
        world.SettingsText().ends_with("P\r\n" + form.State().Current().BackUpDir + "\r\n1\r\n0\r\n3\r\n5\r\n"));

    // Typed text in all three boxes: the defaults.
    Pick(form.Controls().cbxBkupType, Weekly);
    Type(form.Controls().cbxBkupType, "Fortnightly");
    EXPECT_EQ(form.Controls().cbxDay->currentText(), "Wednesday");
    Type(form.Controls().cbxDay, "Someday");
    Type(form.Controls().cbxTime, "late");
    form.Controls().btnSetTime->click();
    EXPECT_EQ(form.State().Current().Period, Hourly);
    EXPECT_EQ(form.State().Current().Day, 1);
    EXPECT_EQ(form.State().Current().Hour, 10);
}

TEST_F(MainScheduleTest, ApplyOnAProjectHourlySinceStartStoresDayOne)
{
    ui::TMainForm& form = Start({Scheduled(world.MakeProject("P", {}), Hourly, 5, 7)});
    form.show();
    form.Controls().btnSetTime->click();
    EXPECT_EQ(form.State().Current().Day, 1);
    EXPECT_EQ(form.State().Current().Hour, 7);
}

TEST_F(MainScheduleTest, AutoBackupBoxFollowsTheCurrentProject)
{
    ui::TMainForm& form = Start({Scheduled(world.MakeProject("on", {}), Hourly, 0, 0, 1),
                                 Scheduled(world.MakeProject("off", {}), Hourly, 0, 0, 0)});
    form.show();
    EXPECT_EQ(form.Controls().edBkUp->text(), "Auto BackUp On");
    Pick(form.Controls().cbxProjects, 1);
    EXPECT_EQ(form.Controls().edBkUp->text(), "Auto BackUp Off");
}

// ---- Run and Stop ------------------------------------------------------------

TEST_F(MainScheduleTest, RunAndStopSwitchAutomaticBackupsWithoutWritingTheFile)
{
    ui::TMainForm& form = Start({world.MakeProject("P", {})}, 0);
    EXPECT_TRUE(form.Controls().tbtnStop->isChecked());
    EXPECT_EQ(form.Controls().lblAutobkup->text(), "Timer BkUp Disabled");
    EXPECT_EQ(form.Controls().lblAutobkup->palette().color(QPalette::WindowText), QColor(255, 125, 125));
    const std::string settingsBefore = world.SettingsText();

    form.Controls().tbtnRun->click();
    EXPECT_EQ(form.State().Settings().TimerBkUp, 1);
    EXPECT_TRUE(form.Controls().tbtnRun->isChecked());
    EXPECT_FALSE(form.Controls().tbtnStop->isChecked());
    EXPECT_EQ(form.Controls().lblAutobkup->text(), "Timer BkUp Enabled");
    EXPECT_EQ(form.Controls().lblAutobkup->palette().color(QPalette::WindowText), QColor(125, 255, 125));
    EXPECT_EQ(world.SettingsText(), settingsBefore);

    // The next tick backs up without Apply.
    Tick(Thursday(10, 0, 0));
    EXPECT_TRUE(fs::is_directory(form.State().Current().BackUpDir + "/03_07_10"));

    form.Controls().tbtnStop->click();
    EXPECT_EQ(form.State().Settings().TimerBkUp, 0);
    EXPECT_EQ(form.Controls().lblAutobkup->text(), "Timer BkUp Disabled");
}

TEST_F(MainScheduleTest, AnyOtherTimerSettingLeavesBothButtonsUp)
{
    ui::TMainForm& form = Start({world.MakeProject("P", {})}, 2);
    EXPECT_FALSE(form.Controls().tbtnStop->isChecked());
    EXPECT_FALSE(form.Controls().tbtnRun->isChecked());
    EXPECT_EQ(form.Controls().lblAutobkup->text(), "Auto Bkup Disabled");
}

// ---- Clock line and clock changes -------------------------------------------

TEST_F(MainScheduleTest, ClockLineShowsDateTimeAndWeekday)
{
    ui::TMainForm& form = Start({world.MakeProject("P", {})}, 0);
    Tick(Thursday(10, 0, 0, 250));
    EXPECT_EQ(form.Controls().lblClock->text(), ui::ClockCaption(QLocale(), Thursday(10, 0, 0, 250)));
    EXPECT_TRUE(form.Controls().lblClock->text().endsWith(QStringLiteral("  --  Thirsday")));

    const LocalTime midnight{2024, 3, 9, 0, 0, 0, 0, 6};
    Tick(midnight);
    EXPECT_EQ(form.Controls().lblClock->text(),
              QLocale().toString(QDate(2024, 3, 9), QLocale::ShortFormat) + QStringLiteral("  --  Saturday"));
}

TEST_F(MainScheduleTest, ASetOfTheSystemClockIsAnnounced)
{
    ui::TMainForm& form = Start({world.MakeProject("P", {})});
    world.Dialogs.Log.clear();
    form.SystemTimeChanged();
    QCoreApplication::processEvents();
    EXPECT_EQ(world.Dialogs.TextsOf("message"), std::vector<std::string>{"System Time Changed."});
}

} // namespace
} // namespace tarvok::test
