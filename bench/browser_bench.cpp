// Times the backup browser of the real main window (offscreen): listing the
// snapshot folders of BACKUP_DIR with ShowBkUpFolders, and opening FOLDER
// (one of them) by double-click, RUNS times each; prints the median seconds,
// and the memory an open snapshot holds per file, in bytes: in all (its
// lines and the list of its files' paths), and its lines alone.
#include "BenchWindow.h"
#include "Median.h"
#include "platform/FileSystem.h"
#include "ui/widgets/LineList.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// The resident memory of this process, in bytes.
long long ResidentBytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string word; status >> word;)
        if (word == "VmRSS:") {
            long long kib = 0;
            status >> kib;
            return kib * 1024;
        }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s BACKUP_DIR FOLDER RUNS\n", argv[0]);
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QTemporaryDir appDir;
    tarvok::bench::BenchWindow window(appDir.path().toStdString());
    tarvok::ui::TMainForm& form = window.Form;
    form.State().ChangeBackupDir(argv[1]);
    const std::string folder = argv[2];
    const int runs = std::max(1, std::atoi(argv[3]));

    const double listing = tarvok::bench::MedianSeconds(runs, [&](int) { form.ShowBkUpFolders(argv[1]); });
    const int folders = form.Controls().lbxTarget->count();
    const auto selectFolder = [&] {
        form.ShowBkUpFolders(argv[1]);
        tarvok::ui::LineList* list = form.Controls().lbxTarget;
        int line = 0;
        while (line < list->count() && list->LineName(line) != folder)
            ++line;
        if (line == list->count()) {
            std::fprintf(stderr, "%s is not listed\n", folder.c_str());
            std::exit(1);
        }
        list->clearSelection();
        list->SetSelected(line, true);
    };
    const double opening = tarvok::bench::MedianSeconds(
        runs, [&](int) { form.lbxTargetDblClick(); }, [&](int) { selectFolder(); });
    const int files = form.Controls().lbxTarget->count();
    // What the open snapshot holds: its lines and its list, against the
    // folder view (which the window shows until it is opened).
    const long long open = ResidentBytes();
    form.State().Clear();
    tarvok::platform::ReleaseFreedMemory();
    const long long linesOnly = ResidentBytes();
    form.ShowBkUpFolders(argv[1]);
    tarvok::platform::ReleaseFreedMemory();
    const long long closed = ResidentBytes();
    const int per = std::max(files, 1);
    std::printf("%d %.6f %d %.6f %lld %lld\n", folders, listing, files, opening, (open - closed) / per,
                (linesOnly - closed) / per);
    return 0;
}
