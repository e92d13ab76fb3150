#pragma once
#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QKeyEvent;
class QWidget;

namespace tarvok::ui {

// The virtual-key code of a Qt key, where the keyboard commands know one.
std::optional<uint16_t> VirtualKeyCode(int qtKey);

// Lets a window see every key press and release of its controls and of the
// pop-ups they open before the focused control does. It consumes no key,
// except that the keys in `notForEdits`, pressed with Ctrl, are kept from
// the window's line edits and combo boxes. While a menu is open it takes the
// presses; releases still count. When the window loses the keyboard (to
// another window of ours or of another program) Ctrl counts as released.
// Installed on the application object for the life of this object.
class KeyPreview : public QObject {
public:
    using Handler = std::function<void(uint16_t virtualKey)>;
    KeyPreview(QWidget* window, Handler keyDown, Handler keyUp, std::vector<uint16_t> notForEdits = {});
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool LosesKeyboard(const QObject* watched, const QEvent* event) const;
    static const QWidget* OwningWindow(const QWidget* widget);
    bool IsFirstDelivery(const QWidget* receiver) const;
    bool KeptFromEdits(const QWidget* receiver, const QKeyEvent& key, uint16_t code) const;

    QWidget* window_;
    Handler keyDown_;
    Handler keyUp_;
    std::vector<uint16_t> notForEdits_;
};

} // namespace tarvok::ui
