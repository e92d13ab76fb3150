#pragma once
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QRect>

#include <array>
#include <functional>

class QLabel;
class QMouseEvent;

namespace tarvok::ui {

// The frameless window's own chrome: the menu, minimise and close image
// buttons with their Up, Over and Down pictures, and the answer to the
// pointer over the bare skin: a press drags the window, a move shows the
// controls inside the 40-pixel edge band and hides them in it.
class WindowChrome : public QObject {
public:
    enum class Picture { Up, Over, Down };

    struct Part {
        QLabel* image;
        std::function<void()> click;
    };
    // Call before the window is first shown: the window loses its frame.
    // `showControls` shows or hides the controls for the band rule;
    // `skipTaskbar` tells at each show whether the window leaves the taskbar.
    WindowChrome(QWidget& window, Part menu, Part min, Part close, std::function<void(bool)> showControls,
                 std::function<bool()> skipTaskbar);

    // The buttons' places, taken once; the band rule and the drag use these
    // rectangles whether or not the buttons are visible.
    QRect MenuRect, MinRect, CloseRect;

    Picture PictureOf(const QLabel* image) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Button {
        QLabel* image;
        std::array<QPixmap, 3> pictures;
        Picture shown;
        std::function<void()> click;
        bool clicking; // pressed with the left button, not by a double click
    };

    Button* ButtonOf(QObject* watched);
    void Show(Button& button, Picture picture);
    bool ButtonEvent(Button& button, QEvent* event);
    bool FormEvent(QEvent* event);
    // The band rule for a pointer at `at` (window coordinates) over the
    // bare skin or an image button.
    void PointerAt(QPoint at);
    bool InButtonRects(QPoint at) const;
    void StartDrag(const QMouseEvent& press);
    // The first move after the window manager's move ended; delivers it anew.
    void EndManagerMove(const QMouseEvent& move);

    QWidget& form_;
    std::function<void(bool)> showControls_;
    std::function<bool()> skipTaskbar_;
    std::array<Button, 3> buttons_;
    // Who moves the window after a press on the bare skin.
    enum class Drag { None, ByManager, ByHand } drag_ = Drag::None;
    QPoint dragOffset_; // pointer minus window position, while dragging by hand
};

} // namespace tarvok::ui
