#include "BackupTestWorld.h"
#include "core/BackupEngine.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace tarvok::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

constexpr uint16_t VkA = 'A';
constexpr uint16_t VkD = 'D';

QPoint CentreOf(const ui::LineList* list, int line) { return list->LineRect(line).center(); }
QPoint BelowTheLines(const ui::LineList* list) { return {5, list->viewport()->height() - 3}; }

void SendMouse(ui::LineList* list, QEvent::Type type, const QPoint& pos)
{
    QMouseEvent event(type, pos, list->viewport()->mapToGlobal(pos), Qt::LeftButton,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &event);
}

// ---- Browser ----------------------------------------------------------------

TEST_F(BackupTest, FoldersAreSortedAndOnlyPlainFoldersShow)
{
    for (const char* folder : {"12_31_23", "01_02_08", "01_02_10", ".hidden", "locked"})
        MakeSnapshot(folder, {});
    fs::permissions(Backup + "/locked", fs::perms::owner_write, fs::perm_options::remove);
    WriteFile(ProjectFilePath(Backup), "");
    Form->LoadCurrentPrj();
    EXPECT_EQ(Lines(Form->Controls().lbxTarget), (QStringList{"01_02_08", "01_02_10", "12_31_23"}));
    EXPECT_EQ(Form->Controls().stTarget->text(), "BackUp Folders");
    EXPECT_EQ(Form->Controls().edTarget->text().toStdString(), Backup);
    fs::permissions(Backup + "/locked", fs::perms::owner_write, fs::perm_options::add);
}

// Another user's folder is passed over and told once; a name's line break
// shows as "\n" and breaks no line.
TEST_F(BackupTest, OthersFoldersAreToldOnceAndNamesShowTheirControlCharacters)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: a folder given to another user by its owner id";
#else
    if (!RunningAsRoot())
        GTEST_SKIP() << "only root can give a folder away";
    MakeSnapshot("01_02_08\nforged", {});
    MakeSnapshot("01_02_10", {});
    ASSERT_EQ(::chown((Backup + "/01_02_10").c_str(), 65534, 65534), 0);
    for (int shown = 0; shown < 2; ++shown)
        Form->ShowBkUpFolders(Backup);
    EXPECT_EQ(Lines(Form->Controls().lbxTarget), (QStringList{"01_02_08\\nforged"}));
    EXPECT_EQ(Dialogs.TextsOf("warning"), Texts{Backup + "/01_02_10: belongs to another user"});
#endif
}

TEST_F(BackupTest, DoubleClickOpensAFolderUnlessItIsEmpty)
{
    MakeSnapshot("01_02_08", {});
    MakeSnapshot("01_02_10", {"a.txt", "b.txt"});
    Form->ShowBkUpFolders(Backup);
    Select(Form->Controls().lbxTarget, {0});
    SendMouse(Form->Controls().lbxTarget, QEvent::MouseButtonDblClick, CentreOf(Form->Controls().lbxTarget, 0));
    EXPECT_EQ(Dialogs.TextsOf("message"), Texts{"No files exists."});
    EXPECT_EQ(Lines(Form->Controls().lbxTarget), (QStringList{"01_02_08", "01_02_10"}));
    EXPECT_EQ(Form->State().BrowserMode(), BrowserMode::FolderView);

    Select(Form->Controls().lbxTarget, {1});
    Form->lbxTargetDblClick();
    EXPECT_EQ(Form->State().BrowserMode(), BrowserMode::FileView);
    EXPECT_EQ(Form->Controls().stTarget->text(), "BackUp Files");
    QStringList sorted = Lines(Form->Controls().lbxTarget);
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList{"a.txt", "b.txt"}));
    int line = 0;
    for (const FileRec& file : Form->State().BackupList())
        EXPECT_EQ(file.FileName, Backup + "/01_02_10/" + Form->Controls().lbxTarget->Text(line++).toStdString());

    Form->Controls().btnBackPrjDir->click();
    EXPECT_EQ(Form->State().BrowserMode(), BrowserMode::FolderView);
    MakeSnapshot("02_03_04", {});
    Form->btnBackPrjDirClick();
    EXPECT_EQ(Form->Controls().lbxTarget->count(), 2) << "in the folder view the button does not re-read";
}

