#pragma once
#include <QIcon>

#include <vector>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSystemTrayIcon;
class QTimer;
class QToolButton;
class QWidget;

namespace tarvok::ui {

class SkinCanvas;
class LineList;
class WindowChrome;
class WorkBar;

// The main window's parts under the names the program gives them: the
// controls, the menus, the timer, the tray icon and the skin. The window
// builds them and owns them through Qt's parent chain.
struct MainControls {
    // ---- Controls (MainLayout.cpp), in tab order ----------------------------
    QLabel* MenuImage = nullptr;
    QLabel* MinImage = nullptr;
    QLabel* CloseImage = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnselDir = nullptr;
    QPushButton* btnRestore = nullptr;
    QPushButton* BtnDelBkUp = nullptr;
    QPushButton* btnBackUp = nullptr;
    QFrame* pnlAutoBkUp = nullptr;
    QComboBox* cbxBkupType = nullptr;
    QComboBox* cbxDay = nullptr;
    QComboBox* cbxTime = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticText3 = nullptr;
    QPushButton* btnSetTime = nullptr;
    QWidget* ToolBar1 = nullptr;
    QToolButton* tbtnStop = nullptr;
    QToolButton* tbtnRun = nullptr;
    QLabel* lblAutobkup = nullptr;
    QLabel* pnlClock = nullptr;
    QLabel* lblClock = nullptr;
    LineList* lbxSource = nullptr;
    LineList* lbxTarget = nullptr;
    QLineEdit* edTarget = nullptr;
    QLabel* stTarget = nullptr;
    QLabel* lbStatus = nullptr;
    QPushButton* btnBackPrjDir = nullptr;
    QComboBox* cbxProjects = nullptr;
    QLineEdit* edBkUp = nullptr;
    // Seven 16 x 16 pictures: cross, pause, play, blue cross, cross with
    // tick, tick, stop. The tool bar shows 2 and 6.
    std::vector<QIcon> ImageList1;

    // ---- Menus (MainMenus.cpp) ---------------------------------------------
    QMenu* filemenu = nullptr;
    QMenu* File1 = nullptr;
    QAction* OpenProject1 = nullptr;
    QAction* N6 = nullptr;
    QMenu* Edit1 = nullptr;
    QAction* AddSourceFiles1 = nullptr;
    QAction* DeleteSelectedSourceFiles1 = nullptr;
    QAction* BackUpAll1 = nullptr;
    QAction* N3 = nullptr;
    QAction* RestoreSelectedFiles1 = nullptr;
    QAction* DeleteSelectedBackupFiles1 = nullptr;
    QAction* SelectBackUpDirectory1 = nullptr;
    QAction* N5 = nullptr;
    QMenu* Display1 = nullptr;
    QAction* Hide1 = nullptr;
    QAction* N7 = nullptr;
    QAction* RandomSkin1 = nullptr;
    QAction* N8 = nullptr;
    QAction* ChangeSkin1 = nullptr;
    QAction* TimelyChange1 = nullptr;
    QAction* DefaultSkin1 = nullptr;
    QAction* N2 = nullptr;
    QAction* Transparent1 = nullptr;
    QAction* Opaque1 = nullptr;
    QAction* RoundedWindow1 = nullptr;
    QAction* N11 = nullptr;
    QAction* ComponetsHideShow1 = nullptr;
    QAction* N10 = nullptr;
    QMenu* Tools1 = nullptr;
    QAction* SetcurrentSkinasWallPaper1 = nullptr;
    QAction* ClearWallPaper1 = nullptr;
    QAction* N1 = nullptr;
    QAction* RunTarvokonWindowsStartUp1 = nullptr;
    QAction* DisableAutoStarUp1 = nullptr;
    QAction* N9 = nullptr;
    QAction* DosMode1 = nullptr;
    QAction* N13 = nullptr;
    QAction* About1 = nullptr;
    QAction* N4 = nullptr;
    QAction* Exit1 = nullptr;

    QMenu* RatMenu = nullptr;
    QAction* cmHide = nullptr;
    QAction* cmQuit = nullptr;
    QAction* N12 = nullptr;
    QAction* HideIE1 = nullptr;
    QAction* ScreenSaverOn1 = nullptr;
    QAction* MenuItem1 = nullptr;
    QAction* cmAbout = nullptr;

    // ---- Parts without a place in the layout ----------------------------------
    QTimer* Timer1 = nullptr;
    QSystemTrayIcon* TrayIcon = nullptr;
    WorkBar* pbWork = nullptr; // the share of long work done, in the status line
    SkinCanvas* Skin = nullptr;
    WindowChrome* Chrome = nullptr;
};

} // namespace tarvok::ui
