// What the user sees and does in the two file lists and the text boxes:
// which mouse buttons and keys act on the lists, names that are not valid
// text, and which part of a long text shows.
#include "BackupTestWorld.h"
#include "ui/widgets/LocalText.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

namespace tarvok::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

QPoint CentreOf(const ui::LineList* list, int line) { return list->LineRect(line).center(); }

void SendMouse(ui::LineList* list, QEvent::Type type, Qt::MouseButton button, const QPoint& pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, list->viewport()->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &event);
}

void Click(ui::LineList* list, Qt::MouseButton button, const QPoint& pos)
{
    SendMouse(list, QEvent::MouseButtonPress, button, pos);
    SendMouse(list, QEvent::MouseButtonRelease, button, pos);
}

// Press, release, then the second press as a double-click and its release.
void DoubleClick(ui::LineList* list, Qt::MouseButton button, const QPoint& pos)
{
    Click(list, button, pos);
    SendMouse(list, QEvent::MouseButtonDblClick, button, pos);
    SendMouse(list, QEvent::MouseButtonRelease, button, pos);
}

std::vector<int> SelectedLines(const ui::LineList* list)
{
    std::vector<int> lines;
    for (int line = 0; line < list->count(); ++line)
        if (list->IsSelected(line))
            lines.push_back(line);
    return lines;
}

class ListAndTextTest : public BackupTest {
protected:
    // The window active and `widget` focused, so keys reach it as typed.
    void Focus(QWidget* widget)
    {
        Form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        widget->setFocus();
        ASSERT_TRUE(widget->hasFocus());
    }
};

// ---- List behaviour ---------------------------------------------------------

TEST_F(ListAndTextTest, OnlyTheLeftButtonsDoubleClickOpens)
{
    MakeSnapshot("01_02_08", {"a"});
    Form->State().AddSources({MakeSource("src", "s.txt", "")});
    Form->FilllbxSource(Form->State().SourceList());
    Form->ShowBkUpFolders(Backup);
    Select(Form->Controls().lbxTarget, {0});
    Select(Form->Controls().lbxSource, {0});
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        DoubleClick(Form->Controls().lbxTarget, button, CentreOf(Form->Controls().lbxTarget, 0));
        EXPECT_EQ(Form->State().BrowserMode(), BrowserMode::FolderView) << button;
        DoubleClick(Form->Controls().lbxSource, button, CentreOf(Form->Controls().lbxSource, 0));
        EXPECT_TRUE(Shell.Opened.empty()) << button;
    }
    DoubleClick(Form->Controls().lbxTarget, Qt::LeftButton, CentreOf(Form->Controls().lbxTarget, 0));
    EXPECT_EQ(Form->State().BrowserMode(), BrowserMode::FileView);
    DoubleClick(Form->Controls().lbxSource, Qt::LeftButton, CentreOf(Form->Controls().lbxSource, 0));
    EXPECT_EQ(Shell.Opened, Texts{Form->State().SourceList().front().FileName});
    EXPECT_TRUE(Dialogs.Log.empty());
}

TEST_F(ListAndTextTest, RightAndMiddlePressesKeepTheSelectionForTheNextCommand)
{
    MakeSnapshot("01_02_08", {"a", "b", "c"});
    OpenSnapshot("01_02_08");
    ui::LineList* list = Form->Controls().lbxTarget;
    Select(list, {0, 2});
    const std::string kept = GetFile(Form->State().BackupList(), 1)->FileName;
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        Click(list, button, CentreOf(list, 1));
        // Dragging with the button held selects nothing either.
        SendMouse(list, QEvent::MouseButtonPress, button, CentreOf(list, 0));
        SendMouse(list, QEvent::MouseMove, button, CentreOf(list, 1));
        SendMouse(list, QEvent::MouseButtonRelease, button, CentreOf(list, 1));
        EXPECT_EQ(SelectedLines(list), (std::vector<int>{0, 2})) << button;
    }
    Form->BtnDelBkUpClick();
    EXPECT_EQ(NamesOnDisk(Backup + "/01_02_08"), Texts{fs::path(kept).filename().string()});

    Form->Controls().lbxTarget->selectAll();
    Click(Form->Controls().lbxTarget, Qt::RightButton, {5, Form->Controls().lbxTarget->viewport()->height() - 3});
    EXPECT_TRUE(SelectedLines(Form->Controls().lbxTarget).empty()) << "a press of any button below the lines clears";
}

