#include "BackupTestWorld.h"
#include "core/BackupEngine.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

namespace tarvok::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

constexpr uint16_t VkA = 'A';
constexpr uint16_t VkD = 'D';

QPoint CentreOf(const QListWidget* list, int line) { return list->visualItemRect(list->item(line)).center(); }
QPoint BelowTheLines(const QListWidget* list) { return {5, list->viewport()->height() - 3}; }

void SendMouse(QListWidget* list, QEvent::Type type, const QPoint& pos)
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
    ::chmod((Backup + "/locked").c_str(), 0555);
    WriteFile(ProjectFilePath(Backup), "");
    Form->LoadCurrentPrj();
    EXPECT_EQ(Lines(Form->lbxTarget), (QStringList{"01_02_08", "01_02_10", "12_31_23"}));
    EXPECT_EQ(Form->stTarget->text(), "BackUp Folders");
    EXPECT_EQ(Form->edTarget->text().toStdString(), Backup);
    ::chmod((Backup + "/locked").c_str(), 0755);
}

TEST_F(BackupTest, DoubleClickOpensAFolderUnlessItIsEmpty)
{
    MakeSnapshot("01_02_08", {});
    MakeSnapshot("01_02_10", {"a.txt", "b.txt"});
    Form->ShowBkUpFolders(Backup);
    Select(Form->lbxTarget, {0});
    SendMouse(Form->lbxTarget, QEvent::MouseButtonDblClick, CentreOf(Form->lbxTarget, 0));
    EXPECT_EQ(Dialogs.TextsOf("message"), Texts{"No files exists."});
    EXPECT_EQ(Lines(Form->lbxTarget), (QStringList{"01_02_08", "01_02_10"}));
    EXPECT_EQ(Form->BrowserMode, BrowserMode::FolderView);

    Select(Form->lbxTarget, {1});
    Form->lbxTargetDblClick();
    EXPECT_EQ(Form->BrowserMode, BrowserMode::FileView);
    EXPECT_EQ(Form->stTarget->text(), "BackUp Files");
    QStringList sorted = Lines(Form->lbxTarget);
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList{"a.txt", "b.txt"}));
    int line = 0;
    for (const FileRec& file : Form->BackupList)
        EXPECT_EQ(file.FileName, Backup + "/01_02_10/" + Form->lbxTarget->item(line++)->text().toStdString());

    Form->btnBackPrjDir->click();
    EXPECT_EQ(Form->BrowserMode, BrowserMode::FolderView);
    MakeSnapshot("02_03_04", {});
    Form->btnBackPrjDirClick();
    EXPECT_EQ(Form->lbxTarget->count(), 2) << "in the folder view the button does not re-read";
}

TEST_F(BackupTest, DoubleClickOpensTheFirstSelectedFileThatStillExists)
{
    MakeSnapshot("01_02_08", {"a", "b", "c"});
    OpenSnapshot("01_02_08");
    Form->lbxTarget->selectAll();
    fs::remove(GetFile(Form->BackupList, 0)->FileName);
    Form->lbxTargetDblClick();
    EXPECT_EQ(Shell.Opened, Texts{GetFile(Form->BackupList, 1)->FileName});

    const std::string gone = MakeSource("src", "gone.txt", "");
    const std::string kept = MakeSource("src", "kept.txt", "");
    for (const std::string& path : {gone, kept})
        AddFile(Form->SourceList, FileRec{path, 1, 0});
    Form->FilllbxSource(Form->SourceList);
    fs::remove(gone);
    Form->lbxSource->selectAll();
    SendMouse(Form->lbxSource, QEvent::MouseButtonDblClick, CentreOf(Form->lbxSource, 0));
    EXPECT_EQ(Shell.Opened.back(), kept);
}

TEST_F(BackupTest, HoverShowsTheFullPathAndBesideTheLinesClearsIt)
{
    MakeSnapshot("01_02_08", {"a"});
    Form->ShowBkUpFolders(Backup);
    SendMouse(Form->lbxTarget, QEvent::MouseMove, CentreOf(Form->lbxTarget, 0));
    EXPECT_EQ(Form->lbStatus->text().toStdString(), Backup + "/01_02_08");
    OpenSnapshot("01_02_08");
    Form->lbxTargetMouseMove(CentreOf(Form->lbxTarget, 0));
    EXPECT_EQ(Form->lbStatus->text().toStdString(), Backup + "/01_02_08/a");
    Form->lbxTargetMouseMove(BelowTheLines(Form->lbxTarget));
    EXPECT_TRUE(Form->lbStatus->text().isEmpty());

    // Two sources of one name are told apart by their paths.
    for (const char* folder : {"one", "two"})
        AddFile(Form->SourceList, FileRec{MakeSource(folder, "x.txt", ""), 1, 0});
    Form->FilllbxSource(Form->SourceList);
    Form->lbxSourceMouseMove(CentreOf(Form->lbxSource, 1));
    EXPECT_EQ(Form->lbStatus->text().toStdString(), App / "two/x.txt");
}

