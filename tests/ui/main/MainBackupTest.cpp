#include "BackupTestWorld.h"
#include "base/InOutError.h"
#include "core/BackupEngine.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <functional>
#include <utility>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace tarvok::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

#define EXPECT_THROW_MESSAGE(statement, text)                                                                          \
    try {                                                                                                              \
        statement;                                                                                                     \
        ADD_FAILURE() << "no error";                                                                                   \
    } catch (const EInOutError& e) {                                                                                   \
        EXPECT_EQ(e.what(), std::string(text));                                                                        \
    }

LocalTime At(int month, int day, int hour, int minute)
{
    LocalTime t;
    t.Month = month;
    t.Day = day;
    t.Hour = hour;
    t.Minute = minute;
    return t;
}

// ---- Backup run -----------------------------------------------------------

TEST_F(BackupTest, BackUpCopiesIntoTheHoursFolderAndListsIt)
{
    const std::string first = MakeSource("one", "x.txt", "first x");
    const std::string second = MakeSource("two", "x.txt", "second x");
    const std::string gone = MakeSource("one", "gone.txt", "");
    for (const std::string& path : {first, gone, second})
        Form->State().AddSources({path});
    fs::remove(gone);
    Clock.Time = At(3, 7, 9, 5);
    QString statusDuringRun;
    bool busyDuringRun = false;
    Clock.OnNow = [&] {
        statusDuringRun = Form->Controls().lbStatus->text();
        busyDuringRun = QApplication::overrideCursor() != nullptr;
    };

    Form->btnBackUpClick();

    EXPECT_EQ(statusDuringRun, "BackUp Files Now...");
    EXPECT_TRUE(busyDuringRun);
    EXPECT_EQ(NamesOnDisk(Backup + "/03_07_09"), Texts{"x.txt"});
    EXPECT_EQ(ReadFile(Backup + "/03_07_09/x.txt"), "second x") << "the later source of a name wins";
    EXPECT_EQ(Dialogs.TextsOf("message"), Texts{"BackUP Success."});
    EXPECT_EQ(Dialogs.TextsOf("warning"), Texts{BackupClashText(Backup + "/03_07_09", {{first, second}})})
        << "the user learns which source has no copy; a vanished one is skipped quietly";
    EXPECT_EQ(Lines(Form->Controls().lbxTarget), QStringList{"03_07_09"});
    EXPECT_EQ(Form->State().BrowserMode(), BrowserMode::FolderView);
    EXPECT_TRUE(Form->Controls().lbStatus->text().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BackupTest, BackUpOfAnEmptyListOnlyAsksForSources)
{
    Form->Controls().BackUpAll1->trigger();
    EXPECT_EQ(Dialogs.TextsOf("message"), Texts{"Please select Source Files first"});
    EXPECT_EQ(NamesOnDisk(Backup), Texts{});
}

TEST_F(BackupTest, FailingCopyEndsTheRunWithItsErrorAndPutsTheWindowBack)
{
    Form->State().AddSources({MakeSource("src", "a.txt", "a")});
    fs::remove_all(Backup);
    try {
        Form->btnBackUpClick();
        FAIL() << "the copy into a removed directory must fail";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.what(), Backup + "/" + SnapshotFolderName(Clock.Now()) + ": Invalid filename");
    }
    EXPECT_EQ(Dialogs.TextsOf("message"), Texts{});
    EXPECT_TRUE(Form->Controls().lbStatus->text().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(fs::exists(Backup));
}

// Through the button and the menu item alike, the
// error ends the reaction in the general error box and the window goes on.
TEST_F(BackupTest, AnErrorEndingAReactionIsReportedWhereItArose)
{
    Form->State().AddSources({MakeSource("src", "a.txt", "a")});
    fs::remove_all(Backup);
    const std::string error = Backup + "/" + SnapshotFolderName(Clock.Now()) + ": Invalid filename.";
    const std::pair<const char*, std::function<void()>> senders[] = {
        {"button", [&] { Form->Controls().btnBackUp->click(); }},
        {"menu item", [&] { Form->Controls().BackUpAll1->trigger(); }},
    };
    for (const auto& [sender, send] : senders) {
        SCOPED_TRACE(sender);
        Dialogs.Log.clear();
        EXPECT_NO_THROW(send());
        EXPECT_EQ(Dialogs.TextsOf("error"), Texts{error});
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

// ---- Restore --------------------------------------------------------------

TEST_F(BackupTest, RestoreNeedsAnOpenFolderAndASelection)
{
    MakeSnapshot("01_02_08", {"notes.txt"});
    Form->ShowBkUpFolders(Backup);
    Select(Form->Controls().lbxTarget, {0});
    Form->Controls().btnRestore->click();
    OpenSnapshot("01_02_08");
    Form->Controls().lbxTarget->clearSelection();
    Form->Controls().RestoreSelectedFiles1->trigger();
    EXPECT_EQ(Dialogs.TextsOf("message"),
              (Texts{"Please double click a Folder to enter and select Restore Files.", "No File selected."}));
    EXPECT_EQ(Dialogs.TextsOf("confirm"), Texts{});
}

TEST_F(BackupTest, RestoreRenamesWhatItOverwritesAndNeverReplacesABak)
{
    MakeSnapshot("01_02_08", {"notes.txt", "other.txt"});
    OpenSnapshot("01_02_08");
    const int notes = Lines(Form->Controls().lbxTarget).indexOf("notes.txt");
    const std::string out = App / "out";
    fs::create_directory(out);

    // Into an empty directory.
    Select(Form->Controls().lbxTarget, {notes});
    Dialogs.Directories = {out};
    Form->btnRestoreClick();
    EXPECT_EQ(Dialogs.TextsOf("confirm"),
              (Texts{"Are you sure to restore selected 1 files?",
                     "Restore to " + out + "? This will overwrite exist files, if there are."}));
    EXPECT_EQ(Dialogs.TextsOf("selectdir"), Texts{""}) << "the first restore starts in the current directory";
    EXPECT_EQ(Dialogs.TextsOf("message"), Texts{"Restore Success."});
    EXPECT_EQ(NamesOnDisk(out), Texts{"notes.txt"});
    EXPECT_EQ(Form->State().LastDir(), out);

    // Into an occupied one: the current file becomes notes.BAK.
    WriteFile(out + "/notes.txt", "current");
    Dialogs.Directories = {out};
    Form->btnRestoreClick();
    EXPECT_EQ(Dialogs.TextsOf("selectdir").back(), out) << "the next restore starts where the last one went";
    EXPECT_EQ(ReadFile(out + "/notes.txt"), "notes.txt backed up");
    EXPECT_EQ(ReadFile(out + "/notes.BAK"), "current");

    // Again: notes.BAK exists, so the restore ends and the current file stays.
    WriteFile(out + "/notes.txt", "newer");
    Dialogs.Log.clear();
    Dialogs.Directories = {out};
    try {
        Form->btnRestoreClick();
        FAIL() << "an existing .BAK must not be replaced";
    } catch (const std::exception& e) {
        EXPECT_EQ(e.what(), out + "/notes.BAK: Unable to create backup file.");
    }
    EXPECT_EQ(ReadFile(out + "/notes.txt"), "newer");
    EXPECT_EQ(ReadFile(out + "/notes.BAK"), "current");
    EXPECT_EQ(Dialogs.TextsOf("message"), Texts{});
    EXPECT_TRUE(Form->Controls().lbStatus->text().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BackupTest, RestoreStopsOnNoOrCancelWithoutChangingLastDir)
{
    MakeSnapshot("01_02_08", {"notes.txt"});
    OpenSnapshot("01_02_08");
    Select(Form->Controls().lbxTarget, {0});
    Form->State().AddSources({"/last/x.txt"}); // the folder sources came from
    Dialogs.Answers = {false};
    Form->btnRestoreClick(); // No to the first question
    Form->btnRestoreClick(); // cancel in the directory dialog
    Dialogs.Answers = {true, false};
    Dialogs.Directories = {App / "out"};
    Form->btnRestoreClick(); // No to "Restore to ...?"
    EXPECT_EQ(Form->State().LastDir(), "/last");
    EXPECT_EQ(Dialogs.TextsOf("message"), Texts{});
    EXPECT_FALSE(fs::exists(App / "out"));
}

// ---- Delete backups ---------------------------------------------------------

TEST_F(BackupTest, DeletingFoldersRemovesThemWithTheirFiles)
{
    MakeSnapshot("01_02_08", {"a", "b"});
    MakeSnapshot("01_02_10", {"c"});
    MakeSnapshot("12_31_23", {"d"});
    Form->ShowBkUpFolders(Backup);
    Form->Controls().BtnDelBkUp->click();
    Select(Form->Controls().lbxTarget, {0, 2});
    Form->Controls().DeleteSelectedBackupFiles1->trigger();

    EXPECT_EQ(Dialogs.TextsOf("message"), Texts{"No Folder selected."});
    EXPECT_EQ(Dialogs.TextsOf("confirm"), Texts{"Are you sure to delete selected 2 Folder?"});
    EXPECT_EQ(NamesOnDisk(Backup), Texts{"01_02_10"});
    EXPECT_EQ(Lines(Form->Controls().lbxTarget), QStringList{"01_02_10"});
    EXPECT_EQ(Form->Controls().edTarget->text().toStdString(), Backup + "/");
    EXPECT_TRUE(Form->State().BackupList().empty());
}

TEST_F(BackupTest, ABackupThatStaysIsReportedAndStillListed)
{
    // The program protects read-only files itself, so this holds for root too.
    MakeSnapshot("01_02_08", {"a", "kept"});
    const std::string kept = Backup + "/01_02_08/kept";
    fs::permissions(kept, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string report = kept + " was not deleted: File access denied";
    Form->ShowBkUpFolders(Backup);
    Select(Form->Controls().lbxTarget, {0});
    EXPECT_THROW_MESSAGE(Form->BtnDelBkUpClick(), report);
    EXPECT_EQ(NamesOnDisk(Backup + "/01_02_08"), Texts{"kept"});
    EXPECT_EQ(Lines(Form->Controls().lbxTarget), QStringList{"01_02_08"});

    MakeSnapshot("01_02_08", {"a"});
    OpenSnapshot("01_02_08");
    Form->Controls().lbxTarget->selectAll();
    EXPECT_THROW_MESSAGE(Form->BtnDelBkUpClick(), report);
    EXPECT_EQ(Lines(Form->Controls().lbxTarget), QStringList{"kept"}) << "its line is not dropped as if deleted";
    ASSERT_EQ(Form->State().BackupList().size(), 1u);
    EXPECT_EQ(Form->State().BackupList().front().FileName, kept);
}

TEST_F(BackupTest, DeletingFilesKeepsTheOthersInTheirOrder)
{
    MakeSnapshot("01_02_08", {"a", "b", "c", "d"});
    OpenSnapshot("01_02_08");
    const QStringList before = Lines(Form->Controls().lbxTarget);
    Select(Form->Controls().lbxTarget, {0, 2});
    Dialogs.Answers = {false};
    Form->BtnDelBkUpClick();
    EXPECT_EQ(NamesOnDisk(Backup + "/01_02_08").size(), 4u) << "No deletes nothing";

    Form->BtnDelBkUpClick();
    EXPECT_EQ(Dialogs.TextsOf("confirm").back(), "Are you sure to delete selected 2 File?");
    EXPECT_EQ(Lines(Form->Controls().lbxTarget), (QStringList{before[1], before[3]}));
    Texts left{before[1].toStdString(), before[3].toStdString()};
    std::sort(left.begin(), left.end());
    EXPECT_EQ(NamesOnDisk(Backup + "/01_02_08"), left);
    EXPECT_EQ(Form->State().BrowserMode(), BrowserMode::FileView);
}

TEST_F(BackupTest, DeletingEveryFileLeavesTheFolderAndTheLines)
{
    MakeSnapshot("01_02_08", {"a", "b"});
    OpenSnapshot("01_02_08");
    const QStringList before = Lines(Form->Controls().lbxTarget);
    Form->Controls().lbxTarget->selectAll();
    Form->BtnDelBkUpClick();
    EXPECT_EQ(Dialogs.TextsOf("message"), Texts{"No files exists."});
    EXPECT_EQ(NamesOnDisk(Backup + "/01_02_08"), Texts{});
    EXPECT_EQ(Lines(Form->Controls().lbxTarget), before);
    EXPECT_TRUE(Form->State().BackupList().empty());

    // No entries stand behind those lines: a restore copies nothing.
    Dialogs.Directories = {App.Path()};
    Form->btnRestoreClick();
    EXPECT_EQ(Dialogs.TextsOf("message").back(), "Restore Success.");
    EXPECT_FALSE(fs::exists(App / "a"));
}

TEST_F(BackupTest, DeleteRefusesASnapshotFolderSwappedAfterTheListing)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: Wine makes no symbolic links, and another user's folder needs root";
#endif
    // Another user renames the listed folder away and puts in its place a link
    // to a folder of the user's, or a folder of their own.
    const struct {
        const char* what;
        bool fileView, link;
        const char* cause;
    } cases[] = {{"folder view, link", false, true, "is a symbolic link"},
                 {"file view, link", true, true, "is a symbolic link"},
                 {"folder view, another user's folder", false, false, "belongs to another user"},
                 {"file view, another user's folder", true, false, "belongs to another user"}};
    MakeSource("important", "ch1.tex", "chapter one");
    const std::string snap = Backup + "/01_02_08";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.link && !RunningAsRoot())
            continue; // only root can give a folder to another user
        MakeSnapshot("01_02_08", {"ch1.tex"});
        if (c.fileView) {
            OpenSnapshot("01_02_08");
            Form->Controls().lbxTarget->selectAll();
        } else {
            Form->ShowBkUpFolders(Backup);
            Select(Form->Controls().lbxTarget, {0});
        }
        fs::rename(snap, Backup + "/moved");
        if (c.link) {
            fs::create_directory_symlink(App / "important", snap);
        } else {
            fs::create_directory(snap);
            WriteFile(snap + "/ch1.tex", "theirs");
#ifndef _WIN32 // a row for root only
            ASSERT_EQ(::chown(snap.c_str(), 65534, 65534), 0);
            ASSERT_EQ(::chown((snap + "/ch1.tex").c_str(), 65534, 65534), 0);
#endif
        }
        try {
            Form->BtnDelBkUpClick();
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& e) {
            EXPECT_NE(std::string(e.what()).find(c.cause), std::string::npos) << e.what();
        }
        EXPECT_EQ(ReadFile(App / "important/ch1.tex"), "chapter one");
        EXPECT_EQ(ReadFile(snap + "/ch1.tex"), c.link ? "chapter one" : "theirs");
        fs::remove_all(snap); // a link goes, not what it leads to
        fs::remove_all(Backup + "/moved");
    }
}

// ---- Backup directory change --------------------------------------------------

TEST_F(BackupTest, NewDirectoryGetsTheProjectFileAndTheNextSnapshot)
{
    MakeSnapshot("01_02_08", {"a"});
    const std::string source = MakeSource("src", "x.txt", "x");
    Form->State().AddSources({source});
    const std::string moved = App / "moved";
    fs::create_directory(moved);
    Dialogs.Directories = {moved};

    Form->Controls().SelectBackUpDirectory1->trigger();

    EXPECT_EQ(Dialogs.TextsOf("confirm"), Texts{"Change MyPrj-1 BackUp Directory?"});
    EXPECT_EQ(Dialogs.TextsOf("selectdir"), Texts{Backup});
    EXPECT_EQ(Form->State().Current().BackUpDir, moved);
    EXPECT_EQ(Form->Controls().edTarget->text().toStdString(), moved);
    EXPECT_EQ(Form->Controls().lbxTarget->count(), 0);
    EXPECT_TRUE(fs::exists(Backup + "/01_02_08/a")) << "nothing moves";
    EXPECT_EQ(ReadFile(ProjectFilePath(moved)), FormatFileList(Form->State().SourceList()));

    Clock.Time = At(5, 4, 3, 2);
    Form->btnBackUpClick();
    EXPECT_TRUE(fs::exists(moved + "/05_04_03/x.txt"));
}

TEST_F(BackupTest, AnotherProjectsFileInTheNewDirectoryStays)
{
    Form->State().AddSources({MakeSource("src", "x.txt", "x")});
    const std::string shared = App / "shared";
    fs::create_directory(shared);
    WriteFile(ProjectFilePath(shared), "/elsewhere/file\r\n");
    Dialogs.Directories = {shared};
    Form->btnselDirClick();
    EXPECT_EQ(ReadFile(ProjectFilePath(shared)), "/elsewhere/file\r\n");
    EXPECT_EQ(Form->State().Current().BackUpDir, shared);
}

TEST_F(BackupTest, DirectoryChangeStopsOnNoOrCancel)
{
    Dialogs.Answers = {false};
    Form->Controls().btnselDir->click();
    Form->Controls().btnselDir->click(); // Yes, then cancel in the dialog
    EXPECT_EQ(Dialogs.TextsOf("selectdir").size(), 1u);
    EXPECT_EQ(Form->State().Current().BackUpDir, Backup);
    EXPECT_EQ(Form->Controls().edTarget->text().toStdString(), Backup);
}

TEST_F(BackupTest, ADirectoryWithALineBreakIsRefused)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: Windows names cannot hold line breaks";
#endif
    const std::string odd = App / "two\nlines";
    fs::create_directory(odd);
    Dialogs.Directories = {odd};
    Form->btnselDirClick();
    EXPECT_EQ(Dialogs.TextsOf("warning"), std::vector<std::string>{LineBreakInDirectoryText});
    EXPECT_EQ(Form->State().Current().BackUpDir, Backup);
    EXPECT_FALSE(fs::exists(ProjectFilePath(odd)));
}

} // namespace
} // namespace tarvok::test
