// The main menu `filemenu` (opened by the menu button) and the notification
// area's menu `RatMenu`.
#include "ui/main/Main.h"

#include <QLabel>
#include <QMenu>

namespace tarvok::ui {
namespace {

QAction* Item(QMenu* menu, const char* caption) { return menu->addAction(QString::fromLatin1(caption)); }

QAction* CheckItem(QMenu* menu, const char* caption, bool checked)
{
    QAction* action = Item(menu, caption);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

QMenu* Submenu(QMenu* menu, const char* caption) { return menu->addMenu(QString::fromLatin1(caption)); }

} // namespace

void TMainForm::BuildMenus()
{
    filemenu = new QMenu(this);
    File1 = Submenu(filemenu, "File");
    OpenProject1 = Item(File1, "Edit Projects");
    N6 = filemenu->addSeparator();
    Edit1 = Submenu(filemenu, "Edit");
    AddSourceFiles1 = Item(Edit1, "Add Source Files");
    DeleteSelectedSourceFiles1 = Item(Edit1, "Delete Selected Source Files");
    BackUpAll1 = Item(Edit1, "BackUp All");
    N3 = Edit1->addSeparator();
    RestoreSelectedFiles1 = Item(Edit1, "Restore Selected Files");
    DeleteSelectedBackupFiles1 = Item(Edit1, "Delete Selected Backup Files");
    SelectBackUpDirectory1 = Item(Edit1, "Select BackUp Directory");
    N5 = filemenu->addSeparator();
    Display1 = Submenu(filemenu, "Display");
    Hide1 = Item(Display1, "Hide Tarvok");
    N7 = Display1->addSeparator();
    RandomSkin1 = CheckItem(Display1, "Random Skin", false);
    N8 = Display1->addSeparator();
    ChangeSkin1 = Item(Display1, "Change Skin");
    TimelyChange1 = CheckItem(Display1, "Timely Change Skin", true);
    DefaultSkin1 = Item(Display1, "Default Skin");
    N2 = Display1->addSeparator();
    Transparent1 = Item(Display1, "Transparent Window");
    Opaque1 = Item(Display1, "Opaque Window");
    RoundedWindow1 = Item(Display1, "Rounded Window");
    N11 = Display1->addSeparator();
    ComponetsHideShow1 = Item(Display1, "Componets Hide/Show");
    N10 = filemenu->addSeparator();
    Tools1 = Submenu(filemenu, "Tools");
    SetcurrentSkinasWallPaper1 = Item(Tools1, "Set current Skin as Wall Paper");
    ClearWallPaper1 = Item(Tools1, "Clear Wall Paper");
    N1 = Tools1->addSeparator();
    RunTarvokonWindowsStartUp1 = Item(Tools1, "Auto StartUp by Windows");
    DisableAutoStarUp1 = Item(Tools1, "Disable Auto StarUp");
    N9 = Tools1->addSeparator();
    DosMode1 = Item(Tools1, "Dos Mode");
    N13 = filemenu->addSeparator();
    About1 = Item(filemenu, "About");
    N4 = filemenu->addSeparator();
    Exit1 = Item(filemenu, "Exit");

    // A right click on the menu button opens the menu at the pointer.
    MenuImage->setContextMenuPolicy(Qt::CustomContextMenu);
    React(MenuImage, &QWidget::customContextMenuRequested,
          [this](const QPoint& at) { filemenu->popup(MenuImage->mapToGlobal(at)); });

    RatMenu = new QMenu(this);
    cmHide = Item(RatMenu, "H&ide");
    cmQuit = Item(RatMenu, "&Quit");
    N12 = RatMenu->addSeparator();
    HideIE1 = Item(RatMenu, "Hide IE");
    HideIE1->setEnabled(false);
    ScreenSaverOn1 = Item(RatMenu, "Screen Saver On");
    MenuItem1 = RatMenu->addSeparator();
    cmAbout = Item(RatMenu, "&About");
}

} // namespace tarvok::ui
