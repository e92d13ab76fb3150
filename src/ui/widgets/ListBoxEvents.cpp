#include "ui/widgets/ListBoxEvents.h"

#include "ui/widgets/KeyPreview.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace tarvok::ui {

ListBoxEvents::ListBoxEvents(QAbstractItemView* list, Reactions reactions)
    : QObject(list), list_(list), viewport_(list->viewport()), reactions_(std::move(reactions))
{
    list->viewport()->setMouseTracking(true);
    list->installEventFilter(this);
    viewport_->installEventFilter(this);
}

bool ListBoxEvents::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_) {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const auto code = VirtualKeyCode(key->key()))
            reactions_.KeyDown(*code);
        // The list's own select-all on Ctrl+A would ignore the key state,
        // which alone decides whether Ctrl is held.
        return key->key() == Qt::Key_A && key->modifiers().testFlag(Qt::ControlModifier);
    }
    if (watched != viewport_)
        return false;
    const auto pos = [event] { return static_cast<QMouseEvent*>(event)->position().toPoint(); };
    const auto left = [event] { return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton; };
    switch (event->type()) {
    case QEvent::MouseMove: reactions_.MouseMove(pos()); return false;
    // Only the left button selects: a right or middle press leaves the
    // selection as it is for the command that follows.
    case QEvent::MouseButtonPress: reactions_.MouseDown(pos()); return !left();
    case QEvent::MouseButtonRelease: return !left();
    // The second press of a double-click is a press as well; only the left
    // button's double-click opens.
    case QEvent::MouseButtonDblClick:
        reactions_.MouseDown(pos());
        if (left())
            reactions_.DblClick();
        return true;
    default: return false;
    }
}

} // namespace tarvok::ui
