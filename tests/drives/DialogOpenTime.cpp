// How long the select-directory dialog takes to open and to close again, as
// the "Change" button runs it. stalled_mount_test.sh runs this beside a file
// system that never answers. The first opening also pays for loading Qt's
// styles and fonts, which on a busy machine alone can take seconds, so the
// second is the one that must open and close within a second.
// Usage: dialog_open_time START_DIRECTORY
#include "FakeDialogs.h"
#include "ui/dialogs/SelectDirectoryDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

struct Times {
    qint64 Opened = -1;
    qint64 Closed = -1;
};

Times OpenAndClose(const char* start)
{
    tarvok::test::FakeDialogs dialogs;
    QElapsedTimer timer;
    Times times;
    // Runs once the dialog's own event loop does, that is once it is open.
    QTimer::singleShot(0, [&] {
        times.Opened = timer.elapsed();
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<tarvok::ui::SelectDirectoryDialog*>(window))
                dialog->reject();
    });
    timer.start();
    std::string chosen;
    tarvok::ui::ExecuteSelectDirectoryDialog(nullptr, start, chosen, dialogs);
    times.Closed = timer.elapsed() - times.Opened;
    std::printf("the dialog opened in %lld ms and closed in %lld ms\n", static_cast<long long>(times.Opened),
                static_cast<long long>(times.Closed));
    std::fflush(stdout);
    return times;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s START_DIRECTORY\n", argv[0]);
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    OpenAndClose(argv[1]);
    const Times again = OpenAndClose(argv[1]);
    return again.Opened >= 0 && again.Opened < 1000 && again.Closed < 1000 ? 0 : 1;
}
