#include "ui/skin/WindowChrome.h"

#include "platform/qt/SkipTaskbar.h"
#include "platform/qt/WindowMove.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QWindow>

namespace tarvok::ui {
namespace {

std::array<QPixmap, 3> Pictures(const char* name)
{
    const QString base = QStringLiteral(":/skin/") + QString::fromLatin1(name);
    return {QPixmap(base + QStringLiteral("UP")), QPixmap(base + QStringLiteral("OVER")),
            QPixmap(base + QStringLiteral("DOWN"))};
}

} // namespace

WindowChrome::WindowChrome(QWidget& window, Part menu, Part min, Part close, std::function<void(bool)> showControls,
                           std::function<bool()> skipTaskbar)
    : QObject(&window), form_(window), showControls_(std::move(showControls)), skipTaskbar_(std::move(skipTaskbar)),
      buttons_{Button{menu.image, Pictures("MENU"), Picture::Up, std::move(menu.click), false},
               Button{min.image, Pictures("MIN"), Picture::Up, std::move(min.click), false},
               Button{close.image, Pictures("CLOSE"), Picture::Up, std::move(close.click), false}}
{
    // Every flag before the first show: a later change makes a new native
    // window and loses the states set on the old one.
    form_.setWindowFlags(form_.windowFlags() | Qt::FramelessWindowHint);
    form_.setMouseTracking(true);
    form_.installEventFilter(this);
    for (Button& button : buttons_) {
        button.image->resize(32, 32);
        button.image->setMouseTracking(true);
        button.image->installEventFilter(this);
        Show(button, Picture::Up);
    }
    MenuRect = buttons_[0].image->geometry();
    MinRect = buttons_[1].image->geometry();
    CloseRect = buttons_[2].image->geometry();
}

WindowChrome::Picture WindowChrome::PictureOf(const QLabel* image) const
{
    for (const Button& button : buttons_)
        if (button.image == image)
            return button.shown;
    return Picture::Up;
}

WindowChrome::Button* WindowChrome::ButtonOf(QObject* watched)
{
    for (Button& button : buttons_)
        if (button.image == watched)
            return &button;
    return nullptr;
}

void WindowChrome::Show(Button& button, Picture picture)
{
    button.shown = picture;
    button.image->setPixmap(button.pictures[size_t(picture)]);
}

bool WindowChrome::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &form_)
        return FormEvent(event);
    if (Button* button = ButtonOf(watched))
        return ButtonEvent(*button, event);
    return false;
}

bool WindowChrome::ButtonEvent(Button& button, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        // The buttons lie on the skin: the band rule holds over them too.
        const auto* move = static_cast<QMouseEvent*>(event);
        PointerAt(button.image->mapTo(&form_, move->position().toPoint()));
        Show(button, Picture::Over);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* press = static_cast<QMouseEvent*>(event);
        button.clicking = event->type() == QEvent::MouseButtonPress && press->button() == Qt::LeftButton;
        Show(button, Picture::Down);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        const QPoint at = release->position().toPoint();
        const bool inside = button.image->rect().contains(at);
        const bool click = button.clicking && release->button() == Qt::LeftButton && inside;
        button.clicking = false;
        // The click comes first: a box or menu it opens sees the Down picture.
        if (click)
            button.click();
        Show(button, Picture::Up);
        // A right click's menu opens on the release, over the Up picture.
        if (release->button() == Qt::RightButton && inside) {
            QContextMenuEvent menu(QContextMenuEvent::Mouse, at, release->globalPosition().toPoint(),
                                   release->modifiers());
            QCoreApplication::sendEvent(button.image, &menu);
        }
        return true;
    }
    case QEvent::ContextMenu:
        // The window system asks for it on the press; a menu opened then
        // takes the release and leaves the button drawn pressed.
        return event->spontaneous();
    default: return false;
    }
}

bool WindowChrome::FormEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
        if (skipTaskbar_())
            platform::MarkSkipTaskbar(form_.windowHandle());
        return false;
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (drag_ == Drag::ByManager && !(move->buttons() & Qt::LeftButton)) {
            EndManagerMove(*move);
            return true;
        }
        if (drag_ == Drag::ByHand) {
            form_.move(move->globalPosition().toPoint() - dragOffset_);
            return true;
        }
        const QPoint at = move->position().toPoint();
        // Moves over other controls reach here too when they do not take
        // them; only the bare skin answers.
        if (!form_.childAt(at))
            PointerAt(at);
        return false;
    }
    case QEvent::MouseButtonPress: {
        const auto* press = static_cast<QMouseEvent*>(event);
        const QPoint at = press->position().toPoint();
        drag_ = Drag::None;
        if (press->button() == Qt::LeftButton && !form_.childAt(at) && !InButtonRects(at))
            StartDrag(*press);
        return false;
    }
    case QEvent::MouseButtonRelease:
        // The window manager's move takes the release; one that reaches the
        // window came before the manager took the pointer.
        if (drag_ == Drag::ByManager)
            platform::CancelWindowMove(form_.windowHandle());
        drag_ = Drag::None;
        return false;
    default: return false;
    }
}

void WindowChrome::PointerAt(QPoint at)
{
    const QRect inner(40, 40, form_.width() - 80, form_.height() - 80);
    showControls_(inner.contains(at));
    if (InButtonRects(at))
        return;
    for (Button& button : buttons_)
        if (button.shown != Picture::Up)
            Show(button, Picture::Up);
}

void WindowChrome::EndManagerMove(const QMouseEvent& move)
{
    // The window manager's move took the release, so Qt still counts the
    // button as held over the skin and gives it every move: the buttons
    // would see no pointer until the next click. A release of our own ends
    // that, and the move goes again to where the pointer is.
    drag_ = Drag::None;
    QWindow* window = form_.windowHandle();
    if (!window)
        return;
    QMouseEvent release(QEvent::MouseButtonRelease, move.position(), move.scenePosition(), move.globalPosition(),
                        Qt::LeftButton, Qt::NoButton, move.modifiers());
    QCoreApplication::sendEvent(window, &release);
    QMouseEvent again(QEvent::MouseMove, move.position(), move.scenePosition(), move.globalPosition(), Qt::NoButton,
                      Qt::NoButton, move.modifiers());
    QCoreApplication::sendEvent(window, &again);
}

bool WindowChrome::InButtonRects(QPoint at) const
{
    return MenuRect.contains(at) || MinRect.contains(at) || CloseRect.contains(at);
}

void WindowChrome::StartDrag(const QMouseEvent& press)
{
    // The window manager moves the window where it can; without one the
    // window follows the pointer until the release.
    QWindow* window = form_.windowHandle();
    if (platform::StartWindowMove(window, press.position())) {
        drag_ = Drag::ByManager;
        return;
    }
    // Outside X11 the platform's own move, which is anchored by the system.
    if (window && window->startSystemMove())
        return;
    drag_ = Drag::ByHand;
    dragOffset_ = press.globalPosition().toPoint() - form_.pos();
}

} // namespace tarvok::ui
