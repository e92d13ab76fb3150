#include "MainTestWorld.h"
#include "ModalDriver.h"
#include "ui/dialogs/Projects.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace tarvok::test {
namespace {

// Three projects (the second without automatic backup), the window shown,
// and a projects dialog on its records.
class ProjectsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrjRec second = world.MakeProject("Beta", {"b.txt"});
        second.AutoBkUp = 0;
        world.WriteSettings({0, -1, 1},
                            {world.MakeProject("Alpha", {"a.txt"}), second, world.MakeProject("Gamma", {"c.txt"})});
        world.Create().show();
    }

    ui::TPrjDlg& Open()
    {
        dialog = std::make_unique<ui::TPrjDlg>(Form().State(), world.Dialogs);
        dialog->show();
        return *dialog;
    }

    ui::TMainForm& Form() { return *world.Form; }
    const PrjRec& Project(int index) { return *GetPrj(Form().State().ProjectList(), index); }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (const PrjRec& project : Form().State().ProjectList())
            names.push_back(project.Name);
        return names;
    }

    // The open editor of the grid, if any; a closed one lingers hidden.
    static QLineEdit* Editor(const ui::TPrjDlg& dlg)
    {
        for (QLineEdit* editor : dlg.strgrdPrjs->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible())
                return editor;
        return nullptr;
    }

    // Opens the editor on a name cell, as a typed character would, and
    // replaces its text.
    static void TypeName(ui::TPrjDlg& dlg, int row, const QString& text)
    {
        dlg.SetCursor(row, 1);
        dlg.strgrdPrjs->editItem(dlg.strgrdPrjs->item(row - 1, 1));
        QLineEdit* editor = Editor(dlg);
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
    }

    MainWorld world;
    std::unique_ptr<ui::TPrjDlg> dialog;
};

TEST_F(ProjectsDialogTest, ShowsEveryProjectNumberedInListOrder)
{
    ui::TPrjDlg& dlg = Open();
    EXPECT_EQ(dlg.windowTitle(), "Projects List");
    EXPECT_EQ(dlg.strgrdPrjs->rowCount(), 3);
    const char* const header[] = {"PrjNo", "Project Name", "BackUp Directory", "AutoBkUp"};
    for (int col = 0; col < 4; ++col)
        EXPECT_EQ(dlg.Cell(col, 0), header[col]);
    const char* const names[] = {"Alpha", "Beta", "Gamma"};
    const char* const autoBkUp[] = {"Yes", "No", "Yes"};
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(dlg.Cell(0, row), QString::number(row));
        EXPECT_EQ(dlg.Cell(1, row), names[row - 1]);
        EXPECT_EQ(dlg.Cell(2, row).toStdString(), Project(row - 1).BackUpDir);
        EXPECT_EQ(dlg.Cell(3, row), autoBkUp[row - 1]);
    }
    EXPECT_EQ(dlg.CursorRow(), 1);
    EXPECT_EQ(dlg.CursorCol(), 1);
    EXPECT_EQ(dlg.focusWidget(), dlg.strgrdPrjs) << "typing goes to the grid at once";
}

TEST_F(ProjectsDialogTest, NewIsNamedAfterTheCursorRowAndStartsInTheDefaultFolder)
{
    const std::string defaultDir = world.App / "BkUp";
    std::filesystem::remove_all(defaultDir);
    ui::TPrjDlg& dlg = Open();
    dlg.SetCursor(2, 3);
    dlg.btnNew->click();

    ASSERT_EQ(CountPrj(Form().State().ProjectList()), 4);
    const PrjRec& added = Project(3);
    EXPECT_EQ(added.Name, "MyPrj-2");
    EXPECT_EQ(added.BackUpDir, defaultDir);
    EXPECT_TRUE(std::filesystem::is_directory(defaultDir));
    EXPECT_EQ(std::tie(added.AutoBkUp, added.Period, added.Day, added.Hour),
              std::make_tuple(uint8_t{1}, uint8_t{0}, uint8_t{1}, uint8_t{10}));
    EXPECT_EQ(dlg.strgrdPrjs->rowCount(), 4);
    EXPECT_EQ(dlg.Cell(1, 4), "MyPrj-2");
    EXPECT_EQ(dlg.Cell(3, 4), "Yes");
    EXPECT_EQ(dlg.CursorRow(), 2) << "the cursor stays where it was";

    // It has a project file to be found by at the next start, and shares it.
    EXPECT_EQ(ReadFile(ProjectFilePath(defaultDir)), "");
    WriteFile(ProjectFilePath(defaultDir), "/shared.txt\r\n");
    dlg.btnNew->click();
    EXPECT_EQ(Project(4).Name, "MyPrj-2") << "names may repeat";
    EXPECT_EQ(ReadFile(ProjectFilePath(defaultDir)), "/shared.txt\r\n");
}

