#pragma once
#include <QObject>

class QWidget;

namespace tarvok::ui {

// Names on screen come from other people's files and folders. A label left
// to guess would take "<img src=...>" for markup and load what it names, so
// every text is shown as it is.

// Every label of `window` shows its text as plain text.
void ShowLabelsPlain(QWidget* window);

// Shows the tooltips of every widget of the application as plain text for
// the life of this object; a tooltip otherwise guesses rich text as well.
class PlainTips : public QObject {
public:
    explicit PlainTips(QObject* parent);
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tarvok::ui
