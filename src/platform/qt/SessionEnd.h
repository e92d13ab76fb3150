#pragma once
#include <QObject>

#include <memory>

class QGuiApplication;

namespace tarvok::platform {

// A write to a pipe or socket whose reader is gone then fails (EPIPE) and is
// reported like any other I/O error, instead of ending the program in the
// middle of a copy with SIGPIPE. For the whole run: call first in main().
void IgnoreBrokenPipes();

// Tells the session manager never to restart the program: its autostart
// entry starts it at login, and a copy the session restored beside that one
// would wake it and show the window. Call before the first event loop runs:
// a manager asks a new client to save at once.
void NeverRestartedBySession(QGuiApplication& app);

// The end of the session. On Linux as Qt signals it: the session manager
// asking us to save before a logout or shutdown, and the signals that end
// the program then (SIGTERM, SIGHUP) or from a terminal (SIGINT); the signal
// handler only writes the signal's number into a pipe, which the event loop
// reads. On Windows the system's WM_QUERYENDSESSION and WM_ENDSESSION. One
// watcher at a time: it owns the process's handlers of these signals.
class SessionEndWatcher : public QObject {
    Q_OBJECT
public:
    explicit SessionEndWatcher(QObject* parent = nullptr);
    // Puts the previous handlers back.
    ~SessionEndWatcher() override;
    SessionEndWatcher(const SessionEndWatcher&) = delete;
    SessionEndWatcher& operator=(const SessionEndWatcher&) = delete;

    // False when the pipe or a handler (on Windows the window the system
    // tells) could not be set up; the signals then keep their default action.
    bool IsWatching() const;

signals:
    // Save now; the session manager ends the program afterwards, unless the
    // logout is cancelled.
    void SaveRequested();
    // Save and end.
    void SessionEnding();

private:
    // The system's side: on Linux the pipe, its notifier and the handlers
    // ours replaced.
    struct Handlers;
    std::unique_ptr<Handlers> handlers_;
};

} // namespace tarvok::platform
