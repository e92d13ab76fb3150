#pragma once
#include <QObject>

class QWidget;

namespace tarvok::ui {

// Gives the keyboard back when a box or dialog of the program closes: to the
// modal window still open below it, else to the shown main window. Some
// window managers (openbox) hand the focus to a window of their own instead,
// and the program's keys then do nothing until the user clicks it.
class KeyboardReturn : public QObject {
public:
    explicit KeyboardReturn(QWidget& mainWindow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void GiveBack();

    QWidget& main_;
};

} // namespace tarvok::ui
