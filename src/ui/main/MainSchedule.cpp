// The schedule panel, the once-a-second tick with its clock line and
// automatic backups, and the reaction to a set of the system clock.
#include "core/AutoBackup.h"
#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/Schedule.h"
#include "core/SkinChoice.h"
#include "platform/qt/TimeChangeWatcher.h"
#include "ui/widgets/LocalText.h"
#include "ui/widgets/ClockCaption.h"
#include "ui/main/Main.h"
#include "ui/skin/SkinCanvas.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace tarvok::ui {
namespace {

const QColor LightRed(255, 125, 125);
const QColor LightGreen(125, 255, 125);

// The box's selected item: the one its text shows, or -1 when the user has
// typed text that names no item.
int SelectedIndex(const QComboBox* box)
{
    const int current = box->currentIndex();
    if (current >= 0 && box->itemText(current) == box->currentText())
        return current;
    return box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void SetTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// A box's change reaction follows the user's choice from the list and the
// user's typing, never a selection made from code.
template <typename Reaction>
void BindChange(QComboBox* box, TMainForm* form, Reaction reaction)
{
    QObject::connect(box, &QComboBox::activated, form, reaction);
    QObject::connect(box->lineEdit(), &QLineEdit::textEdited, form, reaction);
}

} // namespace

void TMainForm::ConnectSchedule()
{
    BindChange(cbxBkupType, this, &TMainForm::cbxBkupTypeChange);
    BindChange(cbxDay, this, &TMainForm::cbxDayChange);
    BindChange(cbxTime, this, &TMainForm::cbxTimeChange);
    connect(btnSetTime, &QPushButton::clicked, this, &TMainForm::btnSetTimeClick);
    connect(tbtnStop, &QToolButton::clicked, this, [this] { tbtnStopRunClick(tbtnStop); });
    connect(tbtnRun, &QToolButton::clicked, this, [this] { tbtnStopRunClick(tbtnRun); });

    TimeWatcher = new platform::TimeChangeWatcher(this);
    connect(TimeWatcher, &platform::TimeChangeWatcher::SystemTimeChanged, this, &TMainForm::WMTimeChange,
            Qt::QueuedConnection);
    connect(TimeWatcher, &platform::TimeChangeWatcher::SystemTimeChanged, this, [this] { ClockSetSinceTick = true; });

    Timer1 = new QTimer(this);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(1000);
    // Queued, so each tick runs as a posted call and not inside the timer's
    // own event: a tick waiting in a message box (a failed backup, a missing
    // file) then does not hold up the ticks after it.
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer, Qt::QueuedConnection);
    Timer1->start();
}

void TMainForm::cbxBkupTypeChange()
{
    const int period = SelectedIndex(cbxBkupType);
    switch (period) {
    case Hourly:
        cbxDay->setEnabled(false);
        cbxTime->setEnabled(false);
        break;
    case Daily:
        cbxDay->setEnabled(false);
        cbxTime->setEnabled(true);
        cbxTime->setCurrentIndex(CurrentProject->Hour);
        break;
    case Weekly:
    case Monthly:
        cbxDay->setEnabled(true);
        cbxTime->setEnabled(true);
        cbxDay->clear();
        cbxDay->clearEditText();
        for (const std::string& item : DayBoxItems(static_cast<uint8_t>(period)))
            cbxDay->addItem(Local(item));
        cbxDay->setCurrentIndex(DayBoxIndex(static_cast<uint8_t>(period), CurrentProject->Day));
        cbxDayChange();
        break;
    default:
        // Typed text that names no period.
        break;
    }
}

void TMainForm::cbxDayChange()
{
    const int day = SelectedIndex(cbxDay);
    if (day < 0)
        return;
    // Shows the item's own text in the edit field.
    cbxDay->setCurrentIndex(day);
    CurrentProject->Day = static_cast<uint8_t>(day);
}

void TMainForm::cbxTimeChange()
{
    const int hour = SelectedIndex(cbxTime);
    if (hour >= 0)
        CurrentProject->Hour = static_cast<uint8_t>(hour);
}

void TMainForm::btnSetTimeClick()
{
    ApplySchedule(*CurrentProject, {SelectedIndex(cbxBkupType), SelectedIndex(cbxDay), SelectedIndex(cbxTime)});
    SaveSettings(AppDir, Settings, ProjectList, SettingsFile);
}

void TMainForm::tbtnStopRunClick(QObject* Sender)
{
    if (Sender == tbtnStop) {
        Settings.TimerBkUp = 0;
        lblAutobkup->setText(QStringLiteral("Timer BkUp Disabled"));
        SetTextColour(lblAutobkup, LightRed);
    } else if (Sender == tbtnRun) {
        Settings.TimerBkUp = 1;
        lblAutobkup->setText(QStringLiteral("Timer BkUp Enabled"));
        SetTextColour(lblAutobkup, LightGreen);
    }
}

void TMainForm::Timer1Timer()
{
    if (Skin->TimelySkinChange != 0 && SkinChangeDue(Clock.TickCount(), Skin->SkinChangePeriod))
        ChangeSkin1Click();

    const TickSpan ticks{LastTick, {Clock.Now(), Clock.TickCount()}, ClockSetSinceTick};
    // Kept before the backups run, so that a tick running inside a box one
    // of them opens sees this tick as the one before it.
    LastTick = ticks.Now;
    ClockSetSinceTick = false;
    lblClock->setText(ClockCaption(QLocale(), ticks.Now.Local));

    bool refresh = RefreshPending;
    if (Settings.TimerBkUp == 1) {
        ListWalk walk(*this);
        const bool ran = RunDueBackups(ProjectList, ticks, Clock, Dialogs, [this](const std::string& text) {
            lbStatus->setText(Local(text));
            lbStatus->repaint();
        });
        refresh = ran || refresh;
    }
    if (!refresh)
        return;
    // A box or dialog may be open in the middle of work on the window's lists
    // (a restore, the projects dialog); the window is refreshed once it is closed.
    if (QApplication::activeModalWidget() || ListWalkDepth > 0) {
        RefreshPending = true;
        return;
    }
    RefreshPending = false;
    LoadCurrentPrj();
}

void TMainForm::WMTimeChange() { Dialogs.Message("System Time Changed."); }

} // namespace tarvok::ui
