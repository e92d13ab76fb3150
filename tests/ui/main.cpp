#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

// Widget tests run on the offscreen platform; the variable must be set
// before the application object exists (test discovery runs this binary
// too). Under Wine no QT_* variable comes in from outside, so it is set here.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef _WIN32
    // The offscreen platform reads fonts from one folder: the system's own,
    // or under Wine, where that one may hold none, Debian's through Z:.
    if (!qEnvironmentVariableIsSet("QT_QPA_FONTDIR")) {
        const QString windowsFonts = QDir::fromNativeSeparators(qEnvironmentVariable("WINDIR")) + "/Fonts";
        const bool hasFonts = !QDir(windowsFonts).entryList({"*.ttf"}, QDir::Files).isEmpty();
        qputenv("QT_QPA_FONTDIR", hasFonts ? windowsFonts.toUtf8() : "Z:/usr/share/fonts/truetype/dejavu");
    }
#endif
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
