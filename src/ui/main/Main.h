#pragma once
#include "core/AppState.h"
#include "core/WorkProgress.h"
#include "ui/main/MainControls.h"
#include "ui/main/MainSeams.h"
#include "ui/shell/ErrorReport.h"

#include <QSystemTrayIcon>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

namespace tarvok::platform {
class CloseRequests;
} // namespace tarvok::platform

namespace tarvok::ui {

class KeyPreview;

// The main window: it shows the program's state (AppState) and turns the
// user's commands into calls on it. The reactions keep the program's own
// names; the implementation is split by concern over the Main*.cpp files
// named below. The parts are private: the window's code reads them under
// their own names, a test through Controls().
class TMainForm : public QWidget, private MainControls {
    Q_OBJECT

public:
    // Builds the controls and menus, then runs FormCreate; an error there is
    // reported and the window is created all the same.
    TMainForm(const MainSeams& seams, std::string appDir, QWidget* parent = nullptr);
    ~TMainForm() override;

    AppState& State() { return state_; }
    const MainControls& Controls() const { return *this; }

    // ---- Lifecycle and current project (MainLifecycle.cpp) --------------
    void FormCreate();
    void FormShow();
    bool FormCloseQuery(); // true: the close may go on
    // The close's writes; false when one failed and the user keeps the program.
    bool FormClose();
    void FormDestroy();
    void LoadCurrentPrj();
    void FillcbxProjects();
    void FilllbxSource(const FileList& list);
    void cbxProjectsChange();

    // ---- End of session (MainSessionEnd.cpp) ------------------------------
    // Writes what the close writes, through the core alone: for the lost X
    // server too, when nothing of the window may be used any more.
    void SaveWithoutDisplay();
    // The session ends: write what the close writes and ask nothing; a
    // failure goes to the error output, since nobody is left to answer a box.
    void SaveAtSessionEnd();
    // The same, then the end of the program.
    void EndSession();

    // ---- Backup operations (MainBackup.cpp, MainBrowser.cpp, MainSourceList.cpp)
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
    void lbxtMouseDown(LineList* list, const QPoint& pos); // either list
    void lbxSourceKeyDown(uint16_t key);
    void lbxTargetKeyDown(uint16_t key);
    void btnAddClick();
    void btnDeleteClick();

    // ---- Tray icon and tray menu (MainTray.cpp) --------------------------
    void TrayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void RatMenuPopup();
    void cmHideClick();
    void cmQuitClick();
    void Hide1Click();
    // Shows the window, restores it when minimised, raises and activates it.
    void ShowMainWindow();
    // Hides the window to the notification area, or minimises it to the
    // taskbar while none runs.
    void HideMainWindow();
    // Shows the window unless a notification area runs, or appears within
    // waitMs.
    void ShowUnlessATrayComes(int waitMs);

    // ---- Key state (MainKeyboard.cpp) ------------------------------------
    void FormKeyDown(uint16_t key);
    void FormKeyUp(uint16_t key);

    // ---- Projects dialog and About window (MainDialogs.cpp) ----------------
    void OpenProject1Click(); // the projects dialog, modal, then a refresh
    void About1Click();       // the About window, modal
    void cmAboutClick();

    // ---- Schedule panel, Timer1 and the clock line (MainSchedule.cpp) -----
    void cbxBkupTypeChange();
    void cbxDayChange();
    void cbxTimeChange();
    void btnSetTimeClick();
    void tbtnStopRunClick(QObject* Sender);
    void Timer1Timer();
    // Runs the automatic backups that fell due during other work.
    void RunHeldBackups();
    // Runs automatic backups through `run`, then refreshes the window.
    void RunAutoBackups(const std::function<bool(WorkProgress&, const StatusWriter&)>& run);
    // The system clock was set: the tick learns it at once, the user from
    // a message once the reaction in progress is over.
    void SystemTimeChanged();
    void WMTimeChange();

