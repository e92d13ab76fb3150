#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// Widget tests run on the offscreen platform; the variable must be set
// before the application object exists (test discovery runs this binary too).
int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