TEST_F(ProjectsDialogTest, DoubleClickTogglesAutoBkUpAtOnceAndCancelKeepsIt)
{
    ui::TPrjDlg& dlg = Open();
    dlg.SetCursor(1, 3);
    dlg.strgrdPrjsDblClick();
    EXPECT_EQ(dlg.Cell(3, 1), "No");
    EXPECT_EQ(Project(0).AutoBkUp, 0);
    dlg.CancelBtn->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(Project(0).AutoBkUp, 0);

    dlg.SetCursor(2, 3);
    dlg.strgrdPrjsDblClick();
    EXPECT_EQ(Project(1).AutoBkUp, 1);
    EXPECT_EQ(dlg.Cell(3, 2), "Yes");
}

TEST_F(ProjectsDialogTest, DoubleClickOnADirectoryChoosesANewOne)
{
    const std::string save = world.App / "save";
    std::filesystem::create_directory(save);
    struct Case {
        std::vector<std::string> answer; // none: the dialog is cancelled
        std::string stored;              // empty: the directory is kept
        bool warned;
    };
    const Case cases[] = {
        {{save + "/"}, save, false},       {{save + "//"}, save, false},      {{}, "", false},
        {{save + "/new\nline"}, "", true}, {{save + "/new\rline"}, "", true},
    };
    ui::TPrjDlg& dlg = Open();
    const std::string before = Project(1).BackUpDir;
    for (const Case& c : cases) {
        Form().State().MoveProject(1, before);
        dlg.FillstrgrdPrj();
        world.Dialogs.Log.clear();
        world.Dialogs.Directories.assign(c.answer.begin(), c.answer.end());
        dlg.SetCursor(2, 2);
        dlg.strgrdPrjsDblClick();

        const std::string expected = c.stored.empty() ? before : c.stored;
        const std::string label = c.answer.empty() ? "cancelled" : c.answer.front();
        EXPECT_EQ(world.Dialogs.TextsOf("selectdir"), std::vector<std::string>{before}) << label;
        EXPECT_EQ(Project(1).BackUpDir, expected) << label;
        EXPECT_EQ(dlg.Cell(2, 2).toStdString(), expected) << label;
        EXPECT_EQ(world.Dialogs.TextsOf("warning").size(), c.warned ? 1u : 0u) << label;
    }
    // Without its list there the project would be gone at the next start.
    EXPECT_EQ(ReadFile(ProjectFilePath(save)), ReadFile(ProjectFilePath(before)));
}

