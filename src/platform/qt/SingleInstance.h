#pragma once
#include <QLocalServer>
#include <QObject>

#include <chrono>
#include <memory>
#include <string>

class QLockFile;

namespace tarvok::platform {

// The user's private runtime directory. On Linux $XDG_RUNTIME_DIR when it
// is a directory only its owner (us) can enter, else the folder "Tarvok" in
// the user's cache folder ($XDG_CACHE_HOME or ~/.cache), made with mode
// 0700, else the folder "tarvok-<uid>" in the temporary folder ($TMPDIR or
// /tmp), made with mode 0700 and used only when it is a real directory of
// ours that nobody else may enter. On Windows the folder "Tarvok" in the
// user's local application data (%LOCALAPPDATA%), which the profile keeps
// to the user. Empty when none can be had safely; `refusal` then says why
// the last one was refused.
std::string RuntimeDirectory(std::string* refusal = nullptr);

// Only one copy runs at a time: the first holds a lock file in the runtime
// directory for its whole life. Needs no application object, so a second
// copy ends before it opens a window or touches a file.
class InstanceLock {
public:
    InstanceLock(const std::string& directory, const std::string& name);
    ~InstanceLock();

    // True when a live copy holds the lock. A lock that names no live
    // process or cannot be read is taken over when no copy answers on the
    // socket.
    bool AnotherCopyRuns();
    // True once this copy holds the lock. A copy that neither holds it nor
    // found another (no directory, a lock that cannot be made) cannot tell
    // whether it is alone and must not run: two copies would write over
    // each other's settings.
    bool HoldsLock() const;
    // Asks the running copy to show its window, trying again for up to
    // `patience` while nobody answers; false when the message did not get
    // through.
    bool WakeRunningCopy(std::chrono::milliseconds patience = {}) const;
    // Where the first copy listens for wake-ups; empty without a directory.
    // On Linux a socket in the directory (a path too long for a socket name
    // is reached through a shorter one), on Windows a named pipe of this
    // user's.
    const std::string& SocketPath() const { return socketPath_; }

private:
    bool NamesLiveProcess() const;
    bool CopyAnswers() const;

    std::string lockPath_;
    std::string socketPath_;
    std::unique_ptr<QLockFile> lock_;
    // What the system's side holds for our whole life (on Linux the
    // directory a long socket path goes through).
    struct Held;
    std::unique_ptr<Held> held_;
};

// The first copy's end of the wake-up: a socket (a named pipe on Windows)
// only this user may use.
class WakeUpServer : public QObject {
    Q_OBJECT

public:
    // A connection is closed after its first message or after this long.
    static constexpr int IdleConnectionMs = 1000;
    // Connections beyond this many open ones are closed at once.
    static constexpr int MaxOpenConnections = 8;

    explicit WakeUpServer(std::string socketPath, QObject* parent = nullptr);
    // False when the socket cannot be set up; the program then runs without.
    bool Listen();

signals:
    void WakeUpRequested();

private:
    void Accept();

    std::string socketPath_;
    int open_ = 0; // before server_: its sockets count down as it goes
    QLocalServer server_;
};

} // namespace tarvok::platform