    // ---- Skins, chrome and window shape (MainSkin.cpp) ---------------------
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

signals:
    // The close was allowed and its steps are done: the program ends.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Work that walks the state's lists and may wait in a box meanwhile (a
    // backup run, a restore, automatic backups). A close allowed during it
    // finishes once the reaction is over (MainWork.cpp).
    class ListWalk {
    public:
        explicit ListWalk(TMainForm& form);
        ~ListWalk();
        ListWalk(const ListWalk&) = delete;
        ListWalk& operator=(const ListWalk&) = delete;

    private:
        TMainForm& form_;
    };

    // Long work tells its progress here: the bar in the status line and the
    // tray icon's tip show the share done, and every 50 ms of work the window
    // answers what is not the user's input (the window manager's pings,
    // repaints, timers, the session). A close asked meanwhile is asked about
    // after the work, a tick's due backups run after it (MainWork.cpp).
    class WorkBreath : public WorkProgress {
    public:
        explicit WorkBreath(TMainForm& form);
        ~WorkBreath() override;
        WorkBreath(const WorkBreath&) = delete;
        WorkBreath& operator=(const WorkBreath&) = delete;
        void Begin(uint64_t total) override;
        void Advance(uint64_t done) override;

    private:
        TMainForm& form_;
        uint64_t total_ = 0;
        uint64_t done_ = 0;
        uint32_t lastBreath_; // the clock's millisecond count
        QString restTip_;     // the tray tip while nothing runs; empty until the bar shows
    };

    // `reaction` run so that an error ending it is reported at its own
    // boundary, never left to unwind through Qt's signal delivery.
    template <typename Reaction> auto Reporting(Reaction reaction)
    {
        if constexpr (std::is_member_function_pointer_v<Reaction>)
            return ReportingErrors(Dialogs, std::bind_front(reaction, this));
        else
            return ReportingErrors(Dialogs, std::move(reaction));
    }
    // Connects a signal to a reaction of this window.
    template <typename Sender, typename Signal, typename Reaction>
    void React(const Sender* sender, Signal signal, Reaction reaction, Qt::ConnectionType type = Qt::AutoConnection)
    {
        connect(sender, signal, this, Reporting(std::move(reaction)), type);
    }

    void BuildControls();
    void SetTabOrder();
    void BuildMenus();
    void ConnectLifecycle();
    void ConnectTray();
    void ConnectKeyboard();
    void ConnectBackup(); // the buttons, their filemenu items and both lists
    void ConnectSkin();   // the frameless window, its image buttons and the Display menu
    void ConnectDialogs();
    void ConnectSchedule(); // the panel; starts Timer1
    void ConnectDesktopTools();
    void CreateTrayIcon();
    void SetUpSkin();      // the start skin: size, shape and first picture of the window
    void RunKeyCommands(); // the Ctrl+letter commands, after a key recorded under Ctrl
    // The steps of an allowed close, then the end of the program; false
    // when the window stays open after all.
    bool FinishClose();

    tarvok::Dialogs& Dialogs;
    tarvok::Clock& Clock;
    tarvok::Shell& Shell;
    tarvok::Desktop& Desktop;
    std::function<std::optional<std::string>()> UserName;
    TrayHost Tray;
    AppState state_;
    bool breathing_ = false;  // long work lets the window answer meanwhile
    bool closeAsked_ = false; // a close came during work: asked about after it
    // A window manager's close or a press on the skin's close button during
    // work is asked about after it, never lost to the box the work may end with.
    bool TakeCloseRequest(WId window, std::optional<QPoint> pressedAt);
    std::unique_ptr<platform::CloseRequests> closeRequests_;
    bool hideItemShows_ = false;  // the tray menu's Hide item says Show
    bool triggerPending_ = false; // a single click on the tray icon waits for its second
    uint32_t lastTrigger_ = 0;    // TickCount of that click
    KeyPreview* Preview = nullptr;
};

} // namespace tarvok::ui