TEST_F(ListAndTextTest, CtrlASelectsOnlyWhileTheKeyStateHoldsCtrl)
{
    for (const char* name : {"beta", "alpha", "gamma"})
        Form->State().AddSources({MakeSource("src", name, "")});
    Form->FilllbxSource(Form->State().SourceList());
    ui::LineList* list = Form->Controls().lbxSource;
    Focus(list);

    // Ctrl is down, but the key state forgot it (a keyboard command cleared it).
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ControlModifier | Qt::ShiftModifier}) {
        QTest::simulateEvent(list, true, Qt::Key_A, modifiers, QStringLiteral("a"), false);
        EXPECT_TRUE(SelectedLines(list).empty()) << modifiers;
    }
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(SelectedLines(list), (std::vector<int>{0, 1, 2})) << "Ctrl pressed anew";

    // A plain letter still reaches the list, which goes to the line it starts.
    list->clearSelection();
    QTest::keyClick(list, Qt::Key_A);
    ASSERT_TRUE(list->currentIndex().isValid());
    EXPECT_EQ(list->Text(list->currentIndex().row()), "alpha");
}

TEST_F(ListAndTextTest, LongNamesAreCutWithoutAScrollBarTakingTheRows)
{
    MakeSnapshot("01_02_08", {std::string(200, 'x') + ".txt", "b"});
    OpenSnapshot("01_02_08");
    for (int line = 0; line < 30; ++line)
        Form->Controls().lbxSource->AddLines({std::string(120, static_cast<char>('a' + line % 26))});
    QApplication::processEvents();
    for (ui::LineList* list : {Form->Controls().lbxSource, Form->Controls().lbxTarget}) {
        QTest::keyClick(list, Qt::Key_End);
        QApplication::processEvents();
        EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
        EXPECT_EQ(list->horizontalScrollBar()->value(), 0) << "the start of the names stays in view";
        EXPECT_EQ(list->viewport()->height(), list->height() - 2 * list->frameWidth());
    }
}

// ---- Text round trip --------------------------------------------------------

TEST_F(ListAndTextTest, NamesThatAreNotValidTextFindTheirFiles)
{
    const std::string folder = "snap\xff\xfe";
    const std::string file = "f\xe9\xe8.txt";
    MakeSnapshot(folder, {file});
    MakeSnapshot("01_02_08", {"a"});
    Form->ShowBkUpFolders(Backup);
    ASSERT_EQ(Lines(Form->Controls().lbxTarget).front(), "01_02_08");
    const int line = 1;

    Form->lbxTargetMouseMove(CentreOf(Form->Controls().lbxTarget, line));
    EXPECT_EQ(Form->Controls().lbStatus->text(), ui::Local(Backup + "/" + folder));
    Select(Form->Controls().lbxTarget, {line});
    Form->lbxTargetDblClick();
    EXPECT_TRUE(Dialogs.Log.empty()) << Dialogs.Log.front().Text;
    ASSERT_EQ(Form->State().BrowserMode(), BrowserMode::FileView);
    Select(Form->Controls().lbxTarget, {0});
    Form->lbxTargetDblClick();
    EXPECT_EQ(Shell.Opened, Texts{Backup + "/" + folder + "/" + file});

    Form->btnBackPrjDirClick();
    Select(Form->Controls().lbxTarget, {line});
    Form->BtnDelBkUpClick();
    EXPECT_FALSE(fs::exists(Backup + "/" + folder));
    EXPECT_EQ(Lines(Form->Controls().lbxTarget), QStringList{"01_02_08"});
}

// ---- Text display -----------------------------------------------------------

TEST_F(ListAndTextTest, EditBoxesShowTheStartOfTheirText)
{
    const std::string deep = App / (std::string(60, 'd') + "/" + std::string(60, 'e'));
    fs::create_directories(deep);
    Form->State().ChangeBackupDir(deep);
    Form->State().SaveSchedule({2, 4, -1});
    Form->LoadCurrentPrj();
    QLineEdit* const day = Form->Controls().cbxDay->lineEdit();
    ASSERT_EQ(day->text(), "Thirsday");
    for (QLineEdit* edit : {Form->Controls().edTarget, Form->Controls().edBkUp, day})
        EXPECT_EQ(edit->cursorPosition(), 0) << edit->text().toStdString();

    // Showing the same path again, and a day picked from the list.
    Form->ShowBkUpFolders(deep);
    EXPECT_EQ(Form->Controls().edTarget->cursorPosition(), 0);
    Focus(Form->Controls().cbxDay);
    Form->Controls().cbxDay->setCurrentIndex(1);
    Form->Controls().cbxDay->setCurrentIndex(4);
    EXPECT_EQ(day->cursorPosition(), 0);
    // Typing an item's name chooses it, and the typing goes on at the end.
    day->clear();
    QTest::keyClicks(day, QStringLiteral("Monday"));
    ASSERT_EQ(Form->Controls().cbxDay->currentIndex(), 1);
    QTest::keyClicks(day, QStringLiteral("s"));
    EXPECT_EQ(day->text(), "Mondays");

    // While the user reads on in the box, the cursor stays where they put it.
    Focus(Form->Controls().edTarget);
    QTest::keyClick(Form->Controls().edTarget, Qt::Key_End);
    EXPECT_EQ(Form->Controls().edTarget->cursorPosition(), Form->Controls().edTarget->text().size());
}

} // namespace
} // namespace tarvok::test
