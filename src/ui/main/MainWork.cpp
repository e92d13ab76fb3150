// Work on the state's lists: the guard that holds a close back, and the
// breaths long work takes to show its progress and let the window answer.
#include "base/Clock.h"
#include "ui/main/Main.h"
#include "ui/widgets/WorkBar.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace tarvok::ui {
namespace {

// Long enough for the work to go on at full speed, short enough that a
// window manager's ping is answered long before it gives up on the window.
constexpr uint32_t BreathEveryMs = 50;

} // namespace

bool TMainForm::TakeCloseRequest(WId window, std::optional<QPoint> pressedAt)
{
    if (window != internalWinId() || !state_.Working())
        return false;
    if (pressedAt) {
        const qreal scale = devicePixelRatioF();
        const QRect closeButton(CloseImage->mapTo(this, QPoint()) * scale, CloseImage->size() * scale);
        if (!CloseImage->isVisible() || !closeButton.contains(*pressedAt))
            return false;
    }
    closeAsked_ = true;
    return true;
}

TMainForm::ListWalk::ListWalk(TMainForm& form) : form_(form) { form_.state_.BeginWork(); }

TMainForm::ListWalk::~ListWalk()
{
    const bool closeHeld = form_.state_.EndWork();
    if (form_.state_.Working())
        return;
    // What came meanwhile: the due backups first, then the close.
    if (form_.state_.HasHeldBackups())
        QTimer::singleShot(0, &form_, form_.Reporting(&TMainForm::RunHeldBackups));
    if (closeHeld)
        QTimer::singleShot(0, &form_, form_.Reporting(&TMainForm::FinishClose));
    if (std::exchange(form_.closeAsked_, false))
        QTimer::singleShot(0, &form_, [form = &form_] { form->close(); });
}

TMainForm::WorkBreath::WorkBreath(TMainForm& form) : form_(form), lastBreath_(form.Clock.TickCount()) {}

TMainForm::WorkBreath::~WorkBreath()
{
    if (restTip_.isEmpty())
        return;
    form_.pbWork->hide();
    form_.TrayIcon->setToolTip(restTip_);
}

void TMainForm::WorkBreath::Begin(uint64_t total)
{
    total_ = total;
    done_ = 0;
}

void TMainForm::WorkBreath::Advance(uint64_t done)
{
    done_ += done;
    const uint32_t now = form_.Clock.TickCount();
    if (now - lastBreath_ < BreathEveryMs)
        return;
    // Work of a size not known beforehand (a folder being read) only breathes.
    if (total_ > 0) {
        const int permille = static_cast<int>(std::min<uint64_t>(done_, total_) * 1000 / total_);
        const bool first = restTip_.isEmpty();
        if (first)
            restTip_ = form_.TrayIcon->toolTip();
        if (first || permille / 10 != form_.pbWork->Permille() / 10)
            form_.TrayIcon->setToolTip(restTip_ + QStringLiteral(" %1%").arg(permille / 10));
        form_.pbWork->SetPermille(permille);
        form_.pbWork->show();
        form_.pbWork->raise();
    }
    const bool outer = !std::exchange(form_.breathing_, true);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (outer)
        form_.breathing_ = false;
    lastBreath_ = form_.Clock.TickCount();
}

} // namespace tarvok::ui
