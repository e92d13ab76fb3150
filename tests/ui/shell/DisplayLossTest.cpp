#include "platform/qt/DisplayLoss.h"

#include <QtGlobal>
#include <gtest/gtest.h>

namespace tarvok::test {
namespace {

QtMessageHandler outerOutput = nullptr;
int passedOn = 0;
// Windows is no server the program connects to: nothing there is lost.
#ifdef _WIN32
constexpr int SavesOnLoss = 0;
#else
constexpr int SavesOnLoss = 1;
#endif

void CountMessages(QtMsgType, const QMessageLogContext&, const QString&) { ++passedOn; }

// Qt's own words on either path to its exit; every message still reaches the
// output that was there before.
TEST(DisplayLossTest, SavesOnceWhenQtSaysTheConnectionBroke)
{
    outerOutput = qInstallMessageHandler(CountMessages);
    int saves = 0;
    {
        platform::DisplayLossWatch watch([&] { ++saves; });
        qWarning("QXcbConnection: XCB error: 3 (BadWindow)");
        EXPECT_EQ(saves, 0);
        qWarning("The X11 connection broke (error 1). Did the X11 server die?");
        EXPECT_EQ(saves, SavesOnLoss);
        qWarning("The X11 connection broke: I/O error (code 1)");
        EXPECT_EQ(saves, SavesOnLoss);
    }
    EXPECT_EQ(passedOn, 3);
    qWarning("The X11 connection broke (error 1). Did the X11 server die?");
    EXPECT_EQ(saves, SavesOnLoss);
    EXPECT_EQ(passedOn, 4);
    qInstallMessageHandler(outerOutput);
}

} // namespace
} // namespace tarvok::test
