// The skin of the frameless window, its image buttons, the Display menu's
// skin and shape commands, and the showing and hiding of the controls.
#include "core/SkinChoice.h"
#include "platform/qt/Compositing.h"
#include "ui/main/Main.h"
#include "ui/skin/SkinCanvas.h"
#include "ui/skin/WindowChrome.h"
#include "ui/skin/WindowShape.h"
#include "ui/widgets/LineList.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace tarvok::ui {
namespace {

constexpr int WindowCorner = 200; // the corner ellipse's width and height

} // namespace

void TMainForm::ConnectSkin()
{
    Skin = new SkinCanvas(*this);
    Chrome = new WindowChrome(*this, {MenuImage, Reporting(&TMainForm::MenuImageClick)},
                              {MinImage, Reporting(&TMainForm::MinImageClick)},
                              {CloseImage, Reporting(&TMainForm::CloseImageClick)}, Reporting(&TMainForm::ShowBkgndPic),
                              [this] { return Tray.Runs(); });
    // The built-in skin until the creation steps choose one, so a window
    // whose creation stopped early is still painted and shaped.
    Skin->LoadBuiltIn();
    Skin->FitWindowToSkin();
    SetRoundedWindow(*this, WindowCorner);
    React(ChangeSkin1, &QAction::triggered, &TMainForm::ChangeSkin1Click);
    React(DefaultSkin1, &QAction::triggered, &TMainForm::DefaultSkin1Click);
    React(RandomSkin1, &QAction::triggered, &TMainForm::RandomSkin1Click);
    React(TimelyChange1, &QAction::triggered, &TMainForm::TimelyChange1Click);
    React(ComponetsHideShow1, &QAction::triggered, &TMainForm::ComponetsHideShow1Click);
    React(Transparent1, &QAction::triggered, &TMainForm::Transparent1Click);
    React(Opaque1, &QAction::triggered, &TMainForm::Opaque1Click);
    React(RoundedWindow1, &QAction::triggered, &TMainForm::RoundedWindow1Click);
}

void TMainForm::setVisible(bool visible)
{
    // Translucency belongs to the native window, made at the first show: a
    // compositing manager that runs by then decides it for the whole run.
    if (visible && !testAttribute(Qt::WA_WState_Created) && platform::CompositingManagerRuns())
        Skin->UseTranslucency();
    QWidget::setVisible(visible);
}

void TMainForm::SetUpSkin()
{
    // A skin file that cannot be read counts as missing: the built-in skin stays.
    if (!Skin->LoadFile(SkinPath(state_.AppDir(), state_.Settings().SkinNo)))
        return;
    Skin->FitWindowToSkin();
    SetRoundedWindow(*this, WindowCorner);
}

void TMainForm::ChangeSkin1Click()
{
    state_.StepSkin([this](const std::string& path) { return Skin->LoadFile(path); });
}

void TMainForm::DefaultSkin1Click() { Skin->LoadBuiltIn(); }

void TMainForm::RandomSkin1Click()
{
    state_.ToggleRandomSkin();
    RandomSkin1->setChecked(state_.Settings().RandomSkin != 0);
}

void TMainForm::TimelyChange1Click()
{
    state_.ToggleTimelySkinChange();
    TimelyChange1->setChecked(state_.TimelySkinChange());
}

void TMainForm::ComponetsHideShow1Click()
{
    state_.ToggleComponentsShown();
    ShowBkgndPic(state_.ComponentsShown());
}

void TMainForm::ShowBkgndPic(bool visible)
{
    // The menu button is not among them: it always stays.
    QWidget* const controls[] = {MinImage,  CloseImage, pnlClock,      cbxProjects, stTarget,  lbxSource,
                                 edBkUp,    lbxTarget,  btnBackPrjDir, edTarget,    btnBackUp, btnAdd,
                                 btnDelete, btnRestore, BtnDelBkUp,    btnselDir,   lbStatus,  pnlAutoBkUp};
    for (QWidget* control : controls)
        control->setVisible(visible);
}

void TMainForm::MenuImageClick() { filemenu->exec(mapToGlobal(MenuImage->geometry().topLeft() + QPoint(16, 16))); }

void TMainForm::MinImageClick() { HideMainWindow(); }

void TMainForm::CloseImageClick() { close(); }

void TMainForm::Transparent1Click() { SetTransparentWindow(*this); }

void TMainForm::Opaque1Click() { SetOpaqueWindow(*this); }

void TMainForm::RoundedWindow1Click() { SetRoundedWindow(*this, WindowCorner); }

} // namespace tarvok::ui
