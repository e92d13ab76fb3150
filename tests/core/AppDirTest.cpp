#include "platform/AppDir.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace tarvok::platform;
using tarvok::test::ModeOf;
using tarvok::test::ReadFile;
using tarvok::test::RunningAsRoot;
using tarvok::test::TempDir;
using tarvok::test::WriteFile;

namespace {

// A scratch world: an executable folder "bin", a home and a config home.
class AppDirTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(tmp / "bin"); }
    AppDirSources Sources() const { return {tmp / "bin", {"/usr/bin"}, tmp / "config", tmp / "home"}; }

    TempDir tmp;
};

} // namespace

TEST_F(AppDirTest, AWritableFolderOfAPortableCopyStaysAppDirAndNothingIsCreated)
{
    EXPECT_EQ(ChooseAppDir(Sources()), tmp / "bin");
    EXPECT_FALSE(std::filesystem::exists(tmp / "config"));
}

TEST_F(AppDirTest, TheInstalledBinFolderIsNeverAppDirEvenWhenWritable)
{
    // Named through a link, as /bin names /usr/bin on a merged-usr system.
    std::filesystem::create_directory_symlink(tmp / "bin", tmp / "linked-bin");
    AppDirSources sources = Sources();
    sources.InstalledBinDirs = {"/usr/bin", tmp / "linked-bin"};
    EXPECT_EQ(ChooseAppDir(sources), tmp / "config/Tarvok");
    EXPECT_EQ(ModeOf(tmp / "config/Tarvok"), 0700u);
}

TEST_F(AppDirTest, AReadOnlyFolderGivesTheConfigFolder)
{
    if (RunningAsRoot())
        GTEST_SKIP() << "root writes anywhere; the suite runs this again as nobody";
    ::chmod((tmp / "bin").c_str(), 0555);
    EXPECT_EQ(ChooseAppDir(Sources()), tmp / "config/Tarvok");
    EXPECT_EQ(ModeOf(tmp / "config/Tarvok"), 0700u);
    EXPECT_FALSE(std::filesystem::exists(tmp / "bin/Tarvok.ini"));
}

TEST_F(AppDirTest, WithoutXdgConfigHomeTheFolderIsMadeInTheHomesDotConfig)
{
    AppDirSources sources = Sources();
    sources.ExecutableDir = tmp / "missing-bin";
    sources.XdgConfigHome.clear();
    EXPECT_EQ(ChooseAppDir(sources), tmp / "home/.config/Tarvok");
    EXPECT_EQ(ModeOf(tmp / "home/.config"), 0700u);
    EXPECT_EQ(ModeOf(tmp / "home/.config/Tarvok"), 0700u);
}

TEST_F(AppDirTest, AnExistingConfigFolderIsUsedAndMadePrivate)
{
    std::filesystem::create_directories(tmp / "config/Tarvok");
    WriteFile(tmp / "config/Tarvok/Tarvok.ini", "kept");
    AppDirSources sources = Sources();
    sources.InstalledBinDirs = {tmp / "bin"};
    for (unsigned mode : {0755u, 0777u, 0750u, 0701u, 0700u}) {
        ::chmod((tmp / "config/Tarvok").c_str(), mode);
        EXPECT_EQ(ChooseAppDir(sources), tmp / "config/Tarvok");
        EXPECT_EQ(ModeOf(tmp / "config/Tarvok"), 0700u) << std::oct << mode;
        EXPECT_EQ(ReadFile(tmp / "config/Tarvok/Tarvok.ini"), "kept");
    }
}

TEST(UserConfigAppDir, FollowsXdgConfigHomeOnlyWhenItIsAbsolute)
{
    struct Case {
        std::string xdg, home, expected;
    };
    const Case cases[] = {
        {"/x/cfg", "/h", "/x/cfg/Tarvok"},
        {"/x/cfg/", "/h", "/x/cfg/Tarvok"},
        {"", "/h", "/h/.config/Tarvok"},
        {"relative/cfg", "/h", "/h/.config/Tarvok"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UserConfigAppDir({"/bin", {}, c.xdg, c.home}), c.expected) << "XDG_CONFIG_HOME=" << c.xdg;
}

// The installed example skins and a fresh config folder.
class ExampleSkinsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(tmp / "share/Skin/not-a-skin");
        std::filesystem::create_directory(tmp / "config");
        WriteFile(tmp / "share/Skin/TarvokSkin0.bmp", "skin 0");
        WriteFile(tmp / "share/Skin/TarvokSkin1.bmp", "skin 1");
    }
    TempDir tmp;
};

TEST_F(ExampleSkinsTest, AreCopiedIntoAConfigFolderWithoutSkinFolder)
{
    EXPECT_EQ(CopyExampleSkins(tmp / "share/Skin", tmp / "config"), 2);
    EXPECT_EQ(ReadFile(tmp / "config/Skin/TarvokSkin0.bmp"), "skin 0");
    EXPECT_EQ(ReadFile(tmp / "config/Skin/TarvokSkin1.bmp"), "skin 1");
    EXPECT_FALSE(std::filesystem::exists(tmp / "config/Skin/not-a-skin")) << "folders are not skins";
    EXPECT_EQ(CopyExampleSkins(tmp / "share/Skin", tmp / "config"), 0) << "only on the first start";
}

TEST_F(ExampleSkinsTest, NeverReplaceOrAddToTheUsersOwnSkinFolder)
{
    std::filesystem::create_directory(tmp / "config/Skin");
    WriteFile(tmp / "config/Skin/TarvokSkin0.bmp", "my own");
    EXPECT_EQ(CopyExampleSkins(tmp / "share/Skin", tmp / "config"), 0);
    EXPECT_EQ(ReadFile(tmp / "config/Skin/TarvokSkin0.bmp"), "my own");
    EXPECT_FALSE(std::filesystem::exists(tmp / "config/Skin/TarvokSkin1.bmp"));
}

TEST_F(ExampleSkinsTest, WithoutInstalledSkinsNoSkinFolderIsMade)
{
    EXPECT_EQ(CopyExampleSkins(tmp / "nowhere", tmp / "config"), 0);
    EXPECT_FALSE(std::filesystem::exists(tmp / "config/Skin"));
}
