#include "platform/FileSystem.h"
#include "ChildProcess.h"
#include "TempDir.h"
#include "base/InOutError.h"
#include "core/ProjectFile.h"
#include "core/Settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

using namespace tarvok::platform;
using tarvok::test::ReadFile;
using tarvok::test::TempDir;
using tarvok::test::WriteFile;

TEST(FileSystem, ExistenceTestsTellFilesFromDirectories)
{
    TempDir tmp;
    WriteFile(tmp / "f", "x");
    EXPECT_TRUE(FileExists(tmp / "f"));
    EXPECT_FALSE(FileExists(tmp.Path()));
    EXPECT_TRUE(DirectoryExists(tmp.Path()));
    EXPECT_FALSE(DirectoryExists(tmp / "f"));
    EXPECT_FALSE(FileExists(tmp / "none"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(tmp / "f" + std::string(1, '\0') + "tail")) << "an embedded NUL names nothing";
}

TEST(FileSystem, ListingMapsAttributes)
{
    TempDir tmp;
    std::filesystem::create_directory(tmp / "plain");
    WriteFile(tmp / "file", "x");
    WriteFile(tmp / "locked", "x");
    std::filesystem::permissions(tmp / "locked", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
#ifdef _WIN32
    // A new file is marked for archiving there.
    const std::map<std::string, uint32_t> expected{
        {"plain", faDirectory}, {"file", faArchive}, {"locked", faArchive | faReadOnly}};
#else
    std::filesystem::create_directory(tmp / ".hidden");
    std::filesystem::create_directory_symlink(tmp / "plain", tmp / "link");
    const std::map<std::string, uint32_t> expected{{"plain", faDirectory},
                                                   {".hidden", faDirectory | faHidden},
                                                   {"file", 0u},
                                                   {"locked", faReadOnly},
                                                   {"link", faDirectory | faSymLink}};
#endif
    std::map<std::string, uint32_t> attrs;
    for (const DirEntry& e : ListDirectory(tmp.Path()))
        attrs[e.Name] = e.Attr;
    EXPECT_EQ(attrs, expected) << "no . and ..";
    EXPECT_TRUE(ListDirectory(tmp / "missing").empty());
}

TEST(FileSystem, DirectoryServices)
{
    TempDir tmp;
    EXPECT_TRUE(CreateDir(tmp / "one"));
    EXPECT_FALSE(CreateDir(tmp / "one")) << "already there";
    EXPECT_FALSE(CreateDir(tmp / "a/b")) << "one level only";
    EXPECT_TRUE(CreateDirWithParents(tmp / "a/b/c"));
    EXPECT_TRUE(DirectoryExists(tmp / "a/b/c"));
    WriteFile(tmp / "a/b/c/f", "x");
    EXPECT_FALSE(RemoveDir(tmp / "a/b/c")) << "not empty";
    EXPECT_TRUE(DeleteFile(tmp / "a/b/c/f"));
    EXPECT_FALSE(DeleteFile(tmp / "a/b/c/f"));
    EXPECT_TRUE(RemoveDir(tmp / "a/b/c"));
}

TEST(FileSystem, ReplaceKeepsPermissionsOfTheOldFile)
{
    TempDir tmp;
    WriteFile(tmp / "f", "old");
    std::filesystem::permissions(tmp / "f", std::filesystem::perms{0640});
    ReplaceFileContents(tmp / "f", "new");
#ifdef _WIN32
    EXPECT_EQ(tarvok::test::ModeOf(tmp / "f"), 0666u) << "Windows keeps a read-only mark only";
#else
    EXPECT_EQ(tarvok::test::ModeOf(tmp / "f"), 0640u);
#endif
    EXPECT_EQ(ReadWholeFile(tmp / "f"), "new");
}

TEST(FileSystem, ErrnoMapping)
{
    TempDir tmp;
    auto code = [](int error, const std::string& path) { return InOutErrorFromErrno(error, path).ErrorCode(); };
    EXPECT_EQ(code(ENOENT, tmp / "missing"), 2);
    EXPECT_EQ(code(ENOENT, tmp / "nodir/missing"), 3);
    EXPECT_EQ(code(EMFILE, "x"), 4);
    EXPECT_EQ(code(ENFILE, "x"), 4);
    EXPECT_EQ(code(EACCES, "x"), 5);
    EXPECT_EQ(code(EPERM, "x"), 5);
    EXPECT_EQ(code(EROFS, "x"), 5);
    EXPECT_EQ(code(ENOSPC, "x"), 101);
#ifndef _WIN32 // no quotas there
    EXPECT_EQ(code(EDQUOT, "x"), 101);
#endif
    const tarvok::EInOutError io = InOutErrorFromErrno(EIO, "x");
    EXPECT_EQ(io.ErrorCode(), EIO);
    EXPECT_STREQ(io.what(), "I/O error 5") << "EIO is errno 5 but not an access error";
}

TEST(FileSystem, ExecutableDirIsAnExistingDirectory)
{
    const std::string dir = ExecutableDir();
    EXPECT_TRUE(DirectoryExists(dir));
    EXPECT_NE(dir.back(), '/');
    EXPECT_NE(dir.back(), '\\');
}

TEST(FileSystem, ReplaceLeavesAFileTheUserMayNotWriteAlone)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: a child process as another user; the read-only mark is "
                    "FilePromisesTest.FailuresCarryTheProgramsCodes";
#else
    TempDir tmp;
    ::chmod(tmp.Path().c_str(), 0777);
    WriteFile(tmp / "readonly", "kept");
    ::chmod((tmp / "readonly").c_str(), 0444);
    WriteFile(tmp / "theirs", "kept");
    ::chmod((tmp / "theirs").c_str(), 0644);
    struct Case {
        const char* name;
        bool needsOtherOwner; // the file is root's, written by "nobody"
    };
    for (const Case& c : {Case{"readonly", false}, Case{"theirs", true}}) {
        if (c.needsOtherOwner && !tarvok::test::RunningAsRoot())
            continue; // only root can make a file of another user
        const int code = tarvok::test::RunInChild([&] {
            if (c.needsOtherOwner && !tarvok::test::DropRoot())
                return 99;
            try {
                ReplaceFileContents(tmp / c.name, "replaced");
            } catch (const tarvok::EInOutError& e) {
                return e.ErrorCode();
            }
            return 0;
        });
        EXPECT_EQ(code, 5) << c.name;
        EXPECT_EQ(ReadFile(tmp / c.name), "kept") << c.name;
    }
#endif
}

TEST(FileSystem, ReplaceWritesThroughALinkAndKeepsIt)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: symbolic links are the administrator's on Windows";
#else
    TempDir tmp;
    std::filesystem::create_directory(tmp / "real");
    WriteFile(tmp / "real/settings", "old");
    std::filesystem::create_symlink("real/settings", tmp / "link");
    std::filesystem::create_symlink(tmp / "link", tmp / "link-to-link");
    ReplaceFileContents(tmp / "link-to-link", "new");
    EXPECT_TRUE(std::filesystem::is_symlink(tmp / "link"));
    EXPECT_TRUE(std::filesystem::is_symlink(tmp / "link-to-link"));
    EXPECT_EQ(ReadFile(tmp / "real/settings"), "new");

    std::filesystem::create_symlink("loop-b", tmp / "loop-a");
    std::filesystem::create_symlink("loop-a", tmp / "loop-b");
    EXPECT_THROW(ReplaceFileContents(tmp / "loop-a", "x"), tarvok::EInOutError);
#endif
}