TEST_F(BackupTest, DoubleClickOpensTheFirstSelectedFileThatStillExists)
{
    MakeSnapshot("01_02_08", {"a", "b", "c"});
    OpenSnapshot("01_02_08");
    Form->Controls().lbxTarget->selectAll();
    fs::remove(GetFile(Form->State().BackupList(), 0)->FileName);
    Form->lbxTargetDblClick();
    EXPECT_EQ(Shell.Opened, Texts{GetFile(Form->State().BackupList(), 1)->FileName});

    const std::string gone = MakeSource("src", "gone.txt", "");
    const std::string kept = MakeSource("src", "kept.txt", "");
    for (const std::string& path : {gone, kept})
        Form->State().AddSources({path});
    Form->FilllbxSource(Form->State().SourceList());
    fs::remove(gone);
    Form->Controls().lbxSource->selectAll();
    SendMouse(Form->Controls().lbxSource, QEvent::MouseButtonDblClick, CentreOf(Form->Controls().lbxSource, 0));
    EXPECT_EQ(Shell.Opened.back(), kept);
}

TEST_F(BackupTest, HoverShowsTheFullPathAndBesideTheLinesClearsIt)
{
    MakeSnapshot("01_02_08", {"a"});
    Form->ShowBkUpFolders(Backup);
    SendMouse(Form->Controls().lbxTarget, QEvent::MouseMove, CentreOf(Form->Controls().lbxTarget, 0));
    EXPECT_EQ(Form->Controls().lbStatus->text().toStdString(), Backup + "/01_02_08");
    OpenSnapshot("01_02_08");
    Form->lbxTargetMouseMove(CentreOf(Form->Controls().lbxTarget, 0));
    EXPECT_EQ(Form->Controls().lbStatus->text().toStdString(), Backup + "/01_02_08/a");
    Form->lbxTargetMouseMove(BelowTheLines(Form->Controls().lbxTarget));
    EXPECT_TRUE(Form->Controls().lbStatus->text().isEmpty());

    // Two sources of one name are told apart by their paths.
    for (const char* folder : {"one", "two"})
        Form->State().AddSources({MakeSource(folder, "x.txt", "")});
    Form->FilllbxSource(Form->State().SourceList());
    Form->lbxSourceMouseMove(CentreOf(Form->Controls().lbxSource, 1));
    EXPECT_EQ(Form->Controls().lbStatus->text().toStdString(), App / "two/x.txt");
}

TEST_F(BackupTest, PressBelowTheLinesClearsOnlyThatList)
{
    MakeSnapshot("01_02_08", {});
    Form->ShowBkUpFolders(Backup);
    Form->State().AddSources({MakeSource("src", "x.txt", "")});
    Form->FilllbxSource(Form->State().SourceList());
    Select(Form->Controls().lbxTarget, {0});
    Select(Form->Controls().lbxSource, {0});
    Form->Controls().lbStatus->setText("hovered");

    Form->lbxtMouseDown(Form->Controls().lbxTarget, CentreOf(Form->Controls().lbxTarget, 0));
    EXPECT_EQ(Form->Controls().lbxTarget->SelectedCount(), 1) << "a press on a line is the list's own business";
    SendMouse(Form->Controls().lbxTarget, QEvent::MouseButtonPress, BelowTheLines(Form->Controls().lbxTarget));
    EXPECT_EQ(Form->Controls().lbxTarget->SelectedCount(), 0);
    EXPECT_EQ(Form->Controls().lbxSource->SelectedCount(), 1);
    EXPECT_TRUE(Form->Controls().lbStatus->text().isEmpty());
}

