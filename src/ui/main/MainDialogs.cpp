// The projects dialog and the About window, opened from the menus.
#include "ui/dialogs/Aboutdlg.h"
#include "ui/dialogs/Projects.h"
#include "ui/main/Main.h"

#include <QAction>
#include <QComboBox>

namespace tarvok::ui {

void TMainForm::ConnectDialogs()
{
    React(OpenProject1, &QAction::triggered, &TMainForm::OpenProject1Click);
    React(About1, &QAction::triggered, &TMainForm::About1Click);
    React(cmAbout, &QAction::triggered, &TMainForm::cmAboutClick);
}

void TMainForm::OpenProject1Click()
{
    {
        // A close asked while the dialog is open waits for it: the dialog
        // edits the projects the close frees.
        ListWalk walk(*this);
        TPrjDlg PrjDlg(state_, Dialogs, this);
        PrjDlg.exec();
    }
    if (state_.SessionEnded())
        return;
    state_.EnsureCurrentProject(); // the dialog may have deleted every project
    FillcbxProjects();
    cbxProjects->setCurrentIndex(state_.CurrentIndex());
    LoadCurrentPrj();
}

void TMainForm::About1Click()
{
    TAboutBox AboutBox(Shell, this);
    AboutBox.lbVer->setText(QStringLiteral("Ver: 1.0a"));
    AboutBox.lbVer->adjustSize();
    AboutBox.exec();
}

void TMainForm::cmAboutClick() { About1Click(); }

} // namespace tarvok::ui
