#include "ui/widgets/KeyboardReturn.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace tarvok::ui {

KeyboardReturn::KeyboardReturn(QWidget& mainWindow) : QObject(&mainWindow), main_(mainWindow)
{
    qApp->installEventFilter(this);
}

bool KeyboardReturn::eventFilter(QObject* watched, QEvent* event)
{
    // Once the box is gone: the code after it may open the next one at once.
    if (event->type() == QEvent::Hide && qobject_cast<QDialog*>(watched))
        QTimer::singleShot(0, this, &KeyboardReturn::GiveBack);
    return false;
}

void KeyboardReturn::GiveBack()
{
    QWidget* below = QApplication::activeModalWidget();
    if (!below && main_.isVisible() && !main_.isMinimized())
        below = &main_;
    if (below && !below->isActiveWindow())
        below->activateWindow();
}

} // namespace tarvok::ui
