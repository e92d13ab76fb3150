#include "ui/main/Main.h"

#include "ui/shell/ErrorReport.h"
#include "ui/widgets/KeyPreview.h"
#include "ui/widgets/PlainText.h"

namespace tarvok::ui {

TMainForm::TMainForm(tarvok::Dialogs& dialogs, tarvok::Clock& clock, tarvok::Shell& shell, std::string appDir,
                     QWidget* parent)
    : QWidget(parent), Dialogs(dialogs), Clock(clock), Shell(shell), AppDir(std::move(appDir))
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
    // An error ends the creation steps, not the window.
    try {
        FormCreate();
    } catch (const std::exception& error) {
        ReportError(Dialogs, error);
    }
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
    FormDestroy();
}

} // namespace tarvok::ui
