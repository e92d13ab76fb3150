// Creation, showing and closing of the main window, and the current project.
#include "base/Clock.h"
#include "base/InOutError.h"
#include "core/Dialogs.h"
#include "core/ProjectFile.h"
#include "core/Schedule.h"
#include "core/SkinChoice.h"
#include "ui/main/Main.h"
#include "ui/shell/ErrorReport.h"
#include "ui/widgets/LineList.h"
#include "ui/widgets/LocalText.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

namespace tarvok::ui {
namespace {

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

} // namespace

void TMainForm::ConnectLifecycle()
{
    React(cbxProjects, &QComboBox::activated, &TMainForm::cbxProjectsChange);
    React(Exit1, &QAction::triggered, [this] { close(); });
}

void TMainForm::FormCreate()
{
    try {
        state_.LoadAtStart();
    } catch (const EInOutError& error) {
        // Go on as without a settings file, so the window has a current
        // project; the file itself is never replaced in this run.
        ReportError(Dialogs, error);
        state_.UseDefaultSettings();
    }
    RandomSkin1->setChecked(state_.Settings().RandomSkin != 0);
    if (state_.Settings().RandomSkin == 1)
        state_.PickRandomSkin(Clock.TickCount());
    SetUpSkin();

    CreateTrayIcon();

    if (state_.Settings().TimerBkUp == 0) {
        const std::optional<std::string> user = UserName();
        if (!user)
            return;
        if (Dialogs.Confirm("Hi, " + *user + ". Do you wanna enable Auto BackUp?"))
            state_.SetTimerBackups(true);
    }
    const uint8_t timer = state_.Settings().TimerBkUp;
    if (timer == 0) {
        tbtnStop->setChecked(true);
        tbtnStopRunClick(tbtnStop);
    } else if (timer == 1) {
        tbtnRun->setChecked(true);
        tbtnStopRunClick(tbtnRun);
    }
}

void TMainForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored by the window manager was never hidden. An error
    // (an unreadable project file) is reported here, not left to Qt.
    if (!event->spontaneous())
        Reporting (&TMainForm::FormShow)();
}

void TMainForm::FormShow()
{
    const PrjRec& current = state_.Current();
    cbxBkupType->setCurrentIndex(current.Period);
    if (btnBackUp->isVisible())
        btnBackUp->setFocus();
    FillcbxProjects();
    cbxProjects->setCurrentIndex(state_.CurrentIndex());
    if (state_.Working())
        state_.OweRefresh(); // the next tick after the work reloads
    else
        LoadCurrentPrj();
}

void TMainForm::LoadCurrentPrj()
{
    lbxSource->clear();
    state_.LoadSourceList();
    const PrjRec& current = state_.Current();
    FilllbxSource(state_.SourceList());
    edBkUp->setText(QString::fromLatin1(AutoBkUpText(current.AutoBkUp)));
    ShowBkUpFolders(current.BackUpDir);
    edTarget->setText(Local(current.BackUpDir));
    cbxBkupType->setCurrentIndex(current.Period);
    cbxBkupTypeChange();
    cbxTime->setCurrentIndex(current.Hour);
}

void TMainForm::FillcbxProjects()
{
    cbxProjects->clear();
    for (const PrjRec& project : state_.ProjectList())
        cbxProjects->addItem(Local(project.Name));
}

void TMainForm::FilllbxSource(const FileList& list)
{
    lbxSource->clear();
    lbxSource->AddFileLines(list);
}

void TMainForm::cbxProjectsChange()
{
    // Typed text that names no project keeps the current one.
    if (state_.SelectProject(cbxProjects->currentIndex()))
        LoadCurrentPrj();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // The session's end has written everything and is ending the program.
    if (state_.SessionEnded()) {
        event->accept();
        return;
    }
    // Refused until the close steps are done; a failed write the user does not
    // pass over keeps the window open.
    event->ignore();
    Reporting([this, event] {
        // No question in the middle of a run: it comes once the run is over.
        if (breathing_) {
            closeAsked_ = true;
            return;
        }
        if (!FormCloseQuery())
            return;
        if (state_.Working()) {
            state_.HoldClose();
            return;
        }
        if (FinishClose())
            event->accept();
    })();
}

bool TMainForm::FinishClose()
{
    if (!FormClose())
        return false;
    // The program's end is decided: a session's end that comes now finds
    // nothing left to write, and leaves the wallpaper of an Exit alone.
    state_.EndSession();
    hide();
    emit Closed();
    return true;
}

bool TMainForm::FormCloseQuery() { return Dialogs.Confirm("Are you sure to exit this program?"); }

bool TMainForm::FormClose()
{
    std::vector<std::string> notSaved;
    try {
        notSaved = state_.SaveForClose();
    } catch (const EInOutError& error) {
        // A folder that stays unwritable would keep the program from ever
        // ending but by a signal: the user may end it without saving.
        if (!Dialogs.ConfirmDefaultNo(ErrorBoxText(error.what()) + "\nQuit without saving?"))
            return false;
    }
    state_.Clear();
    if (!notSaved.empty())
        Dialogs.Warning(JoinLines(notSaved));
    return true;
}

void TMainForm::FormDestroy()
{
    if (TrayIcon)
        TrayIcon->hide();
}

} // namespace tarvok::ui
