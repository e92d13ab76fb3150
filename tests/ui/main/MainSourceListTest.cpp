// Source list editing that would damage the project file is refused.
#include "BackupTestWorld.h"

#include "base/InOutError.h"

namespace tarvok::test {
namespace {

namespace fs = std::filesystem;
using SourceListTest = BackupTest;

TEST_F(SourceListTest, NamesWithLineBreaksAreNeverAdded)
{
    const std::string plain = MakeSource("src", "plain.txt", "");
    const std::string broken = App / "src/two\nlines.txt";
    const std::string returned = App / "src/ret\r.txt";
    Dialogs.FileChoices = {{broken, plain, returned}};
    Form->btnAddClick();
    EXPECT_EQ(
        Dialogs.TextsOf("warning"),
        (std::vector<std::string>{"File names with line breaks cannot be backed up: " + App / "src/two\\nlines.txt",
                                  "File names with line breaks cannot be backed up: " + App / "src/ret\\r.txt"}))
        << "each named on its own line, its breaks shown";
    EXPECT_EQ(Lines(Form->Controls().lbxSource), QStringList{"plain.txt"});
    EXPECT_EQ(ReadFile(ProjectFilePath(Backup)), FormatFileList(Form->State().SourceList()));
}

TEST_F(SourceListTest, AddingASourceOfAnotherSourcesSnapshotNameSaysSoAndAddsIt)
{
    const std::string first = MakeSource("one", "x.txt", "");
    const std::string second = MakeSource("two", "x.txt", "");
    const std::string otherCase = MakeSource("three", "X.TXT", "");
    Dialogs.FileChoices = {{first}, {second, otherCase}};
    Form->btnAddClick();
    Form->btnAddClick();
    // This drive tells letter case apart: X.TXT has a name of its own.
    EXPECT_EQ(Dialogs.TextsOf("warning"), std::vector<std::string>{AddedClashText({first, second})});
    EXPECT_EQ(Lines(Form->Controls().lbxSource), (QStringList{"x.txt", "x.txt", "X.TXT"}));
}

TEST_F(SourceListTest, AddAndDeleteLeaveAProjectFileThatCouldNotBeReadAlone)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: no mode keeps a file's owner from reading it on Windows";
#endif
    if (RunningAsRoot())
        GTEST_SKIP() << "root reads any file";
    const std::string projectFile = ProjectFilePath(Backup);
    const std::string kept = MakeSource("src", "kept.txt", "");
    WriteFile(projectFile, kept + "\r\n");
    Form->LoadCurrentPrj();
    ASSERT_EQ(Form->Controls().lbxSource->count(), 1);
    std::filesystem::permissions(projectFile, std::filesystem::perms::none);
    EXPECT_THROW(Form->LoadCurrentPrj(), EInOutError);
    // Showing the window reports it in the error box instead.
    Form->hide();
    EXPECT_NO_THROW(Form->show());
    EXPECT_EQ(Dialogs.TextsOf("error").size(), 1u);
    // Names read before must not stand for the files of a list that was not.
    EXPECT_EQ(Form->Controls().lbxSource->count(), 0);

    Dialogs.FileChoices = {{MakeSource("src", "new.txt", "")}};
    Form->btnAddClick();
    Form->btnDeleteClick();
    const std::string refusal =
        "The project file " + projectFile + " could not be read, so the source list cannot be changed.";
    EXPECT_EQ(Dialogs.TextsOf("message"), (std::vector<std::string>{refusal, refusal}));
    EXPECT_TRUE(Dialogs.TextsOf("openfiles").empty());
    EXPECT_TRUE(Form->State().SourceList().empty());
    std::filesystem::permissions(projectFile, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(ReadFile(projectFile), kept + "\r\n");
}

} // namespace
} // namespace tarvok::test
