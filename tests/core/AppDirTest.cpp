#include "platform/AppDir.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tarvok::platform;
using tarvok::test::ModeOf;
using tarvok::test::ReadFile;
using tarvok::test::RunningAsRoot;
using tarvok::test::SystemPath;
using tarvok::test::TempDir;
using tarvok::test::WriteFile;

namespace {

// The mode of a folder for the user alone; Windows keeps no modes (its
// folders' own lists are WindowsSystemTest's).
void ExpectPrivate(const std::string& dir)
{
#ifdef _WIN32
    EXPECT_TRUE(std::filesystem::is_directory(dir)) << dir;
#else
    EXPECT_EQ(ModeOf(dir), 0700u) << dir;
#endif
}

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
    AppDirSources sources = Sources();
#ifdef _WIN32
    sources.InstalledBinDirs = {"/usr/bin", tmp / "bin"};
#else
    // Named through a link, as /bin names /usr/bin on a merged-usr system.
    std::filesystem::create_directory_symlink(tmp / "bin", tmp / "linked-bin");
    sources.InstalledBinDirs = {"/usr/bin", tmp / "linked-bin"};
#endif
    EXPECT_EQ(ChooseAppDir(sources), tmp / "config/Tarvok");
    ExpectPrivate(tmp / "config/Tarvok");
}

TEST_F(AppDirTest, AReadOnlyFolderGivesTheConfigFolder)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: no mode keeps the owner from writing into a folder on Windows";
#endif
    if (RunningAsRoot())
        GTEST_SKIP() << "root writes anywhere; the suite runs this again as nobody";
    std::filesystem::permissions(tmp / "bin", std::filesystem::perms{0555});
    EXPECT_EQ(ChooseAppDir(Sources()), tmp / "config/Tarvok");
    ExpectPrivate(tmp / "config/Tarvok");
    EXPECT_FALSE(std::filesystem::exists(tmp / "bin/Tarvok.ini"));
}

TEST_F(AppDirTest, WithoutXdgConfigHomeTheFolderIsMadeInTheHomesDotConfig)
{
    AppDirSources sources = Sources();
    sources.ExecutableDir = tmp / "missing-bin";
    sources.XdgConfigHome.clear();
#ifdef _WIN32
    const std::string settings = tmp / "home/AppData/Roaming";
#else
    const std::string settings = tmp / "home/.config";
#endif
    EXPECT_EQ(ChooseAppDir(sources), SystemPath(settings + "/Tarvok"));
    ExpectPrivate(settings);
    ExpectPrivate(settings + "/Tarvok");
}

TEST_F(AppDirTest, AnExistingConfigFolderIsUsedAndMadePrivate)
{
    std::filesystem::create_directories(tmp / "config/Tarvok");
    WriteFile(tmp / "config/Tarvok/Tarvok.ini", "kept");
    AppDirSources sources = Sources();
    sources.InstalledBinDirs = {tmp / "bin"};
    for (unsigned mode : {0755u, 0777u, 0750u, 0701u, 0700u}) {
        SCOPED_TRACE(mode);
        std::filesystem::permissions(tmp / "config/Tarvok", std::filesystem::perms{mode});
        EXPECT_EQ(ChooseAppDir(sources), tmp / "config/Tarvok");
        ExpectPrivate(tmp / "config/Tarvok");
        EXPECT_EQ(ReadFile(tmp / "config/Tarvok/Tarvok.ini"), "kept");
    }
}

TEST(UserConfigAppDir, FollowsXdgConfigHomeOnlyWhenItIsAbsolute)
{
    struct Case {
        std::string xdg, home, expected;
    };
    // On Windows the folder of %APPDATA% stands where XDG_CONFIG_HOME does.
#ifdef _WIN32
    const Case cases[] = {
        {"C:/x/cfg", "C:/h", "C:/x/cfg/Tarvok"},
        {"C:/x/cfg/", "C:/h", "C:/x/cfg/Tarvok"},
        {"", "C:/h", "C:/h/AppData/Roaming/Tarvok"},
        {"relative/cfg", "C:/h", "C:/h/AppData/Roaming/Tarvok"},
    };
#else
    const Case cases[] = {
        {"/x/cfg", "/h", "/x/cfg/Tarvok"},
        {"/x/cfg/", "/h", "/x/cfg/Tarvok"},
        {"", "/h", "/h/.config/Tarvok"},
        {"relative/cfg", "/h", "/h/.config/Tarvok"},
    };
#endif
    for (const Case& c : cases)
        EXPECT_EQ(UserConfigAppDir({"/bin", {}, c.xdg, c.home}), SystemPath(c.expected)) << "XDG_CONFIG_HOME=" << c.xdg;
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
