#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// The desktop tools speak to the X server named by DISPLAY on connections of
// their own; the widgets themselves stay on the offscreen platform.
int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
