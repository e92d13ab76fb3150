// Times a skin change of the real main window (offscreen, shown): Change
// Skin through the files of SKIN_DIR plus the repaint of the whole window,
// RUNS times; prints the median and, as a reference, the median of reading
// the same files alone.
#include "BenchWindow.h"
#include "Median.h"

#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SKIN_DIR RUNS\n", argv[0]);
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QTemporaryDir appDir;
    const QString skinDir = appDir.filePath(QStringLiteral("Skin"));
    QDir().mkpath(skinDir);
    QStringList skins;
    for (const QFileInfo& file :
         QDir(QString::fromLocal8Bit(argv[1])).entryInfoList({"TarvokSkin*.bmp"}, QDir::Files)) {
        QFile::copy(file.filePath(), skinDir + QLatin1Char('/') + file.fileName());
        skins << file.filePath();
    }
    if (skins.isEmpty()) {
        std::fprintf(stderr, "no TarvokSkin*.bmp in %s\n", argv[1]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[2]));

    tarvok::bench::BenchWindow window(appDir.path().toStdString());
    tarvok::ui::TMainForm& form = window.Form;
    QApplication::processEvents();

    const double change = 1000 * tarvok::bench::MedianSeconds(runs, [&](int) {
                              form.ChangeSkin1Click();
                              form.repaint();
                          });
    const double read =
        1000 * tarvok::bench::MedianSeconds(runs, [&](int i) { QImageReader(skins[i % skins.size()]).read(); });
    std::printf("skin change with repaint: median %.2f ms over %d runs (%lld skins)\n", change, runs,
                static_cast<long long>(skins.size()));
    std::printf("reading the skin file alone: median %.2f ms; ratio change/read: %.2f\n", read, change / read);
    return 0;
}
