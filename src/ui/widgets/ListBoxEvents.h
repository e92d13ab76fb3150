#pragma once
#include <QObject>
#include <QPoint>

#include <cstdint>
#include <functional>

class QAbstractItemView;

namespace tarvok::ui {

// Hands the mouse and key events of one list box to the window's reactions:
// mouse moves (also without a button held), presses, double-clicks and key
// presses by virtual-key code. Kept from the list itself: presses and
// releases of the other buttons than the left, which must not change the
// selection; its own select-all on Ctrl+A, which would ignore the key state;
// double-clicks, whose reaction may refill the list.
class ListBoxEvents : public QObject {
public:
    struct Reactions {
        std::function<void(const QPoint&)> MouseMove;
        std::function<void(const QPoint&)> MouseDown;
        std::function<void()> DblClick;
        std::function<void(uint16_t)> KeyDown;
    };

    // Owned by the list.
    ListBoxEvents(QAbstractItemView* list, Reactions reactions);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* list_;
    QObject* viewport_;
    Reactions reactions_;
};

} // namespace tarvok::ui
