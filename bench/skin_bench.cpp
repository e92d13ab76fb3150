// Times a skin change of the real main window (offscreen, shown): Change
// Skin through the files of SKIN_DIR plus the repaint of the whole window,
// RUNS times; prints the median and, as a reference, the median of reading
// the same files alone.
#include "ConsoleDialogs.h"
#include "core/Shell.h"
#include "platform/SystemClock.h"
#include "ui/Main.h"

#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

double MedianMilliseconds(int runs, const std::function<void(int)>& measured)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        measured(i);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

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
    for (const QFileInfo& file : QDir(QString::fromLocal8Bit(argv[1])).entryInfoList({"TarvokSkin*.bmp"}, QDir::Files)) {
        QFile::copy(file.filePath(), skinDir + QLatin1Char('/') + file.fileName());
        skins << file.filePath();
    }
    if (skins.isEmpty()) {
        std::fprintf(stderr, "no TarvokSkin*.bmp in %s\n", argv[1]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[2]));

    tarvok::bench::ConsoleDialogs dialogs(false);
    tarvok::bench::NoShell shell;
    tarvok::platform::SystemClock clock;
    tarvok::ui::TMainForm form(dialogs, clock, shell, appDir.path().toStdString());
    form.Timer1->stop();
    form.show();
    QApplication::processEvents();

    const double change = MedianMilliseconds(runs, [&](int) {
        form.ChangeSkin1Click();
        form.repaint();
    });
    const double read = MedianMilliseconds(runs, [&](int i) { QImageReader(skins[i % skins.size()]).read(); });
    std::printf("skin change with repaint: median %.2f ms over %d runs (%lld skins)\n", change, runs,
                static_cast<long long>(skins.size()));
    std::printf("reading the skin file alone: median %.2f ms; ratio change/read: %.2f\n", read, change / read);
    return 0;
}
