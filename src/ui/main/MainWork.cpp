// Work on the state's lists: the guard that holds a close back, and the
// breaths long work takes to show its progress and let the window answer.
#include "ui/main/Main.h"
#include "ui/widgets/WorkBar.h"

#include <QCoreApplication>
#include <QTimer>

#include <utility>

namespace tarvok::ui {
namespace {

// Long enough for the work to go on at full speed, short enough that a
// window manager's ping is answered long before it gives up on the window.
constexpr qint64 BreathEveryMs = 50;

const QString TrayTip = QStringLiteral("Auto-BackUp!");

} // namespace

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

TMainForm::WorkBreath::~WorkBreath()
{
    if (!shown_)
        return;
    form_.pbWork->hide();
    form_.TrayIcon->setToolTip(TrayTip);
}

void TMainForm::WorkBreath::Begin(uint64_t total)
{
    total_ = total;
    done_ = 0;
}

void TMainForm::WorkBreath::Advance(uint64_t done)
{
    done_ += done;
    if (sinceBreath_.elapsed() < BreathEveryMs)
        return;
    const int permille = total_ == 0 ? 0 : static_cast<int>(std::min<uint64_t>(done_, total_) * 1000 / total_);
    if (!shown_ || permille / 10 != form_.pbWork->Permille() / 10)
        form_.TrayIcon->setToolTip(TrayTip + QStringLiteral(" %1%").arg(permille / 10));
    shown_ = true;
    form_.pbWork->SetPermille(permille);
    form_.pbWork->show();
    form_.pbWork->raise();
    const bool outer = !std::exchange(form_.breathing_, true);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (outer)
        form_.breathing_ = false;
    sinceBreath_.restart();
}

} // namespace tarvok::ui
