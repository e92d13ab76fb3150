#include "ui/widgets/KeyPreview.h"

#include "core/KeyState.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>

#include <algorithm>

namespace tarvok::ui {

std::optional<uint16_t> VirtualKeyCode(int qtKey)
{
    // Letters and digits share their codes with the virtual keys.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<uint16_t>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<uint16_t>(0x70 + (qtKey - Qt::Key_F1));
    switch (qtKey) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Print: return 0x2C;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Meta: return 0x5B;
    case Qt::Key_Menu: return 0x5D;
    case Qt::Key_NumLock: return 0x90;
    case Qt::Key_ScrollLock: return 0x91;
    default: return std::nullopt;
    }
}

KeyPreview::KeyPreview(QWidget* window, Handler keyDown, Handler keyUp, std::vector<uint16_t> notForEdits)
    : QObject(window), window_(window), keyDown_(std::move(keyDown)), keyUp_(std::move(keyUp)),
      notForEdits_(std::move(notForEdits))
{
    qApp->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (LosesKeyboard(watched, event)) {
        // The release of a key held now goes to another window, never here:
        // count Ctrl as released.
        keyUp_(VkControl);
        return false;
    }
    const bool down = event->type() == QEvent::KeyPress;
    if (!down && event->type() != QEvent::KeyRelease)
        return false;
    const auto* receiver = qobject_cast<const QWidget*>(watched);
    if (!receiver || OwningWindow(receiver) != window_ || !IsFirstDelivery(receiver))
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    // A held key repeats its press only; the releases X11 adds in between
    // would forget Ctrl.
    if (!down && key->isAutoRepeat())
        return false;
    // An open menu takes the presses, the tray's menu over a hidden window
    // too; a Ctrl released in it is still forgotten.
    if (down && qobject_cast<const QMenu*>(QApplication::activePopupWidget()))
        return false;
    const std::optional<uint16_t> code = VirtualKeyCode(key->key());
    if (!code)
        return false;
    (down ? keyDown_ : keyUp_)(*code);
    return down && KeptFromEdits(receiver, *key, *code);
}

// Qt on X11 gives some Ctrl+letter keys editing meanings that an edit box of
// the desktop where these commands come from does not have: Ctrl+K deletes
// to the end of the line. Such a command key leaves the text alone.
bool KeyPreview::KeptFromEdits(const QWidget* receiver, const QKeyEvent& key, uint16_t code) const
{
    const bool editBox = qobject_cast<const QLineEdit*>(receiver) || qobject_cast<const QComboBox*>(receiver);
    return editBox && key.modifiers().testFlag(Qt::ControlModifier) &&
           std::find(notForEdits_.begin(), notForEdits_.end(), code) != notForEdits_.end();
}

bool KeyPreview::LosesKeyboard(const QObject* watched, const QEvent* event) const
{
    if (event->type() == QEvent::WindowDeactivate)
        return watched == window_;
    return event->type() == QEvent::ApplicationStateChange && watched == qApp &&
           static_cast<const QApplicationStateChangeEvent*>(event)->applicationState() != Qt::ApplicationActive;
}

// A pop-up (a combo box's list, a menu) is a window of its own, but the keys
// pressed and released in it belong to the window that opened it: a Ctrl
// release there must not be lost.
const QWidget* KeyPreview::OwningWindow(const QWidget* widget)
{
    const QWidget* window = widget->window();
    while (window->windowType() == Qt::Popup && window->parentWidget())
        window = window->parentWidget()->window();
    return window;
}

// A key event the focused control ignores travels on to its parents; only
// the first delivery counts. While a pop-up is open, it gets the keys.
bool KeyPreview::IsFirstDelivery(const QWidget* receiver) const
{
    if (const QWidget* popup = QApplication::activePopupWidget()) {
        const QWidget* focus = popup->focusWidget();
        return receiver == (focus ? focus : popup);
    }
    const QWidget* focus = QApplication::focusWidget();
    if (focus && focus->window() == window_)
        return receiver == focus;
    return receiver == window_;
}

} // namespace tarvok::ui