TEST_F(ProjectsDialogTest, TypingOutsideTheNameColumnChangesNothing)
{
    ui::TPrjDlg& dlg = Open();
    for (int col : {2, 3}) {
        dlg.SetCursor(1, col);
        const QString before = dlg.Cell(col, 1);
        // "N" and "G" would also find rows by their first letter.
        QTest::keyClicks(dlg.strgrdPrjs, "NGx");
        EXPECT_EQ(dlg.Cell(col, 1), before) << col;
        EXPECT_EQ(dlg.CursorRow(), 1) << col;
        EXPECT_EQ(Editor(dlg), nullptr) << "no editor in column " << col;
    }
    EXPECT_EQ(Names(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(Project(0).AutoBkUp, 1);

    dlg.SetCursor(1, 1);
    QTest::keyClick(dlg.strgrdPrjs, Qt::Key_Z);
    EXPECT_NE(Editor(dlg), nullptr) << "names can be typed";
}

TEST_F(ProjectsDialogTest, ATypedNameIsKeptWholeWhicheverButtonCloses)
{
    for (QPushButton* ui::TPrjDlg::*button : {&ui::TPrjDlg::OKBtn, &ui::TPrjDlg::CancelBtn}) {
        ui::TPrjDlg& dlg = Open();
        TypeName(dlg, 2, "Renamed");
        // The editor is still open when the button is pressed.
        (dlg.*button)->click();
        EXPECT_EQ(Project(1).Name, "Renamed");
        Form().State().RenameProject(1, "Beta");
    }
    ui::TPrjDlg& dlg = Open();
    TypeName(dlg, 3, "Closed by the window");
    dlg.close();
    EXPECT_EQ(Project(2).Name, "Closed by the window");
}

TEST_F(ProjectsDialogTest, NamesWithALineBreakAreRefused)
{
    ui::TPrjDlg& dlg = Open();
    for (const char* name : {"Two\nlines", "Two\rlines", "\r\n"}) {
        dlg.strgrdPrjs->item(0, 1)->setText(QString::fromLatin1(name));
        EXPECT_EQ(Project(0).Name, "Alpha");
        EXPECT_EQ(dlg.Cell(1, 1), "Alpha") << "the cell takes the stored name back";
    }
    TypeName(dlg, 1, "Pasted\nname");
    dlg.OKBtn->click();
    EXPECT_EQ(Project(0).Name, "Alpha");
}

// Names in another encoding show replacement characters; only an edit may
// change their bytes.
TEST_F(ProjectsDialogTest, NamesNobodyEditedComeBackFromOkByteForByte)
{
    const std::vector<std::string> names = {"caf\xe9", "\xff\xfe\x80 and caf\xc3\xa9", "<b>caf\xc3\xa9</b>"};
    for (int i = 0; i < 3; ++i)
        Form().State().RenameProject(i, names[i]);
    ui::TPrjDlg& dlg = Open();
    dlg.SetCursor(1, 1);
    dlg.strgrdPrjsDblClick(); // puts the stored name back into the cell
    dlg.SetCursor(2, 3);
    dlg.strgrdPrjsDblClick(); // another column changed
    dlg.OKBtn->click();
    EXPECT_EQ(Names(), names);

    ui::TPrjDlg& again = Open();
    TypeName(again, 3, "Typed");
    again.OKBtn->click();
    EXPECT_EQ(Names(), (std::vector<std::string>{names[0], names[1], "Typed"}));
}

TEST_F(ProjectsDialogTest, DeleteAsksAndNoKeepsTheProject)
{
    ui::TPrjDlg& dlg = Open();
    dlg.SetCursor(2, 1);
    world.Dialogs.Answers = {false, true};
    dlg.btnDel->click();
    EXPECT_EQ(CountPrj(Form().State().ProjectList()), 3);
    dlg.btnDel->click();
    EXPECT_EQ(world.Dialogs.TextsOf("confirm"), std::vector<std::string>(2, "Are you sure to delete this project?"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Alpha", "Gamma"}));
    EXPECT_EQ(dlg.strgrdPrjs->rowCount(), 2);
    EXPECT_EQ(dlg.Cell(1, 2), "Gamma");
    EXPECT_EQ(dlg.Cell(0, 2), "2");
}

TEST_F(ProjectsDialogTest, DeletingTheCurrentProjectAndCancellingMakesTheHeadCurrent)
{
    ui::TMainForm& form = Form();
    ASSERT_TRUE(form.State().SelectProject(1));
    ui::TPrjDlg& dlg = Open();
    dlg.SetCursor(2, 1);
    dlg.btnDel->click();
    dlg.CancelBtn->click();
    EXPECT_EQ(form.State().CurrentIndex(), 0);
    EXPECT_EQ(form.State().Current().Name, "Alpha");
}

TEST_F(ProjectsDialogTest, WithEveryProjectDeletedNothingActsAndTheWindowMakesTheDefaultAgain)
{
    ui::TMainForm& form = Form();
    WhileModal<ui::TPrjDlg>([&] { form.OpenProject1Click(); },
                            [&](ui::TPrjDlg& dlg) {
                                for (int i = 0; i < 3; ++i)
                                    dlg.btnDel->click();
                                ASSERT_TRUE(form.State().ProjectList().empty());
                                EXPECT_EQ(dlg.CursorRow(), 0);
                                const auto asked = world.Dialogs.Log.size();
                                dlg.btnDel->click();
                                dlg.strgrdPrjsDblClick();
                                QTest::keyClicks(dlg.strgrdPrjs, "abc");
                                EXPECT_EQ(world.Dialogs.Log.size(), asked) << "nothing asked";
                                EXPECT_TRUE(form.State().ProjectList().empty());
                                dlg.OKBtn->click();
                            });
    ASSERT_EQ(CountPrj(form.State().ProjectList()), 1);
    EXPECT_EQ(form.State().ProjectList().front().Name, "MyPrj-1");
    EXPECT_EQ(&form.State().Current(), &form.State().ProjectList().front());
    EXPECT_EQ(form.Controls().cbxProjects->count(), 1);

    // New into the empty list starts again from row 1.
    WhileModal<ui::TPrjDlg>([&] { form.OpenProject1Click(); },
                            [&](ui::TPrjDlg& dlg) {
                                dlg.btnDel->click();
                                dlg.btnNew->click();
                                EXPECT_EQ(dlg.Cell(1, 1), "MyPrj-1");
                                dlg.CancelBtn->click();
                            });
    EXPECT_EQ(CountPrj(form.State().ProjectList()), 1);
}

TEST_F(ProjectsDialogTest, OkMakesTheCursorRowCurrentAndTheWindowShowsTheNewNames)
{
    ui::TMainForm& form = Form();
    WhileModal<ui::TPrjDlg>([&] { form.OpenProject1Click(); },
                            [&](ui::TPrjDlg& dlg) {
                                TypeName(dlg, 1, "First renamed");
                                dlg.SetCursor(3, 2);
                                dlg.OKBtn->click();
                            });
    EXPECT_EQ(&form.State().Current(), &Project(2));
    EXPECT_EQ(form.Controls().cbxProjects->itemText(0), "First renamed");
    EXPECT_EQ(form.Controls().cbxProjects->currentIndex(), 2);
    EXPECT_EQ(form.Controls().edTarget->text().toStdString(), Project(2).BackUpDir);
    EXPECT_EQ(form.State().SourceList().front().FileName, world.App / "sources-Gamma/c.txt");
}

TEST_F(ProjectsDialogTest, EditProjectsInTheMenuOpensTheDialog)
{
    ui::TMainForm& form = Form();
    WhileModal<ui::TPrjDlg>([&] { form.Controls().OpenProject1->trigger(); },
                            [&](ui::TPrjDlg& dlg) {
                                EXPECT_TRUE(dlg.isModal());
                                dlg.SetCursor(2, 1);
                                dlg.CancelBtn->click();
                            });
    EXPECT_EQ(&form.State().Current(), &Project(0)) << "Cancel picks no project";
}

} // namespace
} // namespace tarvok::test
