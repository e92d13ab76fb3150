#pragma once
#include <QApplication>

namespace tarvok {
class Dialogs;
}

namespace tarvok::ui {

// The application object. Every error that escapes a reaction ends up in
// the general error box instead of ending the program.
class TarvokApplication : public QApplication {
public:
    TarvokApplication(int& argc, char** argv, Dialogs& errors);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Dialogs& errors_;
};

} // namespace tarvok::ui
