#include "ui/dialogs/SelectDirectoryDialog.h"

#include "FakeDialogs.h"
#include "TempDir.h"
#include "platform/FileSystem.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using tarvok::test::FakeDialogs;
using tarvok::test::TempDir;
using tarvok::test::WriteFile;
using tarvok::ui::SelectDirectoryDialog;
namespace fs = std::filesystem;

namespace {

const std::string CreateQuestion = "The specified directory does not exist. Create it?";

QStringList ItemsOf(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

} // namespace

TEST(SelectDirectoryDialog, OpensOnTheStartWithItsFiles)
{
    TempDir tmp;
    fs::create_directory(tmp / "sub");
    WriteFile(tmp / "b.txt", "");
    WriteFile(tmp / "A.txt", "");
    FakeDialogs dialogs;
    SelectDirectoryDialog dialog(nullptr, tmp.Path(), dialogs);

    EXPECT_EQ(dialog.windowTitle(), "Select Directory");
    EXPECT_EQ(dialog.NameBox()->text().toStdString(), tmp.Path());
    EXPECT_EQ(ItemsOf(dialog.Files()), (QStringList{"A.txt", "b.txt"})) << "files only, no folders";
    EXPECT_GT(dialog.FileSystems()->count(), 0) << "the root file system at least";
    EXPECT_EQ(dialog.FileSystems()->currentData().toString().toStdString(),
              QStorageInfo(QString::fromStdString(tmp.Path())).rootPath().toStdString());
}

// Folders listed above the start arrive while the dialog opens; once every
// folder on the way has been read, the start is in view, expanded, and the
// name label leads to the name box.
TEST(SelectDirectoryDialog, OpensWithTheStartInViewAndItsNameLabelLeadingToTheBox)
{
    TempDir tmp;
    for (int i = 0; i < 80; ++i)
        fs::create_directory(tmp / ("folder" + std::to_string(100 + i)));
    fs::create_directories(tmp / "start/inner");
    FakeDialogs dialogs;
    SelectDirectoryDialog dialog(nullptr, tmp / "start", dialogs);
    QStringList read;
    QObject::connect(qobject_cast<QFileSystemModel*>(dialog.Tree()->model()), &QFileSystemModel::directoryLoaded,
                     [&](const QString& dir) { read << QDir::cleanPath(dir); });
    dialog.show();
    QStringList onTheWay{QString::fromStdString(tmp / "start")};
    for (QDir dir(onTheWay.front()); dir.cdUp();)
        onTheWay << dir.path();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::all_of(onTheWay.begin(), onTheWay.end(),
                               [&](const QString& dir) { return read.contains(dir); });
        },
        5000))
        << "read so far: " << read.join(", ").toStdString();
    QCoreApplication::processEvents();

    QTreeView* tree = dialog.Tree();
    const QModelIndex start = tree->currentIndex();
    EXPECT_EQ(tree->model()->rowCount(start.parent()), 81);
    EXPECT_TRUE(tree->isExpanded(start));
    EXPECT_TRUE(tree->viewport()->rect().contains(tree->visualRect(start)));

    QLabel* nameLabel = nullptr;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->text() == "Directory &name:")
            nameLabel = label;
    ASSERT_NE(nameLabel, nullptr);
    EXPECT_EQ(nameLabel->buddy(), dialog.NameBox()) << "the & marks a key, not a character";
}

TEST(SelectDirectoryDialog, PickingAFileSystemShowsItsRoot)
{
    TempDir tmp;
    FakeDialogs dialogs;
    SelectDirectoryDialog dialog(nullptr, tmp.Path(), dialogs);
    const int root = dialog.FileSystems()->findData(QString("/"));
    ASSERT_GE(root, 0);
    emit dialog.FileSystems()->activated(root);
    EXPECT_EQ(dialog.ShownDirectory(), "/");
    EXPECT_EQ(dialog.NameBox()->text(), "/");
}

TEST(SelectDirectoryDialog, EmptyStartIsTheCurrentDirectory)
{
    FakeDialogs dialogs;
    SelectDirectoryDialog dialog(nullptr, "", dialogs);
    EXPECT_EQ(dialog.NameBox()->text().toStdString(), tarvok::platform::CurrentDirectory());
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Chosen(), tarvok::platform::CurrentDirectory());
    EXPECT_TRUE(dialogs.Log.empty()) << "an existing directory is accepted without a question";
}

TEST(SelectDirectoryDialog, TreeSelectionShowsThatDirectory)
{
    TempDir tmp;
    fs::create_directory(tmp / "sub");
    WriteFile(tmp / "sub/inside.txt", "");
    FakeDialogs dialogs;
    SelectDirectoryDialog dialog(nullptr, tmp.Path(), dialogs);
    auto* model = dialog.Tree()->model();
    const QModelIndex parent = dialog.Tree()->currentIndex();
    ASSERT_TRUE(parent.isValid());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(parent) == 1; }, 5000)) << "the tree lists the subfolder";
    dialog.Tree()->setCurrentIndex(model->index(0, 0, parent));

    EXPECT_EQ(dialog.NameBox()->text().toStdString(), tmp / "sub");
    EXPECT_EQ(ItemsOf(dialog.Files()), QStringList{"inside.txt"});
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.Chosen(), tmp / "sub");
}

