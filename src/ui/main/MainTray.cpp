// The notification-area icon and its menu RatMenu.
#include "base/Clock.h"
#include "ui/main/Main.h"
#include "ui/shell/ProgramIcon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>

namespace tarvok::ui {

void TMainForm::ConnectTray()
{
    React(Hide1, &QAction::triggered, &TMainForm::Hide1Click);
    React(cmHide, &QAction::triggered, &TMainForm::cmHideClick);
    React(cmQuit, &QAction::triggered, &TMainForm::cmQuitClick);
    React(RatMenu, &QMenu::aboutToShow, &TMainForm::RatMenuPopup);
}

void TMainForm::CreateTrayIcon()
{
    TrayIcon = new QSystemTrayIcon(TrayIconImage(), this);
    TrayIcon->setToolTip(QStringLiteral("Auto-BackUp!"));
    // The icon opens its menu on a right click by itself.
    TrayIcon->setContextMenu(RatMenu);
    React(TrayIcon, &QSystemTrayIcon::activated, &TMainForm::TrayIconActivated);
    // Without a notification area the icon docks once a host appears.
    TrayIcon->show();
}

void TMainForm::TrayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger: {
        if (Tray.ActivationShows) {
            ShowMainWindow();
            break;
        }
        // D-Bus tray hosts send one activation per click and never a double
        // click: a second one within the double-click time stands for it.
        const uint32_t now = Clock.TickCount();
        if (triggerPending_ && now - lastTrigger_ <= uint32_t(QApplication::doubleClickInterval())) {
            triggerPending_ = false;
            ShowMainWindow();
            break;
        }
        triggerPending_ = true;
        lastTrigger_ = now;
        // A single click only brings a shown window to the front.
        if (isVisible()) {
            raise();
            activateWindow();
        }
        break;
    }
    case QSystemTrayIcon::DoubleClick:
        // Its first click came as a Trigger; a third starts anew.
        triggerPending_ = false;
        ShowMainWindow();
        break;
    default: break;
    }
}

void TMainForm::RatMenuPopup()
{
    hideItemShows_ = !isVisible();
    cmHide->setText(hideItemShows_ ? QStringLiteral("&Show") : QStringLiteral("H&ide"));
}

void TMainForm::cmHideClick()
{
    if (hideItemShows_)
        ShowMainWindow();
    else
        HideMainWindow();
}

void TMainForm::cmQuitClick() { close(); }

void TMainForm::Hide1Click() { HideMainWindow(); }

void TMainForm::ShowMainWindow()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void TMainForm::ShowUnlessATrayComes(int waitMs)
{
    constexpr int PollMs = 250;
    if (Tray.Runs())
        return;
    if (waitMs <= 0) {
        ShowMainWindow();
        return;
    }
    QTimer::singleShot(std::min(PollMs, waitMs), this, [this, waitMs] { ShowUnlessATrayComes(waitMs - PollMs); });
}

void TMainForm::HideMainWindow()
{
    // Nothing would lead back to a window hidden without a notification area.
    if (Tray.Runs())
        hide();
    else
        showMinimized();
}

} // namespace tarvok::ui
