#include "TempDir.h"
#include "core/ProjectFile.h"
#include "core/Settings.h"

#include <gtest/gtest.h>

#include <random>

using namespace tarvok;
using tarvok::test::TempDir;
using tarvok::test::WriteFile;

// Arbitrary bytes, biased towards line ends, digits and paths that exist, fed
// to both readers: they must neither crash nor hang, and the lists they build
// must hold only what the rules allow.
TEST(ReaderFuzz, ArbitraryBytesKeepTheListInvariants)
{
    TempDir app;
    WriteFile(app / "real", "x");
    WriteFile(app / "Project.ini", "");
    const std::string pieces[] = {
        "\r\n",       "\n",       "\r",        "0",        "1",          "-", "$", "x", " ", "\t", std::string(1, '\0'),
        app / "real", app.Path(), "Reserve 1", "\xff\xfe", "99999999999"};
    std::mt19937 gen(20261207);
    for (int round = 0; round < 400; ++round) {
        std::string text;
        const int parts = static_cast<int>(gen() % 60);
        for (int i = 0; i < parts; ++i)
            text += gen() % 4 == 0 ? std::string(1, static_cast<char>(gen())) : pieces[gen() % std::size(pieces)];
        WriteFile(app / "Tarvok.ini", text);
        WriteFile(app / "list.ini", text);

        AppSettings settings;
        ProjectList projects;
        SettingsFileState state;
        LoadSettings(app.Path(), settings, projects, state);
        ASSERT_FALSE(projects.empty());
        // What was read, live and dormant, is written back and read again alike.
        const std::string saved = FormatSettings(settings, projects, state.Dormant);
        WriteFile(app / "Tarvok.ini", saved);
        AppSettings again;
        ProjectList reloaded;
        SettingsFileState reloadedState;
        LoadSettings(app.Path(), again, reloaded, reloadedState);
        ASSERT_EQ(FormatSettings(again, reloaded, reloadedState.Dormant), saved);
        for (const PrjRec& p : projects) {
            EXPECT_LE(p.Period, 3);
            EXPECT_LE(p.Day, 30);
            EXPECT_LE(p.Hour, 23);
            EXPECT_LE(p.AutoBkUp, 1);
            EXPECT_TRUE(p.Name == "MyPrj-1" || p.BackUpDir.find('\0') == std::string::npos);
        }

        FileList files;
        LoadFileList(app / "list.ini", files);
        for (const FileRec& f : files)
            EXPECT_EQ(f.FileName, app / "real");
    }
}