TEST(SelectDirectoryDialog, MissingDirectoryIsCreatedWithParentsOnYes)
{
    TempDir tmp;
    FakeDialogs dialogs;
    dialogs.Answers = {false, true};
    SelectDirectoryDialog dialog(nullptr, tmp.Path(), dialogs);
    dialog.show();
    dialog.NameBox()->setText(QString::fromStdString(tmp / "new/deeper"));

    dialog.OkButton()->click();
    EXPECT_TRUE(dialog.isVisible()) << "No keeps the dialog open";
    EXPECT_FALSE(fs::exists(tmp / "new"));

    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(fs::is_directory(tmp / "new/deeper"));
    EXPECT_EQ(dialog.Chosen(), tmp / "new/deeper");
    EXPECT_EQ(dialogs.TextsOf("confirm"), (std::vector<std::string>{CreateQuestion, CreateQuestion}));
}

TEST(SelectDirectoryDialog, RelativeNamesAndTrailingSlashesResolveInsideTheShownDirectory)
{
    TempDir tmp;
    FakeDialogs dialogs;
    SelectDirectoryDialog dialog(nullptr, tmp.Path(), dialogs);
    dialog.NameBox()->setText("made here/");
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.Chosen(), tmp / "made here");
    EXPECT_TRUE(fs::is_directory(tmp / "made here"));
}

TEST(SelectDirectoryDialog, AFileOrAnUncreatableNameIsRefused)
{
    TempDir tmp;
    WriteFile(tmp / "plain", "");
    FakeDialogs dialogs;
    SelectDirectoryDialog dialog(nullptr, tmp.Path(), dialogs);
    dialog.show();
    dialog.NameBox()->setText(QString::fromStdString(tmp / "plain"));
    dialog.OkButton()->click();
    dialog.NameBox()->setText(QString::fromStdString(tmp / "plain/below"));
    dialog.OkButton()->click();

    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.Chosen().empty());
    EXPECT_EQ(dialogs.TextsOf("warning").size(), 2u);
}

TEST(SelectDirectoryDialog, StartThatDoesNotExistOpensNearItAndCancelChangesNothing)
{
    TempDir tmp;
    FakeDialogs dialogs;
    SelectDirectoryDialog dialog(nullptr, tmp / "not/yet", dialogs);
    EXPECT_EQ(dialog.NameBox()->text().toStdString(), tmp / "not/yet");
    EXPECT_EQ(dialog.ShownDirectory().toStdString(), tmp.Path());
    dialog.CancelButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(fs::exists(tmp / "not"));
    EXPECT_TRUE(dialogs.Log.empty());
}

TEST(SelectDirectoryDialog, HelpShowsAShortText)
{
    FakeDialogs dialogs;
    SelectDirectoryDialog dialog(nullptr, "/", dialogs);
    dialog.HelpButton()->click();
    ASSERT_EQ(dialogs.TextsOf("message").size(), 1u);
    EXPECT_NE(dialogs.TextsOf("message")[0].find("created"), std::string::npos);
}

TEST(SelectDirectoryDialog, ExecuteReturnsTheAcceptedDirectory)
{
    TempDir tmp;
    FakeDialogs dialogs;
    QTimer driver;
    driver.setSingleShot(true);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<SelectDirectoryDialog*>(QApplication::activeModalWidget())) {
            dialog->NameBox()->setText(QString::fromStdString(tmp / "typed"));
            dialog->OkButton()->click();
        }
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    driver.start(0);
    watchdog.start(10000);

    std::string chosen;
    EXPECT_TRUE(tarvok::ui::ExecuteSelectDirectoryDialog(nullptr, tmp.Path(), chosen, dialogs));
    EXPECT_EQ(chosen, tmp / "typed");
    EXPECT_TRUE(fs::is_directory(tmp / "typed"));
}

TEST(SelectDirectoryDialog, ANameWithALineBreakIsRefused)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: Windows names cannot hold line breaks";
#endif
    TempDir tmp;
    fs::create_directory(tmp / "two\nlines");
    fs::create_directory(tmp / "carriage\rreturn");
    for (const std::string& path : {tmp / "two\nlines", tmp / "carriage\rreturn", tmp / "new\nfolder"}) {
        FakeDialogs dialogs;
        SelectDirectoryDialog dialog(nullptr, tmp.Path(), dialogs);
        dialog.show();
        dialog.NameBox()->setText(QString::fromStdString(path));
        dialog.OkButton()->click();

        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.Chosen().empty());
        ASSERT_EQ(dialogs.TextsOf("warning").size(), 1u);
        EXPECT_NE(dialogs.TextsOf("warning")[0].find("line break"), std::string::npos);
        EXPECT_TRUE(dialogs.TextsOf("confirm").empty()) << "no offer to create it";
    }
    EXPECT_FALSE(fs::exists(tmp / "new\nfolder"));
}
