#include "core/BlockCopy.h"
#include "ChildProcess.h"
#include "FakeDialogs.h"
#include "TempDir.h"
#include "base/InOutError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace tarvok;
using namespace tarvok::test;
using tarvok::test::FakeDialogs;
using tarvok::test::ReadFile;
using tarvok::test::TempDir;
using tarvok::test::WriteFile;

namespace {

std::string RandomBytes(size_t size)
{
    std::mt19937 gen(static_cast<unsigned>(size));
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(gen());
    return bytes;
}

int ErrorCodeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EInOutError& e) {
        return e.ErrorCode();
    }
    return 0;
}

} // namespace

TEST(CopyFileByBlock, CopiesExactlyAroundTheBlockSize)
{
    TempDir tmp;
    FakeDialogs dialogs;
    for (size_t size :
         {size_t{0}, size_t{1}, CopyBlockSize - 1, CopyBlockSize, CopyBlockSize + 1, 3 * CopyBlockSize + 7}) {
        const std::string data = RandomBytes(size);
        WriteFile(tmp / "src", data);
        CopyFileByBlock(tmp / "src", tmp / "dst", dialogs);
        EXPECT_EQ(ReadFile(tmp / "dst"), data) << size << " bytes";
    }
    EXPECT_TRUE(dialogs.Log.empty());
}

TEST(CopyFileByBlock, LongerDestinationIsTruncatedAndGetsANewTime)
{
    TempDir tmp;
    FakeDialogs dialogs;
    WriteFile(tmp / "src", "short");
    WriteFile(tmp / "dst", std::string(5000, 'x'));
    std::filesystem::last_write_time(tmp / "src",
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(48));
    CopyFileByBlock(tmp / "src", tmp / "dst", dialogs);
    EXPECT_EQ(ReadFile(tmp / "dst"), "short");
    EXPECT_GT(std::filesystem::last_write_time(tmp / "dst"),
              std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
}

TEST(CopyFileByBlock, MissingSourceWarnsWithTheFileNameAndLeavesDestAlone)
{
    TempDir tmp;
    FakeDialogs dialogs;
    WriteFile(tmp / "dst", "keep");
    CopyFileByBlock(tmp / "missing.txt", tmp / "dst", dialogs);
    EXPECT_EQ(dialogs.TextsOf("warning"), std::vector<std::string>{"missing.txt 不存在"});
    EXPECT_EQ(ReadFile(tmp / "dst"), "keep");

    std::filesystem::create_directory(tmp / "adir");
    CopyFileByBlock(tmp / "adir", tmp / "new", dialogs);
    EXPECT_EQ(dialogs.TextsOf("warning").size(), 2u) << "a directory is not a file";
    EXPECT_FALSE(std::filesystem::exists(tmp / "new"));
}

TEST(CopyFileByBlock, MissingDestinationDirectoryIsInvalidFilename)
{
    TempDir tmp;
    FakeDialogs dialogs;
    WriteFile(tmp / "src", "data");
    EXPECT_EQ(ErrorCodeOf([&] { CopyFileByBlock(tmp / "src", tmp / "nodir/dst", dialogs); }), 3);
#ifdef _WIN32
    GTEST_SKIP() << "Windows fault: a copy onto a folder's name moves the folder aside (.<name>.tarvok-aside) and "
                    "takes its name";
#endif
    EXPECT_EQ(ErrorCodeOf([&] { CopyFileByBlock(tmp / "src", tmp.Path(), dialogs); }), 5)
        << "a directory as destination is access denied";
}

TEST(CopyFileByBlock, ReadOnlySourceIsCopied)
{
    TempDir tmp;
    FakeDialogs dialogs;
    WriteFile(tmp / "src", "read only data");
    std::filesystem::permissions(tmp / "src",
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    CopyFileByBlock(tmp / "src", tmp / "dst", dialogs);
    EXPECT_EQ(ReadFile(tmp / "dst"), "read only data");
    EXPECT_NE(ModeOf(tmp / "dst") & 0200, 0u) << "the copy gets normal attributes";
}

TEST(CopyFileByBlock, UnreadableSourceFailsBeforeDestinationIsTouched)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: Windows has no mode that keeps a file's owner from reading it";
#else
    TempDir tmp;
    std::filesystem::permissions(tmp.Path(), std::filesystem::perms::all);
    WriteFile(tmp / "src", "secret");
    WriteFile(tmp / "dst", "keep");
    ::chmod((tmp / "src").c_str(), 0);
    ::chmod((tmp / "dst").c_str(), 0666);
    const int code = RunInChild([&] {
        if (!DropRoot())
            return 99;
        FakeDialogs dialogs;
        return ErrorCodeOf([&] { CopyFileByBlock(tmp / "src", tmp / "dst", dialogs); });
    });
    EXPECT_EQ(code, 5);
    EXPECT_EQ(ReadFile(tmp / "dst"), "keep");
#endif
}

TEST(CopyFileByBlock, SameFileIsRefusedAndTheSourceSurvives)
{
    TempDir tmp;
    FakeDialogs dialogs;
    WriteFile(tmp / "src", "precious");
    std::filesystem::create_hard_link(tmp / "src", tmp / "hard");
    std::vector<std::string> names{tmp / "src", tmp / "hard", tmp.Path() + "/./src"};
#ifndef _WIN32 // symbolic links are the administrator's there
    std::filesystem::create_symlink(tmp / "src", tmp / "link");
    names.push_back(tmp / "link");
#endif
    for (const std::string& dest : names) {
        EXPECT_THROW(CopyFileByBlock(tmp / "src", dest, dialogs), EInOutError) << dest;
        EXPECT_EQ(ReadFile(tmp / "src"), "precious") << dest;
    }
}

TEST(CopyFileByBlock, FullDiskIsReportedNotTruncatedQuietly)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: a file size limit for one process stands in for the full disk";
#else
    TempDir tmp;
    WriteFile(tmp / "src", RandomBytes(3 * 2048 + 5));
    const int code = RunInChild([&] {
        LimitFileSize(3000);
        FakeDialogs dialogs;
        return ErrorCodeOf([&] { CopyFileByBlock(tmp / "src", tmp / "dst", dialogs); });
    });
    EXPECT_EQ(code, 101);
#endif
}
