#include "MainTestWorld.h"
#include "core/ProjectFile.h"
#include "platform/qt/SessionEnd.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace tarvok::test {
namespace {

namespace fs = std::filesystem;

class MainSessionEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        project = world.MakeProject("P", {"one.txt"});
        world.WriteSettings({0, -1, 1}, {project});
    }

    MainWorld world;
    PrjRec project;
};

TEST_F(MainSessionEndTest, WritesBothFilesAsksNothingAndEnds)
{
    ui::TMainForm& form = world.Create();
    form.show();
    form.State().SetTimerBackups(false);
    const std::string projectFile = ProjectFilePath(project.BackUpDir);
    WriteFile(projectFile, ReadFile(projectFile) + "/nowhere/gone.txt\r\n");
    QSignalSpy closed(&form, &ui::TMainForm::Closed);
    // The session manager's request to save: the program goes on, as the
    // logout may yet be cancelled.
    form.SaveAtSessionEnd();
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(world.SettingsText(), FormatSettings({0, -1, 0}, form.State().ProjectList()));
    EXPECT_EQ(ReadFile(projectFile), world.App / "sources-P/one.txt\r\n");

    form.State().SetTimerBackups(true);
    form.EndSession();
    EXPECT_TRUE(world.Dialogs.Log.empty()) << "nobody is there to answer";
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(world.SettingsText(), FormatSettings({0, -1, 1}, form.State().ProjectList()));

    // A close that follows (a question box left open) ends without asking.
    EXPECT_TRUE(form.close());
    form.EndSession();
    EXPECT_TRUE(world.Dialogs.Log.empty());
    EXPECT_EQ(closed.count(), 1);
}

TEST(ShellSessionEndTest, EachEndingSignalArrivesInTheEventLoop)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: Windows ends a session with a message to the program's windows, not a signal";
#else
    for (int number : {SIGTERM, SIGHUP, SIGINT}) {
        struct sigaction before {};
        ::sigaction(number, nullptr, &before);
        {
            platform::SessionEndWatcher watcher;
            ASSERT_TRUE(watcher.IsWatching());
            QSignalSpy ending(&watcher, &platform::SessionEndWatcher::SessionEnding);
            ::raise(number);
            ::raise(number);
            EXPECT_TRUE(ending.wait(5000)) << number;
            QTest::qWait(50);
            EXPECT_EQ(ending.count(), 1) << "two signals before the loop ran end the session once";
        }
        struct sigaction after {};
        ::sigaction(number, nullptr, &after);
        EXPECT_EQ(after.sa_handler, before.sa_handler) << "the previous handler is back";
    }
#endif
}

} // namespace
} // namespace tarvok::test
