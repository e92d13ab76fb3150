// The schedule panel, the once-a-second tick with its clock line and
// automatic backups, and the reaction to a set of the system clock.
#include "base/Clock.h"
#include "core/AutoBackup.h"
#include "core/Dialogs.h"
#include "core/Schedule.h"
#include "core/SkinChoice.h"
#include "ui/main/Main.h"
#include "ui/skin/SkinCanvas.h"
#include "ui/widgets/ClockCaption.h"
#include "ui/widgets/LocalText.h"

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

} // namespace

void TMainForm::ConnectSchedule()
{
    // A box's change reaction follows the user's choice from the list and the
    // user's typing, never a selection made from code.
    for (const auto& [box, reaction] :
         {std::pair{cbxBkupType, &TMainForm::cbxBkupTypeChange}, std::pair{cbxDay, &TMainForm::cbxDayChange},
          std::pair{cbxTime, &TMainForm::cbxTimeChange}}) {
        React(box, &QComboBox::activated, reaction);
        React(box->lineEdit(), &QLineEdit::textEdited, reaction);
    }
    React(btnSetTime, &QPushButton::clicked, &TMainForm::btnSetTimeClick);
    React(tbtnStop, &QToolButton::clicked, [this] { tbtnStopRunClick(tbtnStop); });
    React(tbtnRun, &QToolButton::clicked, [this] { tbtnStopRunClick(tbtnRun); });

    Timer1 = new QTimer(this);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(1000);
    // Queued, so each tick runs as a posted call and not inside the timer's
    // own event: a tick waiting in a message box (a failed backup, a missing
    // file) then does not hold up the ticks after it.
    React(Timer1, &QTimer::timeout, &TMainForm::Timer1Timer, Qt::QueuedConnection);
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
        cbxTime->setCurrentIndex(state_.Current().Hour);
        break;
    case Weekly:
    case Monthly:
        cbxDay->setEnabled(true);
        cbxTime->setEnabled(true);
        cbxDay->clear();
        cbxDay->clearEditText();
        for (const std::string& item : DayBoxItems(static_cast<uint8_t>(period)))
            cbxDay->addItem(Local(item));
        cbxDay->setCurrentIndex(DayBoxIndex(static_cast<uint8_t>(period), state_.Current().Day));
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
    state_.SetBackupDay(static_cast<uint8_t>(day));
}

void TMainForm::cbxTimeChange()
{
    const int hour = SelectedIndex(cbxTime);
    if (hour >= 0)
        state_.SetBackupHour(static_cast<uint8_t>(hour));
}

void TMainForm::btnSetTimeClick()
{
    state_.SaveSchedule({SelectedIndex(cbxBkupType), SelectedIndex(cbxDay), SelectedIndex(cbxTime)});
}

void TMainForm::tbtnStopRunClick(QObject* Sender)
{
    if (Sender == tbtnStop) {
        state_.SetTimerBackups(false);
        lblAutobkup->setText(QStringLiteral("Timer BkUp Disabled"));
        SetTextColour(lblAutobkup, LightRed);
    } else if (Sender == tbtnRun) {
        state_.SetTimerBackups(true);
        lblAutobkup->setText(QStringLiteral("Timer BkUp Enabled"));
        SetTextColour(lblAutobkup, LightGreen);
    }
}

void TMainForm::Timer1Timer()
{
    if (state_.TimelySkinChange() && SkinChangeDue(Clock.TickCount(), state_.SkinChangePeriod()))
        ChangeSkin1Click();

    const TickSpan ticks = state_.NextTick({Clock.Now(), Clock.TickCount()});
    lblClock->setText(ClockCaption(QLocale(), ticks.Now.Local));
    if (breathing_) {
        state_.HoldDueBackups(ticks);
        return;
    }
    RunAutoBackups([&](WorkProgress& progress, const StatusWriter& status) {
        return state_.RunDueBackups(ticks, Clock, Dialogs, status, &progress);
    });
}

void TMainForm::RunHeldBackups()
{
    RunAutoBackups([&](WorkProgress& progress, const StatusWriter& status) {
        return state_.RunHeldBackups(Clock, Dialogs, status, &progress);
    });
}

void TMainForm::RunAutoBackups(const std::function<bool(WorkProgress&, const StatusWriter&)>& run)
{
    bool refresh = state_.RefreshOwed();
    {
        ListWalk walk(*this);
        WorkBreath breath(*this);
        refresh = run(breath,
                      [this](const std::string& text) {
                          lbStatus->setText(Local(text));
                          lbStatus->repaint();
                      }) ||
                  refresh;
    }
    if (!refresh)
        return;
    // A box or dialog may be open in the middle of work on the lists (a
    // restore, the projects dialog); the window is refreshed once it is closed.
    if (QApplication::activeModalWidget() || state_.Working()) {
        state_.OweRefresh();
        return;
    }
    state_.RefreshDone();
    LoadCurrentPrj();
}

void TMainForm::SystemTimeChanged()
{
    state_.ClockWasSet();
    QMetaObject::invokeMethod(this, Reporting(&TMainForm::WMTimeChange), Qt::QueuedConnection);
}

void TMainForm::WMTimeChange() { Dialogs.Message("System Time Changed."); }

} // namespace tarvok::ui
