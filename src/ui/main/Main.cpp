#include "ui/main/Main.h"

#include "platform/qt/CloseRequests.h"
#include "ui/shell/ErrorReport.h"
#include "ui/widgets/KeyPreview.h"
#include "ui/widgets/PlainText.h"

namespace tarvok::ui {

TMainForm::TMainForm(const MainSeams& seams, std::string appDir, QWidget* parent)
    : QWidget(parent), Dialogs(seams.Dialogs), Clock(seams.Clock), Shell(seams.Shell), Desktop(seams.Desktop),
      UserName(seams.UserName), state_(std::move(appDir))
{
    BuildControls();
    BuildMenus();
    ShowLabelsPlain(this);
    new PlainTips(this);
    // Reactions, one concern at a time.
    ConnectLifecycle();
    ConnectTray();
    ConnectKeyboard();
    ConnectBackup();
    ConnectSkin();
    ConnectDialogs();
    ConnectDesktopTools();
    closeRequests_ = std::make_unique<platform::CloseRequests>([this](WId window) { return TakeCloseRequest(window); });
    // An error ends the creation steps, not the window.
    Reporting(&TMainForm::FormCreate)();
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