#ifndef _WIN32
namespace {

// Every entry under `dir` with its kind and, for plain files and links, what
// they hold; FIFOs and devices are never opened.
std::map<std::string, std::string> WorldOf(const std::string& dir)
{
    namespace fs = std::filesystem;
    std::map<std::string, std::string> world;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        const fs::path& path = entry.path();
        if (entry.is_symlink())
            world[path] = "link to " + fs::read_symlink(path).string();
        else if (entry.is_regular_file())
            world[path] = "file " + ReadFile(path);
        else
            world[path] = "kind " + std::to_string(static_cast<int>(entry.symlink_status().type()));
    }
    return world;
}

} // namespace
#endif

// The project file and the settings file in a folder shared with others
// (mode 1777, a team's backup folder), where "nobody" can plant links.
TEST(FileSystem, FilesAreWrittenOnlyThroughTheUsersOwnLinksToPlainFiles)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: links planted by another user in a shared folder";
#else
    using tarvok::test::RunningAsRoot;
    TempDir tmp;
    ::chmod(tmp.Path().c_str(), 0755);
    std::filesystem::create_directory(tmp / "mine");
    WriteFile(tmp / "mine/thesis.tex", "my thesis");
    ASSERT_EQ(::mkfifo((tmp / "mine/fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(tmp / "mine/folder");
    // Root tests with a device of its own making: a wrong replace must not
    // turn a real one into a plain file.
    const std::string device = RunningAsRoot() ? tmp / "mine/zero" : "/dev/null";
    if (RunningAsRoot()) {
        ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 5)), 0);
    }
    struct Case {
        const char* what;
        std::string target;
        bool plantedByNobody; // else the user's own link
        bool viaRelay;        // the user's link leads to one that nobody planted
        bool settings;        // else the project file
    };
    const Case cases[] = {
        {"another user's link to my file", tmp / "mine/thesis.tex", true, false, false},
        {"another user's link as the settings file", tmp / "mine/thesis.tex", true, false, true},
        {"my link through another user's link", tmp / "mine/thesis.tex", true, true, false},
        {"my link to a FIFO", tmp / "mine/fifo", false, false, false},
        {"my link to a device", device, false, false, true},
        {"my link to a folder", tmp / "mine/folder", false, false, false},
        {"my link to nothing", tmp / "mine/none", false, false, true},
    };
    tarvok::FileList list;
    tarvok::AddFile(list, tarvok::FileRec{tmp / "mine/thesis.tex", 1, 0});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.plantedByNobody && !RunningAsRoot())
            continue; // only root can act as another user
        const std::string shared = tmp / ("shared" + std::to_string(&c - cases));
        std::filesystem::create_directory(shared);
        ::chmod(shared.c_str(), 01777);
        const std::string file = shared + "/" + (c.settings ? tarvok::SettingsFileName : tarvok::ProjectFileName);
        const std::string planted = c.viaRelay ? shared + "/relay" : file;
        const int made = tarvok::test::RunInChild([&] {
            if (c.plantedByNobody && !tarvok::test::DropRoot())
                return 99;
            return ::symlink(c.target.c_str(), planted.c_str());
        });
        ASSERT_EQ(made, 0);
        if (c.viaRelay) {
            ASSERT_EQ(::symlink(planted.c_str(), file.c_str()), 0);
        }
        const auto before = WorldOf(tmp.Path());
        try {
            if (c.settings)
                tarvok::SaveSettings(shared, tarvok::AppSettings{}, tarvok::ProjectList{}, tarvok::SettingsFileState{});
            else
                tarvok::SaveSourceList(file, list);
            ADD_FAILURE() << "written";
        } catch (const tarvok::EInOutError& e) {
            EXPECT_EQ(e.ErrorCode(), 5);
            EXPECT_NE(std::string(e.what()).find(shared), std::string::npos) << "names the link: " << e.what();
        }
        EXPECT_EQ(WorldOf(tmp.Path()), before) << "nothing written anywhere";
    }
#endif
}

TEST(FileSystem, ReadRefusesFilesOverTheLimitAndNonFiles)
{
    TempDir tmp;
    WriteFile(tmp / "limit", "");
    std::filesystem::resize_file(tmp / "limit", MaxWholeFileSize);
    EXPECT_EQ(ReadWholeFile(tmp / "limit").size(), MaxWholeFileSize);
    WriteFile(tmp / "huge", "");
    std::filesystem::resize_file(tmp / "huge", MaxWholeFileSize + 1);
    std::filesystem::create_directory(tmp / "folder");
    std::vector<std::string> names{"huge", "folder"};
#ifndef _WIN32
    ::mkfifo((tmp / "fifo").c_str(), 0600);
    names.push_back("fifo");
#endif
    for (const std::string& name : names) {
        try {
            ReadWholeFile(tmp / name);
            ADD_FAILURE() << name << " was read";
        } catch (const tarvok::EInOutError& e) {
            EXPECT_EQ(e.ErrorCode(), 5) << name;
        }
    }
}
