// The projects dialog and the About window, opened from the menus.
#include "ui/dialogs/Aboutdlg.h"
#include "ui/main/Main.h"
#include "ui/dialogs/Projects.h"

#include <QAction>
#include <QComboBox>

namespace tarvok::ui {

void TMainForm::ConnectDialogs()
{
    connect(OpenProject1, &QAction::triggered, this, &TMainForm::OpenProject1Click);
    connect(About1, &QAction::triggered, this, &TMainForm::About1Click);
    connect(cmAbout, &QAction::triggered, this, &TMainForm::cmAboutClick);
}

void TMainForm::OpenProject1Click()
{
    {
        TPrjDlg PrjDlg(ProjectList, CurrentProject, AppDir, Dialogs, this);
        PrjDlg.exec();
    }
    // The dialog may have deleted the current project or every project.
    EnsureCurrentProject();
    FillcbxProjects();
    cbxProjects->setCurrentIndex(IndexOfPrj(ProjectList, CurrentProject));
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
