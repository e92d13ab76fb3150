#include "platform/qt/SessionEnd.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace tarvok::platform {
namespace {

constexpr int EndingSignals[] = {SIGTERM, SIGHUP, SIGINT};

// Written only by the handler; a plain int is all it may touch.
volatile sig_atomic_t pipeWriteEnd = -1;

void OnSignal(int number)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // A full pipe already holds a wake-up; losing this byte loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(pipeWriteEnd, &byte, 1);
    errno = savedErrno;
}

// The session manager's "die" reaches Qt's application as a Quit event,
// which would only close the windows that let it: a window that refuses
// keeps the program in the session past its end.
class QuitWatch : public QObject {
public:
    QuitWatch(QObject* parent, std::function<void()> ending) : QObject(parent), ending_(std::move(ending)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Quit && watched == QCoreApplication::instance())
            ending_();
        return false;
    }

private:
    std::function<void()> ending_;
};

} // namespace

struct SessionEndWatcher::Handlers {
    int pipe[2] = {-1, -1};
    struct sigaction previous[3]{};
    QSocketNotifier* notifier = nullptr;
};

void IgnoreBrokenPipes()
{
    struct sigaction action {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGPIPE, &action, nullptr);
}

SessionEndWatcher::SessionEndWatcher(QObject* parent) : QObject(parent)
{
#if QT_CONFIG(sessionmanager)
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { emit SaveRequested(); });
        app->installEventFilter(new QuitWatch(this, [this] { emit SessionEnding(); }));
    }
#endif
    auto handlers = std::make_unique<Handlers>();
    if (::pipe2(handlers->pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    pipeWriteEnd = handlers->pipe[1];
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i)
        ::sigaction(EndingSignals[i], &action, &handlers->previous[i]);
    handlers->notifier = new QSocketNotifier(handlers->pipe[0], QSocketNotifier::Read, this);
    connect(handlers->notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char bytes[64];
        while (::read(handlers_->pipe[0], bytes, sizeof bytes) > 0) {
        }
        emit SessionEnding();
    });
    handlers_ = std::move(handlers);
}

SessionEndWatcher::~SessionEndWatcher()
{
    if (!handlers_)
        return;
    for (int i = 0; i < 3; ++i)
        ::sigaction(EndingSignals[i], &handlers_->previous[i], nullptr);
    pipeWriteEnd = -1;
    delete handlers_->notifier;
    ::close(handlers_->pipe[0]);
    ::close(handlers_->pipe[1]);
}

bool SessionEndWatcher::IsWatching() const { return handlers_ != nullptr; }

} // namespace tarvok::platform
