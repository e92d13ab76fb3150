// The skin of the frameless window, its image buttons, the Display menu's
// skin and shape commands, and the showing and hiding of the controls.
#include "core/SkinChoice.h"
#include "platform/qt/Compositing.h"
#include "ui/main/Main.h"
#include "ui/skin/SkinCanvas.h"
#include "ui/skin/WindowChrome.h"
#include "ui/skin/WindowShape.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

namespace tarvok::ui {
namespace {

constexpr int WindowCorner = 200; // the corner ellipse's width and height

} // namespace

void TMainForm::ConnectSkin()
{
    Skin = new SkinCanvas(*this);
    Chrome = new WindowChrome(*this);
    // The built-in skin until the creation steps choose one, so a window
    // whose creation stopped early is still painted and shaped.
    Skin->LoadBuiltIn();
    Skin->FitWindowToSkin();
    SetRoundedWindow(*this, WindowCorner);
    connect(ChangeSkin1, &QAction::triggered, this, &TMainForm::ChangeSkin1Click);
    connect(DefaultSkin1, &QAction::triggered, this, &TMainForm::DefaultSkin1Click);
    connect(RandomSkin1, &QAction::triggered, this, &TMainForm::RandomSkin1Click);
    connect(TimelyChange1, &QAction::triggered, this, &TMainForm::TimelyChange1Click);
    connect(ComponetsHideShow1, &QAction::triggered, this, &TMainForm::ComponetsHideShow1Click);
    connect(Transparent1, &QAction::triggered, this, &TMainForm::Transparent1Click);
    connect(Opaque1, &QAction::triggered, this, &TMainForm::Opaque1Click);
    connect(RoundedWindow1, &QAction::triggered, this, &TMainForm::RoundedWindow1Click);
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
    if (!Skin->LoadFile(SkinPath(AppDir, Settings.SkinNo)))
        return;
    Skin->FitWindowToSkin();
    SetRoundedWindow(*this, WindowCorner);
}

void TMainForm::ChangeSkin1Click()
{
    StepToNextSkin(Settings.SkinNo, SkinCount,
                   [this](int32_t skinNo) { return Skin->LoadFile(SkinPath(AppDir, skinNo)); });
}

void TMainForm::DefaultSkin1Click() { Skin->LoadBuiltIn(); }

void TMainForm::RandomSkin1Click()
{
    Settings.RandomSkin = 1 - Settings.RandomSkin;
    RandomSkin1->setChecked(Settings.RandomSkin != 0);
}

void TMainForm::TimelyChange1Click()
{
    Skin->TimelySkinChange = 1 - Skin->TimelySkinChange;
    TimelyChange1->setChecked(Skin->TimelySkinChange != 0);
}

void TMainForm::ComponetsHideShow1Click()
{
    Skin->ComponentsShown = 1 - Skin->ComponentsShown;
    ShowBkgndPic(Skin->ComponentsShown != 0);
}

void TMainForm::ShowBkgndPic(bool visible)
{
    // The menu button is not among them: it always stays.
    QWidget* const controls[] = {MinImage,  CloseImage, pnlClock,      cbxProjects, stTarget,   lbxSource,
                                 edBkUp,    lbxTarget,  btnBackPrjDir, edTarget,    btnBackUp,  btnAdd,
                                 btnDelete, btnRestore, BtnDelBkUp,    btnselDir,   lbStatus,   pnlAutoBkUp};
    for (QWidget* control : controls)
        control->setVisible(visible);
}

void TMainForm::MenuImageClick()
{
    filemenu->exec(mapToGlobal(MenuImage->geometry().topLeft() + QPoint(16, 16)));
}

void TMainForm::MinImageClick() { hide(); }

void TMainForm::CloseImageClick() { close(); }

void TMainForm::Transparent1Click() { SetTransparentWindow(*this); }

void TMainForm::Opaque1Click() { SetOpaqueWindow(*this); }

void TMainForm::RoundedWindow1Click() { SetRoundedWindow(*this, WindowCorner); }

} // namespace tarvok::ui
