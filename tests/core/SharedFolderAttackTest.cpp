// What another user with write access to a shared folder (a team's 1777
// folder) tries against the user's restores, project files and backups,
// while the program works; none may touch the user's own files.
#include "ChildProcess.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDrive.h"
#include "FileLists.h"
#include "TempDir.h"
#include "base/InOutError.h"
#include "base/VisibleText.h"
#include "core/BackupEngine.h"
#include "core/BlockCopy.h"
#include "core/FileUtility.h"
#include "core/ProjectFile.h"
#include "platform/Folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

using namespace tarvok;
using namespace tarvok::test;
namespace fs = std::filesystem;

namespace {
#ifndef _WIN32

// The user's documents, a snapshot holding notes.txt, and a team folder
// everybody may write, with an inbox reached through the link `drop`.
struct SharedWorld {
    SharedWorld()
    {
        Clock.Time = {2026, 3, 7, 9, 5, 0};
        for (const std::string& dir : {Docs, Team, Inbox, Tmp / "bk"})
            fs::create_directories(dir);
        ::chmod(Team.c_str(), 01777);
        ::chmod(Inbox.c_str(), 01777);
        fs::create_directory_symlink(Inbox, Team + "/drop");
        WriteFile(Docs + "/notes.txt", "mine");
        WriteFile(Docs + "/.profile", "my profile");
        WriteFile(Tmp / "notes.txt", "backed up");
        BackUpFileList(ListOf({Tmp / "notes.txt"}), Tmp / "bk", Clock, Dialogs);
    }

    // Every entry under the user's documents with what it holds.
    std::map<std::string, std::string> DocsNow() const
    {
        std::map<std::string, std::string> now;
        for (const auto& entry : fs::recursive_directory_iterator(Docs))
            now[entry.path()] = entry.is_symlink() ? "link " + fs::read_symlink(entry.path()).string()
                                                   : (entry.is_regular_file() ? ReadFile(entry.path()) : "folder");
        return now;
    }

    TempDir Tmp;
    std::string Docs = Tmp / "docs", Team = Tmp / "team", Inbox = Tmp / "team/inbox";
    std::string Snap = Tmp / "bk/03_07_09";
    FakeClock Clock;
    FakeDialogs Dialogs;
};

struct Attack {
    const char* Name;
    DriveRefusals Drive;
    // Prepares the attack; answers what the other user does while the program works.
    std::function<std::function<void()>(SharedWorld&)> Prepare;
    // The program's work, then what must hold afterwards besides the user's documents.
    std::function<void(SharedWorld&)> WorkAndCheck;
};

// The other user tries, at every step of the restore, to put a link of
// theirs under the name of the user's file: it must never be free.
std::function<void()> PlantUnderTheUsersName(SharedWorld& w, bool& planted)
{
    WriteFile(w.Inbox + "/notes.txt", "mine too");
    return [&w, &planted] {
        planted = planted || ::symlink((w.Docs + "/.profile").c_str(), (w.Inbox + "/notes.txt").c_str()) == 0;
    };
}

void RestoreIntoTheInbox(SharedWorld& w, const bool& planted)
{
    RestoreBkUpFile(w.Snap + "/notes.txt", w.Inbox, w.Dialogs);
    EXPECT_FALSE(planted) << "the user's name was free for a moment";
    EXPECT_EQ(ReadFile(w.Inbox + "/notes.txt"), "backed up");
    EXPECT_EQ(ReadFile(w.Inbox + "/notes.BAK"), "mine too");
}

// The project file may be written through a link only where nobody else
// could have put that link.
void ProjectFileRefused(SharedWorld& w, const std::string& file)
{
    try {
        SaveSourceList(file, ListOf({"/a"}));
        ADD_FAILURE() << "written through " << file;
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 5);
        EXPECT_NE(std::string(e.what()).find(w.Team), std::string::npos) << "names the link: " << e.what();
    }
}

// What another user (nobody) made; the suite runs as root, who may give it away.
void MadeByAnotherUser(const std::string& path) { ASSERT_EQ(::lchown(path.c_str(), 65534, 65534), 0) << path; }