TEST_F(BackupTest, PressBelowTheLinesClearsOnlyThatList)
{
    MakeSnapshot("01_02_08", {});
    Form->ShowBkUpFolders(Backup);
    AddFile(Form->SourceList, FileRec{MakeSource("src", "x.txt", ""), 1, 0});
    Form->FilllbxSource(Form->SourceList);
    Select(Form->lbxTarget, {0});
    Select(Form->lbxSource, {0});
    Form->lbStatus->setText("hovered");

    Form->lbxtMouseDown(Form->lbxTarget, CentreOf(Form->lbxTarget, 0));
    EXPECT_EQ(Form->lbxTarget->selectedItems().size(), 1) << "a press on a line is the list's own business";
    SendMouse(Form->lbxTarget, QEvent::MouseButtonPress, BelowTheLines(Form->lbxTarget));
    EXPECT_EQ(Form->lbxTarget->selectedItems().size(), 0);
    EXPECT_EQ(Form->lbxSource->selectedItems().size(), 1);
    EXPECT_TRUE(Form->lbStatus->text().isEmpty());
}

TEST_F(BackupTest, CtrlAAndCtrlDSelectAndDeselectEveryLine)
{
    for (const char* name : {"n1", "n2", "n3"})
        AddFile(Form->SourceList, FileRec{MakeSource("src", name, ""), 1, 0});
    Form->FilllbxSource(Form->SourceList);
    QListWidget* list = Form->lbxSource;

    Form->lbxSourceKeyDown(VkA);
    EXPECT_EQ(list->selectedItems().size(), 0) << "A without Ctrl";
    Form->FormKeyDown(VkControl);
    QTest::simulateEvent(list, true, Qt::Key_A, Qt::ControlModifier, QString(), false);
    EXPECT_EQ(list->selectedItems().size(), 3);
    Form->lbxSourceKeyDown(VkD);
    EXPECT_EQ(list->selectedItems().size(), 0);
    Form->lbxTarget->clear();
    Form->lbxTarget->addItems({"p", "q"});
    Form->lbxTargetKeyDown(VkA);
    EXPECT_EQ(Form->lbxTarget->selectedItems().size(), 2);
    Form->FormKeyUp(VkControl);
    Form->lbxTargetKeyDown(VkD);
    EXPECT_EQ(Form->lbxTarget->selectedItems().size(), 2) << "D after Ctrl was released";
}

// ---- Source list --------------------------------------------------------------

TEST_F(BackupTest, AddAppendsNewFilesInTheDialogsOrderAndWritesTheProjectFile)
{
    const std::string a = MakeSource("src", "a.txt", "");
    const std::string b = MakeSource("src", "b.txt", "");
    const std::string c = MakeSource("other", "c.txt", "");
    Dialogs.FileChoices = {{b}, {c, b, a}, {App / "src/A.TXT", a}};
    WriteFile(App / "src/A.TXT", "");

    Form->btnAdd->click();
    Form->AddSourceFiles1->trigger();
    Form->btnAddClick();

    EXPECT_EQ(Dialogs.TextsOf("openfiles"), (Texts{"..", App / "src", App / "other"}));
    EXPECT_EQ(Lines(Form->lbxSource), (QStringList{"b.txt", "c.txt", "a.txt", "A.TXT"}));
    EXPECT_EQ(ReadFile(ProjectFilePath(Backup)), FormatFileList(Form->SourceList));
    EXPECT_EQ(Form->SourceList.size(), 4u);
    EXPECT_TRUE(Form->IsInSourceList(a));
    EXPECT_FALSE(Form->IsInSourceList(App / "src/a.TXT"));
}

TEST_F(BackupTest, CancelledAddStillWritesTheProjectFile)
{
    AddFile(Form->SourceList, FileRec{MakeSource("src", "a.txt", ""), 1, 0});
    fs::remove(ProjectFilePath(Backup));
    Form->btnAddClick();
    EXPECT_EQ(ReadFile(ProjectFilePath(Backup)), FormatFileList(Form->SourceList));
    EXPECT_EQ(Lines(Form->lbxSource), QStringList{"a.txt"});
    EXPECT_TRUE(Form->LastDir.empty());
}

TEST_F(BackupTest, DeleteRemovesTheSelectedSourcesOnly)
{
    for (const char* name : {"s0", "s1", "s2", "s3"})
        AddFile(Form->SourceList, FileRec{MakeSource("src", name, ""), 1, 0});
    Form->FilllbxSource(Form->SourceList);
    fs::remove(ProjectFilePath(Backup));
    Form->btnDelete->click();
    EXPECT_EQ(Form->SourceList.size(), 4u) << "nothing selected, nothing removed";
    EXPECT_TRUE(fs::exists(ProjectFilePath(Backup))) << "yet the file is written";

    Select(Form->lbxSource, {0, 2});
    Form->DeleteSelectedSourceFiles1->trigger();
    EXPECT_EQ(Lines(Form->lbxSource), (QStringList{"s1", "s3"}));
    EXPECT_EQ(ReadFile(ProjectFilePath(Backup)), FormatFileList(Form->SourceList));
    EXPECT_TRUE(fs::exists(App / "src/s0")) << "the file itself stays";
}

TEST_F(BackupTest, RestoreDirectoryIsWhereTheNextAddStarts)
{
    MakeSnapshot("01_02_08", {"a"});
    OpenSnapshot("01_02_08");
    Select(Form->lbxTarget, {0});
    fs::create_directory(App / "out");
    Dialogs.Directories = {App / "out"};
    Form->btnRestoreClick();
    Form->btnAddClick();
    EXPECT_EQ(Dialogs.TextsOf("openfiles"), Texts{App / "out"});
}

} // namespace
} // namespace tarvok::test
