#pragma once
#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

namespace tarvok::ui {

// The virtual-key code of a Qt key, where the keyboard commands know one.
std::optional<uint16_t> VirtualKeyCode(int qtKey);

// Lets a window see every key press and release of its controls and of the
// pop-ups they open before the focused control does, without ever consuming
// one. Installed on the application object for the life of this object.
// When the window loses the keyboard (to another window of ours or of
// another program) Ctrl counts as released.
class KeyPreview : public QObject {
public:
    using Handler = std::function<void(uint16_t virtualKey)>;
    KeyPreview(QWidget* window, Handler keyDown, Handler keyUp);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool LosesKeyboard(const QObject* watched, const QEvent* event) const;
    static const QWidget* OwningWindow(const QWidget* widget);
    bool IsFirstDelivery(const QWidget* receiver) const;

    QWidget* window_;
    Handler keyDown_;
    Handler keyUp_;
};

} // namespace tarvok::ui
