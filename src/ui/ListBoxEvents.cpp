#include "ui/ListBoxEvents.h"

#include "ui/KeyPreview.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>

namespace tarvok::ui {

ListBoxEvents::ListBoxEvents(QListWidget* list, Reactions reactions)
    : QObject(list), list_(list), viewport_(list->viewport()), reactions_(std::move(reactions))
{
    list->viewport()->setMouseTracking(true);
    list->installEventFilter(this);
    viewport_->installEventFilter(this);
}

bool ListBoxEvents::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_) {
        if (event->type() == QEvent::KeyPress)
            if (const auto code = VirtualKeyCode(static_cast<QKeyEvent*>(event)->key()))
                reactions_.KeyDown(*code);
        return false;
    }
    if (watched != viewport_)
        return false;
    const auto pos = [event] { return static_cast<QMouseEvent*>(event)->position().toPoint(); };
    switch (event->type()) {
    case QEvent::MouseMove: reactions_.MouseMove(pos()); return false;
    case QEvent::MouseButtonPress: reactions_.MouseDown(pos()); return false;
    case QEvent::MouseButtonDblClick: reactions_.DblClick(); return true;
    default: return false;
    }
}

} // namespace tarvok::ui
