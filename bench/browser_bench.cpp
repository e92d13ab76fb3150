// Times the backup browser of the real main window (offscreen): listing the
// snapshot folders of BACKUP_DIR with ShowBkUpFolders, and opening FOLDER
// (one of them) by double-click, RUNS times each; prints the median seconds.
#include "BenchWindow.h"
#include "Median.h"

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

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
    form.State().Current().BackUpDir = argv[1];
    const std::string folder = argv[2];
    const int runs = std::max(1, std::atoi(argv[3]));

    const double listing = tarvok::bench::MedianSeconds(runs, [&](int) { form.ShowBkUpFolders(argv[1]); });
    const int folders = form.Controls().lbxTarget->count();
    const auto selectFolder = [&] {
        form.ShowBkUpFolders(argv[1]);
        const auto found =
            form.Controls().lbxTarget->findItems(QString::fromLocal8Bit(folder.c_str()), Qt::MatchExactly);
        if (found.size() != 1) {
            std::fprintf(stderr, "%s is not listed\n", folder.c_str());
            std::exit(1);
        }
        form.Controls().lbxTarget->clearSelection();
        found.front()->setSelected(true);
    };
    const double opening = tarvok::bench::MedianSeconds(
        runs, [&](int) { form.lbxTargetDblClick(); }, [&](int) { selectFolder(); });
    std::printf("%d %.6f %d %.6f\n", folders, listing, form.Controls().lbxTarget->count(), opening);
    return 0;
}
