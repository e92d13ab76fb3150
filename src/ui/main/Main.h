#pragma once
#include "core/BackupEngine.h"
#include "core/Desktop.h"
#include "core/FileUtility.h"
#include "core/KeyState.h"
#include "core/Schedule.h"
#include "core/Settings.h"

#include <QIcon>
#include <QSystemTrayIcon>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;

namespace tarvok {
class Clock;
class Dialogs;
class Shell;
} // namespace tarvok

namespace tarvok::platform {
class TimeChangeWatcher;
} // namespace tarvok::platform

namespace tarvok::ui {

class KeyPreview;
class SkinCanvas;
class WindowChrome;

// The main window. It owns the program's whole state, so every test builds a
// fresh world from the seams and an application directory. The
// implementation is split by concern over the Main*.cpp files named below.
class TMainForm : public QWidget {
    Q_OBJECT

public:
    // Builds the controls and menus, then runs FormCreate; an error there is
    // reported and the window is created all the same.
    TMainForm(tarvok::Dialogs& dialogs, tarvok::Clock& clock, tarvok::Shell& shell, std::string appDir,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    // ---- Seams ----------------------------------------------------------
    tarvok::Dialogs& Dialogs;
    tarvok::Clock& Clock;
    tarvok::Shell& Shell;

    // ---- Program state --------------------------------------------------
    std::string AppDir;
    AppSettings Settings;
    tarvok::ProjectList ProjectList;
    PrjRec* CurrentProject = nullptr; // always a record of ProjectList
    FileList SourceList;
    FileList BackupList;
    std::string LastDir;
    bool SourceListLoaded = false; // SourceList read for the current project since start
    uint16_t SkinCount = 0;        // files in AppDir/Skin, counted at creation
    tarvok::KeyState KeyState;

    // ---- Lifecycle and current project (MainLifecycle.cpp) --------------
    void FormCreate();
    void FormShow();
    bool FormCloseQuery(); // true: the close may go on
    void FormClose();
    void FormDestroy();
    void LoadCurrentPrj();
    void FillcbxProjects();
    void FilllbxSource(const FileList& list);
    void cbxProjectsChange();
    static uint16_t CountFiles(const std::string& dir);
    static std::optional<std::string> CurrentUserName();
    // Makes CurrentProject a record of ProjectList again, recreating the
    // default project when the list is empty.
    void EnsureCurrentProject();

    // Marks work that walks the window's lists and may wait in a box
    // meanwhile (a backup run, a restore, automatic backups). A close allowed
    // during it, and a reload of the current project, wait until it is over:
    // both would free the records the work is walking.
    class ListWalk {
    public:
        explicit ListWalk(TMainForm& form);
        ~ListWalk();
        ListWalk(const ListWalk&) = delete;
        ListWalk& operator=(const ListWalk&) = delete;

    private:
        TMainForm& form_;
    };
    int ListWalkDepth = 0;
    bool ClosePending = false; // the user allowed a close during a walk

    // ---- Files kept safe, end of session (MainLifecycle.cpp, MainSessionEnd.cpp)
    SettingsFileState SettingsFile;   // dormant projects; why Tarvok.ini could not be read
    std::string ProjectFileReadError; // why the current project's file could not be read, or empty
    // The session ends: write what the close writes and ask nothing; a
    // failure goes to the error output, since nobody is left to answer a box.
    void SaveAtSessionEnd();
    // The same, then the end of the program.
    void EndSession();
    bool SessionEnded = false;

    // ---- Backup operations (MainBackup.cpp, MainBrowser.cpp, MainSourceList.cpp)
    void ConnectBackup(); // binds the buttons, their filemenu items and both lists
    tarvok::BrowserMode BrowserMode = tarvok::BrowserMode::FolderView;
    void btnBackUpClick();
    void btnRestoreClick();
    void BtnDelBkUpClick();
    void btnselDirClick();
    void ShowBkUpFolders(const std::string& Dir);
    void ShowBkUpFiles(const FileList& List);
    void lbxTargetDblClick();
    void lbxSourceDblClick();
    void btnBackPrjDirClick();
    void lbxTargetMouseMove(const QPoint& pos);
    void lbxSourceMouseMove(const QPoint& pos);
    void lbxtMouseDown(QListWidget* list, const QPoint& pos); // either list
    void lbxSourceKeyDown(uint16_t key);
    void lbxTargetKeyDown(uint16_t key);
    void btnAddClick();
    void btnDeleteClick();
    bool IsInSourceList(const std::string& path) const;

    // ---- Tray icon and tray menu (MainTray.cpp) --------------------------
    void CreateTrayIcon();
    void TrayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void RatMenuPopup();
    void cmHideClick();
    void cmQuitClick();
    void Hide1Click();
    // Shows the window, restores it when minimised, raises and activates it.
    void ShowMainWindow();
    QSystemTrayIcon* TrayIcon = nullptr;
    bool TriggerPending = false; // a single click waits for its second
    uint32_t LastTrigger = 0;    // TickCount of that click

    // ---- Key state (MainKeyboard.cpp) ------------------------------------
    void FormKeyDown(uint16_t key);
    void FormKeyUp(uint16_t key);
    void RunKeyCommands(); // the Ctrl+letter commands, after a key recorded under Ctrl

    // ---- Projects dialog and About window (MainDialogs.cpp) ----------------
    void OpenProject1Click(); // the projects dialog, modal, then a refresh
    void About1Click();       // the About window, modal
    void cmAboutClick();

    // ---- Schedule panel, Timer1 and the clock line (MainSchedule.cpp) -----
    void ConnectSchedule(); // binds the panel, starts Timer1 and the watcher
    void cbxBkupTypeChange();
    void cbxDayChange();
    void cbxTimeChange();
    void btnSetTimeClick();
    void tbtnStopRunClick(QObject* Sender);
    void Timer1Timer();
    void WMTimeChange(); // the system clock was set
    QTimer* Timer1 = nullptr;
    platform::TimeChangeWatcher* TimeWatcher = nullptr;
    // A tick ran backups while a box was open; LoadCurrentPrj still owed.
    bool RefreshPending = false;
    // What the next tick needs to catch up a slot a late timer stepped over.
    std::optional<TickTime> LastTick;
    bool ClockSetSinceTick = false;

    // ---- Skins, chrome and window shape (MainSkin.cpp) ---------------------
    void ConnectSkin(); // the frameless window, its image buttons and the Display menu
    void SetUpSkin();   // the start skin: size, shape and first picture of the window
    void ChangeSkin1Click();
    void DefaultSkin1Click();
    void RandomSkin1Click();
    void TimelyChange1Click();
    void ComponetsHideShow1Click();
    void ShowBkgndPic(bool visible);
    void MenuImageClick();
    void MinImageClick();
    void CloseImageClick();
    void Transparent1Click();
    void Opaque1Click();
    void RoundedWindow1Click();
    SkinCanvas* Skin = nullptr;
    WindowChrome* Chrome = nullptr;
    // Decides the window's translucency before its first show.
    void setVisible(bool visible) override;

    // ---- Desktop tools (MainDesktopTools.cpp) ----------------------------
    void SetcurrentSkinasWallPaper1Click();
    void ClearWallPaper1Click();
    void RunTarvokonWindowsStartUp1Click();
    void DisableAutoStarUp1Click();
    void DosMode1Click();
    void HideIE1Click();
    void ScreenSaverOn1Click();
    // The platform's desktop unless a test puts its own in.
    std::unique_ptr<tarvok::Desktop> OwnDesktop;
    tarvok::Desktop* Desktop = nullptr;

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
    QListWidget* lbxSource = nullptr;
    QListWidget* lbxTarget = nullptr;
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

signals:
    // The close was allowed and its steps are done: the program ends.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void SetTabOrder();
    void BuildMenus();
    void ConnectLifecycle();
    void ConnectTray();
    void ConnectKeyboard();
    void ConnectDialogs();

    void ConnectDesktopTools();
    // The steps of an allowed close, then the end of the program.
    void FinishClose();
    // The close's writes. A file that could not be read is left alone and
    // `notSaved` gets a sentence saying so.
    void SaveSettingsForClose(std::vector<std::string>& notSaved);
    void SaveSourceListForClose(std::vector<std::string>& notSaved);

    KeyPreview* Preview = nullptr;
};

} // namespace tarvok::ui