// Another user's folder named like a snapshot, holding report.txt.
std::string OthersSnapshot(SharedWorld& w)
{
    const std::string folder = w.Tmp / "bk/03_07_10";
    fs::create_directory(folder);
    WriteFile(folder + "/report.txt", "theirs");
    MadeByAnotherUser(folder + "/report.txt");
    MadeByAnotherUser(folder);
    return folder;
}
#endif

TEST(SharedFolder, NoAttackReachesTheUsersFiles)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux only: another user's links in a folder everybody may write";
#else
    bool planted = false;
    const Attack attacks[] = {
        {"the link to the chosen folder turned to the user's documents while the copy is written",
         {},
         [](SharedWorld& w) {
             return [&w, swapped = false]() mutable {
                 if (!std::exchange(swapped, true)) {
                     fs::remove(w.Team + "/drop");
                     fs::create_directory_symlink(w.Docs, w.Team + "/drop");
                 }
             };
         },
         [](SharedWorld& w) {
             RestoreBkUpFile(w.Snap + "/notes.txt", w.Team + "/drop", w.Dialogs);
             EXPECT_EQ(ReadFile(w.Inbox + "/notes.txt"), "backed up") << "restored where the user chose";
         }},
        {"a link planted under the user's name during the .BAK swap, on a drive with hard links",
         {},
         [&](SharedWorld& w) { return PlantUnderTheUsersName(w, planted); },
         [&](SharedWorld& w) { RestoreIntoTheInbox(w, planted); }},
        {"the same on a drive without hard links that exchanges names",
         {0, true, true, 0, "", 0, false, true},
         [&](SharedWorld& w) { return PlantUnderTheUsersName(w, planted); },
         [&](SharedWorld& w) { RestoreIntoTheInbox(w, planted); }},
        {"a hard link to the user's own link to .profile as the project file",
         {},
         [](SharedWorld& w) {
             fs::create_directory(w.Docs + "/links");
             fs::create_symlink(w.Docs + "/.profile", w.Docs + "/links/prof");
             fs::create_hard_link(w.Docs + "/links/prof", w.Team + "/Project.ini");
             return std::function<void()>();
         },
         [](SharedWorld& w) { ProjectFileRefused(w, w.Team + "/Project.ini"); }},
        {"the user's own link to .profile standing in the team folder",
         {},
         [](SharedWorld& w) {
             fs::create_symlink(w.Docs + "/.profile", w.Team + "/Project.ini");
             return std::function<void()>();
         },
         [](SharedWorld& w) { ProjectFileRefused(w, w.Team + "/Project.ini"); }},
        {"a second live copy writing into the snapshot while a run cleans it",
         {},
         [](SharedWorld&) { return std::function<void()>(); },
         [](SharedWorld& w) {
             int toChild[2], toParent[2];
             ASSERT_EQ(::pipe(toChild), 0);
             ASSERT_EQ(::pipe(toParent), 0);
             const pid_t other = ::fork();
             if (other == 0) {
                 platform::Folder snapshot = platform::Folder::Open(w.Snap);
                 platform::RawFile partial = snapshot.CreateTemporary(PartialCopyPrefix);
                 partial.Write("half", 4);
                 char c = 0;
                 (void)!::write(toParent[1], "r", 1);
                 (void)!::read(toChild[0], &c, 1);
                 ::_exit(0);
             }
             char c = 0;
             ASSERT_EQ(::read(toParent[0], &c, 1), 1);
             BackUpFileList(ListOf({w.Tmp / "notes.txt"}), w.Tmp / "bk", w.Clock, w.Dialogs);
             FileList listed;
             EXPECT_EQ(EntriesOf(w.Snap).size(), 2u) << "the other copy's file stays";
             const DeleteFailures stayed = DeleteBkUpFolder(w.Snap, listed);
             EXPECT_TRUE(fs::exists(w.Snap)) << "and keeps its folder";
             ASSERT_EQ(stayed.size(), 1u) << "which is said";
             EXPECT_EQ(stayed[0].Path, w.Snap);
             EXPECT_NE(std::string(stayed[0].Error.what()).find(PartialCopyPrefix), std::string::npos);
             (void)!::write(toChild[1], "x", 1);
             ::waitpid(other, nullptr, 0);
             BackUpFileList(ListOf({w.Tmp / "notes.txt"}), w.Tmp / "bk", w.Clock, w.Dialogs);
             EXPECT_EQ(EntriesOf(w.Snap), std::set<std::string>{"notes.txt"}) << "once it died, it is cleaned";
             for (int fd : {toChild[0], toChild[1], toParent[0], toParent[1]})
                 ::close(fd);
         }},
        {"another user's project file in the team folder naming the user's own file",
         {},
         [](SharedWorld& w) {
             WriteFile(w.Team + "/Project.ini", w.Docs + "/notes.txt\n");
             MadeByAnotherUser(w.Team + "/Project.ini");
             return std::function<void()>();
         },
         [](SharedWorld& w) {
             FileList sources;
             LoadFileList(w.Team + "/Project.ini", sources);
             EXPECT_TRUE(sources.empty()) << "taken as the user's list";
             try {
                 SaveSourceList(w.Team + "/Project.ini", ListOf({"/a"}));
                 ADD_FAILURE() << "written over another user's file";
             } catch (const EInOutError& e) {
                 EXPECT_EQ(std::string(e.what()), w.Team + "/Project.ini: belongs to another user");
             }
         }},
        {"another user's folder named like a snapshot, listed, opened and restored from",
         {},
         [](SharedWorld& w) {
             OthersSnapshot(w);
             WriteFile(w.Docs + "/report.txt", "mine");
             return std::function<void()>();
         },
         [](SharedWorld& w) {
             const std::string theirs = w.Tmp / "bk/03_07_10";
             std::vector<std::string> others;
             EXPECT_EQ(ListBkUpFolders(w.Tmp / "bk", &others), std::vector<std::string>{"03_07_09"});
             EXPECT_EQ(others, std::vector<std::string>{theirs});
             FileList listed;
             LoadBkUpFolder(theirs, listed);
             EXPECT_TRUE(listed.empty()) << "opened";
             EXPECT_THROW(RestoreBkUpFile(theirs + "/report.txt", w.Docs, w.Dialogs), EInOutError);
         }},
        {"a link to the user's private notes inside a snapshot, restored into the team folder",
         {},
         [](SharedWorld& w) {
             fs::create_symlink(w.Docs + "/notes.txt", w.Snap + "/notes2.txt");
             return std::function<void()>();
         },
         [](SharedWorld& w) {
             RestoreBkUpFiles({w.Snap + "/notes2.txt", w.Snap + "/notes.txt"}, w.Inbox, w.Dialogs);
             EXPECT_FALSE(fs::exists(w.Inbox + "/notes2.txt")) << "the link was followed";
             EXPECT_EQ(ReadFile(w.Inbox + "/notes.txt"), "backed up") << "the rest is restored";
             EXPECT_EQ(w.Dialogs.TextsOf("warning"),
                       std::vector<std::string>{w.Snap + "/notes2.txt: is a link and was not restored"});
         }},
        {"the user's own link leading into another user's folder, which they may swap for a link",
         {},
         [](SharedWorld& w) {
             fs::create_directory(w.Team + "/theirs");
             WriteFile(w.Team + "/theirs/Project.ini", "");
             MadeByAnotherUser(w.Team + "/theirs");
             fs::create_directory(w.Docs + "/links");
             fs::create_symlink(w.Team + "/theirs/Project.ini", w.Docs + "/links/Project.ini");
             return std::function<void()>();
         },
         [](SharedWorld& w) {
             ProjectFileRefused(w, w.Docs + "/links/Project.ini");
             EXPECT_EQ(ReadFile(w.Team + "/theirs/Project.ini"), "");
         }},
        {"another user's file of mode 0666 replaced: the new one takes no mode from it",
         {},
         [](SharedWorld& w) {
             WriteFile(w.Team + "/Tarvok.ini", "");
             ::chmod((w.Team + "/Tarvok.ini").c_str(), 0666);
             MadeByAnotherUser(w.Team + "/Tarvok.ini");
             return std::function<void()>();
         },
         [](SharedWorld& w) {
             const mode_t mask = ::umask(022);
             platform::ReplaceFileContents(w.Team + "/Tarvok.ini", "mine");
             ::umask(mask);
             EXPECT_EQ(ModeOf(w.Team + "/Tarvok.ini") & 0777, 0644u);
         }},
        {"names planted to forge a line of a warning or to colour it",
         {},
         [](SharedWorld&) { return std::function<void()>(); },
         [](SharedWorld& w) {
             RestoreBkUpFiles({w.Snap + "/r.txt\nRestore Success.", w.Snap + "/a\x1b[31mRED\x07\tb.txt"}, w.Inbox,
                              w.Dialogs);
             EXPECT_EQ(w.Dialogs.TextsOf("warning"),
                       (std::vector<std::string>{MissingSourceText("r.txt\\nRestore Success."),
                                                 MissingSourceText("a\\x1b[31mRED\\x07\\tb.txt")}));
         }},
        {"the .BAK name of the second file taken: the error names it and what was restored",
         {},
         [](SharedWorld& w) {
             WriteFile(w.Snap + "/report.txt", "backed up report");
             WriteFile(w.Inbox + "/report.txt", "current report");
             WriteFile(w.Inbox + "/report.BAK", "theirs");
             return std::function<void()>();
         },
         [](SharedWorld& w) {
             try {
                 RestoreBkUpFiles({w.Snap + "/notes.txt", w.Snap + "/report.txt"}, w.Inbox, w.Dialogs);
                 ADD_FAILURE() << "report.BAK replaced";
             } catch (const EBackupFileError& e) {
                 EXPECT_EQ(std::string(e.what()), w.Inbox + "/report.BAK: Unable to create backup file.\n"
                                                            "Restored before it stopped: notes.txt");
             }
             EXPECT_EQ(ReadFile(w.Inbox + "/report.txt"), "current report");
         }},
        {"a name of 255 bytes restored over its current version",
         {},
         [](SharedWorld& w) {
             WriteFile(w.Snap + "/" + std::string(255, 'n'), "backed up");
             WriteFile(w.Inbox + "/" + std::string(255, 'n'), "current");
             return std::function<void()>();
         },
         [](SharedWorld& w) {
             RestoreBkUpFile(w.Snap + "/" + std::string(255, 'n'), w.Inbox, w.Dialogs);
             EXPECT_EQ(ReadFile(w.Inbox + "/" + std::string(255, 'n')), "backed up");
             EXPECT_EQ(ReadFile(BakFileName(w.Inbox + "/" + std::string(255, 'n'))), "current");
         }},
    };
    for (const Attack& attack : attacks) {
        SCOPED_TRACE(attack.Name);
        SharedWorld world;
        planted = false;
        DriveRefusals drive = attack.Drive;
        drive.Meanwhile = attack.Prepare(world);
        const auto before = world.DocsNow();
        {
            FakeDrive fake(drive);
            attack.WorkAndCheck(world);
        }
        EXPECT_EQ(world.DocsNow(), before) << "the user's documents are as they were";
    }
#endif
}

TEST(SharedFolder, NamesShowTheirControlCharacters)
{
    const struct {
        std::string Name, Shown;
    } cases[] = {
        {"plain \u00e9t\u00e9.txt", "plain \u00e9t\u00e9.txt"},
        {"C:\\dir\\a.txt", "C:\\dir\\a.txt"},
        {"r.txt\nRestore Success.\r", "r.txt\\nRestore Success.\\r"},
        {"a\x1b[31m\x07\tb\x7f", "a\\x1b[31m\\x07\\tb\\x7f"},
        {"next\u0085line", "next\\u0085line"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VisibleName(c.Name), c.Shown) << c.Shown;
}

} // namespace