TEST_F(BackupTest, CtrlAAndCtrlDSelectAndDeselectEveryLine)
{
    for (const char* name : {"n1", "n2", "n3"})
        Form->State().AddSources({MakeSource("src", name, "")});
    Form->FilllbxSource(Form->State().SourceList());
    ui::LineList* list = Form->Controls().lbxSource;

    Form->lbxSourceKeyDown(VkA);
    EXPECT_EQ(list->SelectedCount(), 0) << "A without Ctrl";
    Form->FormKeyDown(VkControl);
    QTest::simulateEvent(list, true, Qt::Key_A, Qt::ControlModifier, QString(), false);
    EXPECT_EQ(list->SelectedCount(), 3);
    Form->lbxSourceKeyDown(VkD);
    EXPECT_EQ(list->SelectedCount(), 0);
    Form->Controls().lbxTarget->clear();
    Form->Controls().lbxTarget->AddLines({"p", "q"});
    Form->lbxTargetKeyDown(VkA);
    EXPECT_EQ(Form->Controls().lbxTarget->SelectedCount(), 2);
    Form->FormKeyUp(VkControl);
    Form->lbxTargetKeyDown(VkD);
    EXPECT_EQ(Form->Controls().lbxTarget->SelectedCount(), 2) << "D after Ctrl was released";
}

// ---- Source list --------------------------------------------------------------

TEST_F(BackupTest, AddAppendsNewFilesInTheDialogsOrderAndWritesTheProjectFile)
{
    const std::string a = MakeSource("src", "a.txt", "");
    const std::string b = MakeSource("src", "b.txt", "");
    const std::string c = MakeSource("other", "c.txt", "");
    Dialogs.FileChoices = {{b}, {c, b, a}, {App / "src/A.TXT", a}};
    WriteFile(App / "src/A.TXT", "");

    Form->Controls().btnAdd->click();
    Form->Controls().AddSourceFiles1->trigger();
    Form->btnAddClick();

    EXPECT_EQ(Dialogs.TextsOf("openfiles"), (Texts{"..", App / "src", App / "other"}));
    EXPECT_EQ(Lines(Form->Controls().lbxSource), (QStringList{"b.txt", "c.txt", "a.txt", "A.TXT"}));
    EXPECT_EQ(ReadFile(ProjectFilePath(Backup)), FormatFileList(Form->State().SourceList()));
    EXPECT_EQ(Form->State().SourceList().size(), 4u);
    EXPECT_TRUE(Form->State().IsInSourceList(a));
    EXPECT_FALSE(Form->State().IsInSourceList(App / "src/a.TXT"));
}

TEST_F(BackupTest, CancelledAddStillWritesTheProjectFile)
{
    Form->State().AddSources({MakeSource("src", "a.txt", "")});
    const std::string lastDir = Form->State().LastDir();
    fs::remove(ProjectFilePath(Backup));
    Form->btnAddClick();
    EXPECT_EQ(ReadFile(ProjectFilePath(Backup)), FormatFileList(Form->State().SourceList()));
    EXPECT_EQ(Lines(Form->Controls().lbxSource), QStringList{"a.txt"});
    EXPECT_EQ(Form->State().LastDir(), lastDir);
}

TEST_F(BackupTest, DeleteRemovesTheSelectedSourcesOnly)
{
    for (const char* name : {"s0", "s1", "s2", "s3"})
        Form->State().AddSources({MakeSource("src", name, "")});
    Form->FilllbxSource(Form->State().SourceList());
    fs::remove(ProjectFilePath(Backup));
    Form->Controls().btnDelete->click();
    EXPECT_EQ(Form->State().SourceList().size(), 4u) << "nothing selected, nothing removed";
    EXPECT_TRUE(fs::exists(ProjectFilePath(Backup))) << "yet the file is written";

    Select(Form->Controls().lbxSource, {0, 2});
    Form->Controls().DeleteSelectedSourceFiles1->trigger();
    EXPECT_EQ(Lines(Form->Controls().lbxSource), (QStringList{"s1", "s3"}));
    EXPECT_EQ(ReadFile(ProjectFilePath(Backup)), FormatFileList(Form->State().SourceList()));
    EXPECT_TRUE(fs::exists(App / "src/s0")) << "the file itself stays";
}

TEST_F(BackupTest, RestoreDirectoryIsWhereTheNextAddStarts)
{
    MakeSnapshot("01_02_08", {"a"});
    OpenSnapshot("01_02_08");
    Select(Form->Controls().lbxTarget, {0});
    fs::create_directory(App / "out");
    Dialogs.Directories = {App / "out"};
    Form->btnRestoreClick();
    Form->btnAddClick();
    EXPECT_EQ(Dialogs.TextsOf("openfiles"), Texts{App / "out"});
}

} // namespace
} // namespace tarvok::test
