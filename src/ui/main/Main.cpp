#include "ui/main/Main.h"

#include "platform/qt/CloseRequests.h"
#include "platform/qt/SessionEnd.h"
#include "ui/shell/ErrorReport.h"
#include "ui/widgets/KeyPreview.h"
#include "ui/widgets/KeyboardReturn.h"
#include "ui/widgets/PlainText.h"

namespace tarvok::ui {

TMainForm::TMainForm(const MainSeams& seams, std::string appDir, QWidget* parent)
    : QWidget(parent), Dialogs(seams.Dialogs), Clock(seams.Clock), Shell(seams.Shell), Desktop(seams.Desktop),
      UserName(seams.UserName), Tray(seams.Tray), state_(std::move(appDir))
{
    BuildControls();
    BuildMenus();
    ShowLabelsPlain(this);
    new PlainTips(this);
    new KeyboardReturn(*this);
    // Reactions, one concern at a time.
    ConnectLifecycle();
    ConnectTray();
    ConnectKeyboard();
    ConnectBackup();
    ConnectSkin();
    ConnectDialogs();
    ConnectDesktopTools();
    closeRequests_ = std::make_unique<platform::CloseRequests>(
        [this](WId window, std::optional<QPoint> pressedAt) { return TakeCloseRequest(window, pressedAt); });
    if (seams.SessionEnd) {
        React(seams.SessionEnd, &platform::SessionEndWatcher::SaveRequested, &TMainForm::SaveAtSessionEnd);
        React(seams.SessionEnd, &platform::SessionEndWatcher::SessionEnding, &TMainForm::EndSession);
    }
    // An error ends the creation steps, not the window.
    Reporting (&TMainForm::FormCreate)();
    // Without a notification area the window is the only way to the program,
    // unless the session ended while the start's question was open.
    if (!Tray.Runs() && !state_.SessionEnded())
        ShowUnlessATrayComes(Tray.WaitAtStartMs);
    // Timer1 runs from here to the end of the program.
    ConnectSchedule();
}

TMainForm::~TMainForm()
{
    // The key filter outlives this object otherwise: QWidget's destructor
    // deactivates the window, and the filter would call back into a form
    // whose members are gone.
    delete Preview;
    Preview = nullptr;
    closeRequests_.reset();
    FormDestroy();
}

} // namespace tarvok::ui
