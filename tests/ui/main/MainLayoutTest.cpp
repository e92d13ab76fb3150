#include "MainTestWorld.h"
#include "ui/widgets/LineList.h"
#include "ui/widgets/Look.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

namespace tarvok::test {
namespace {

QString TextOf(const QWidget* widget)
{
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto* box = qobject_cast<const QComboBox*>(widget))
        return box->currentText();
    return QString();
}

// Submenus as "Caption>" followed by their items, separators as "-".
QStringList Captions(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            captions << QStringLiteral("-");
        else if (action->menu())
            captions << action->text() + ">" << Captions(action->menu()) << QStringLiteral("<");
        else
            captions << action->text();
    }
    return captions;
}

class MainLayoutTest : public ::testing::Test {
protected:
    MainWorld world;
    ui::TMainForm& form = world.Create();
    const ui::MainControls& c = form.Controls();
};

TEST_F(MainLayoutTest, TheWindowItself)
{
    EXPECT_EQ(form.windowTitle(), "Tarvok");
    EXPECT_EQ(form.geometry(), QRect(225, 143, 700, 500));
    EXPECT_EQ(form.font().family(), "MS Sans Serif");
    EXPECT_EQ(form.font().pixelSize(), 13);
    EXPECT_TRUE(form.font().bold());
    EXPECT_EQ(form.palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_FALSE(form.windowIcon().isNull());
}

TEST_F(MainLayoutTest, ControlsStandWhereTheyBelongWithTheirTextsAndHints)
{
    struct Row {
        QWidget* Control;
        QRect Place;
        const char* Text;
        const char* Hint;
    };
    const Row rows[] = {
        {c.MenuImage, {96, 30, 32, 32}, "", ""},
        {c.MinImage, {536, 30, 32, 32}, "", ""},
        {c.CloseImage, {574, 30, 32, 32}, "", ""},
        {c.btnAdd, {299, 137, 68, 25}, "Add     ", "Add BackUp Sourece Files"},
        {c.btnDelete, {299, 163, 68, 25}, "Delete", "Delete BackUp Source Files"},
        {c.btnselDir, {338, 302, 68, 23}, "Change", "Select BackUp Target Directory"},
        {c.btnRestore, {338, 250, 68, 25}, "Restore", "Restore BackUp Files"},
        {c.BtnDelBkUp, {338, 276, 68, 25}, "Delete   ", "Delete BackUp Files"},
        {c.btnBackUp, {299, 112, 68, 24}, "BackUp", "Backup To Selected Project Directory"},
        {c.pnlAutoBkUp, {95, 353, 513, 48}, "", ""},
        {c.pnlClock, {178, 30, 349, 33}, "pnlClock", ""},
        {c.lbxSource, {96, 111, 200, 191}, "", "Source Files "},
        {c.lbxTarget, {408, 111, 201, 191}, "", "BackUp Files"},
        {c.edTarget, {408, 301, 201, 24}, "Target Directory", "BackUp Target Directory"},
        {c.stTarget, {408, 90, 175, 20}, "Back-Up Files", ""},
        {c.lbStatus, {96, 327, 511, 25}, "", ""},
        {c.btnBackPrjDir, {585, 90, 23, 20}, "", "Back to upper Directory"},
        {c.cbxProjects, {96, 88, 201, 24}, "Select a Project", ""},
        {c.edBkUp, {96, 301, 200, 24}, "AutoBackUp On", "BackUp Target Directory"},
        {c.cbxBkupType, {5, 18, 68, 21}, "Period", "Select BackUp Period"},
        {c.cbxDay, {75, 18, 64, 21}, "Day", "Select Day"},
        {c.cbxTime, {142, 18, 51, 21}, "Time", "Select Time"},
        {c.StaticText1, {8, 2, 71, 18}, "BkUp Period", ""},
        {c.StaticText2, {101, 2, 23, 18}, "Day", ""},
        {c.StaticText3, {149, 2, 32, 18}, "Time", ""},
        {c.btnSetTime, {214, 17, 71, 22}, "Apply ", "Apply The New BackUp Time"},
        {c.ToolBar1, {304, 18, 204, 22}, "", ""},
        {c.tbtnStop, {0, 0, 23, 22}, "", "Stop Auto BackUp"},
        {c.tbtnRun, {23, 0, 23, 22}, "", "Run Auto BackUp"},
        {c.lblAutobkup, {46, 0, 147, 22}, nullptr, "Auto BackUp Status"}, // text set at creation
        {c.lblClock, {4, 4, 341, 26}, "Clock", ""},                       // in the middle of the panel's 2-pixel edge
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Control->metaObject()->className());
        ASSERT_NE(row.Control, nullptr);
        EXPECT_EQ(row.Control->geometry(), row.Place);
        if (row.Text) {
            EXPECT_EQ(TextOf(row.Control), row.Text);
        }
        EXPECT_EQ(row.Control->toolTip(), row.Hint);
    }
    QWidget* const scheduleControls[] = {c.cbxBkupType, c.cbxDay, c.cbxTime, c.btnSetTime};
    for (QWidget* child : scheduleControls)
        EXPECT_EQ(child->parentWidget(), c.pnlAutoBkUp);
    EXPECT_EQ(c.lblClock->parentWidget(), c.pnlClock);
    EXPECT_EQ(c.tbtnRun->parentWidget(), c.ToolBar1);
}

TEST_F(MainLayoutTest, FontsAndColoursAreAskedForByName)
{
    struct Row {
        QWidget* Control;
        const char* Family;
        int Pixels;
        bool Bold;
        QColor Text;
    };
    const Row rows[] = {
        {c.btnAdd, "Arial", 11, true, QColor(0, 0, 128)},
        {c.btnRestore, "Arial", 11, true, QColor(0, 128, 0)},
        {c.lbxSource, "Fixedsys", 11, false, QColor(0, 255, 0)},
        {c.edTarget, "MS Sans Serif", 13, true, QColor(0, 255, 0)},
        {c.stTarget, "MS Sans Serif", 13, true, QColor(0, 255, 255)},
        {c.lbStatus, "MS Sans Serif", 13, true, QColor(255, 255, 255)},
        {c.cbxProjects, "MS Sans Serif", 13, true, QColor(0, 255, 255)},
        {c.cbxTime, "MS Sans Serif", 11, false, QColor(255, 255, 0)},
        {c.StaticText2, "Arial", 11, true, QColor(0, 0, 255)},
        {c.btnSetTime, "MS Sans Serif", 11, true, QColor(0, 0, 255)},
        {c.lblClock, "Arial", 13, false, QColor(255, 255, 255)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Family);
        EXPECT_EQ(row.Control->font().family(), row.Family);
        EXPECT_EQ(row.Control->font().pixelSize(), row.Pixels);
        EXPECT_EQ(row.Control->font().bold(), row.Bold);
        EXPECT_EQ(row.Control->palette().color(row.Control->foregroundRole()), row.Text);
    }
    EXPECT_EQ(c.pnlAutoBkUp->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(c.edBkUp->palette().color(QPalette::Base), QColor(0, 0, 0));
    EXPECT_EQ(c.stTarget->palette().color(QPalette::Window), QColor(0, 0, 128));
    EXPECT_EQ(c.lblAutobkup->font().family(), "Times New Roman");
    EXPECT_EQ(c.lblAutobkup->font().pixelSize(), 11);
}

// The panel shows as much of its face around the clock line on every side,
// and the schedule boxes' arrows are wide enough to hit, beside "10:00".
TEST_F(MainLayoutTest, ClockBevelIsEvenAndScheduleArrowsLeaveTheTextRoom)
{
    const QImage panel = c.pnlClock->grab().toImage();
    const auto untilBlack = [&](QPoint from, QPoint step) {
        int count = 0;
        for (QPoint at = from; panel.rect().contains(at) && panel.pixelColor(at) != Qt::black; at += step)
            ++count;
        return count;
    };
    const int midX = c.lblClock->geometry().left() + 3;
    const int midY = panel.height() / 2;
    EXPECT_EQ(untilBlack({0, midY}, {1, 0}), untilBlack({panel.width() - 1, midY}, {-1, 0}));
    EXPECT_NEAR(untilBlack({midX, 0}, {0, 1}), untilBlack({midX, panel.height() - 1}, {0, -1}), 1);

    for (QComboBox* box : {c.cbxBkupType, c.cbxDay, c.cbxTime}) {
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.editable = true;
        const QRect arrow = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, box);
        EXPECT_GE(arrow.width(), 13);
        EXPECT_LT(box->lineEdit()->geometry().right(), arrow.left());
    }
    // A line edit keeps 2 pixels either side of its text.
    const QLineEdit* time = c.cbxTime->lineEdit();
    EXPECT_LE(QFontMetrics(time->font()).horizontalAdvance(QStringLiteral("10:00")) + 2 * 2, time->width());
}

// Neither the yellow text nor the green face of a box in use.
TEST_F(MainLayoutTest, ADisabledScheduleBoxLooksDisabled)
{
    const auto pixels = [](const QImage& image, const std::function<bool(QColor)>& which) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += which(image.pixelColor(x, y));
        return count;
    };
    // Smoothed letters have few pixels of the pure colour.
    const auto yellowish = [](QColor p) { return p.red() > 160 && p.green() > 160 && p.blue() < 90; };
    const auto face = [](QColor p) { return p == ui::look::Green; };
    for (QComboBox* box : {c.cbxBkupType, c.cbxTime}) {
        box->setCurrentIndex(1);
        for (bool enabled : {true, false}) {
            box->setEnabled(enabled);
            const QImage image = box->grab().toImage();
            EXPECT_EQ(pixels(image, yellowish) > 0, enabled) << box->currentText().toStdString() << enabled;
            EXPECT_EQ(pixels(image, face) > 0, enabled) << box->currentText().toStdString() << enabled;
        }
    }
}

TEST_F(MainLayoutTest, BoxesHoldTheirItems)
{
    ASSERT_EQ(c.cbxBkupType->count(), 4);
    EXPECT_EQ(c.cbxBkupType->itemText(3), "Monthly");
    ASSERT_EQ(c.cbxTime->count(), 24);
    EXPECT_EQ(c.cbxTime->itemText(0), " 0:00");
    EXPECT_EQ(c.cbxTime->itemText(23), "23:00");
    EXPECT_EQ(c.cbxDay->count(), 0);
    EXPECT_EQ(c.lbxSource->Text(0), "File1 ");
    EXPECT_EQ(c.lbxTarget->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(c.edTarget->isReadOnly());
    EXPECT_TRUE(c.cbxProjects->isEditable());
    EXPECT_EQ(c.ImageList1.size(), 7u);
}

TEST_F(MainLayoutTest, TabGoesThroughTheControlsInOrder)
{
    const QWidget* expected[] = {c.btnAdd,      c.btnDelete,     c.btnselDir,   c.btnRestore, c.BtnDelBkUp, c.btnBackUp,
                                 c.cbxBkupType, c.cbxDay,        c.cbxTime,     c.btnSetTime, c.lbxSource,  c.lbxTarget,
                                 c.edTarget,    c.btnBackPrjDir, c.cbxProjects, c.edBkUp};
    QWidget* widget = c.btnAdd;
    for (size_t i = 1; i < std::size(expected); ++i) {
        do
            widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus || widget->focusProxy() || !widget->isEnabled());
        EXPECT_EQ(widget, expected[i]) << "tab stop " << i;
    }
}

TEST_F(MainLayoutTest, TheMainMenuIsComplete)
{
    EXPECT_EQ(Captions(c.filemenu), QStringList({"File>",
                                                 "Edit Projects",
                                                 "<",
                                                 "-",
                                                 "Edit>",
                                                 "Add Source Files",
                                                 "Delete Selected Source Files",
                                                 "BackUp All",
                                                 "-",
                                                 "Restore Selected Files",
                                                 "Delete Selected Backup Files",
                                                 "Select BackUp Directory",
                                                 "<",
                                                 "-",
                                                 "Display>",
                                                 "Hide Tarvok",
                                                 "-",
                                                 "Random Skin",
                                                 "-",
                                                 "Change Skin",
                                                 "Timely Change Skin",
                                                 "Default Skin",
                                                 "-",
                                                 "Transparent Window",
                                                 "Opaque Window",
                                                 "Rounded Window",
                                                 "-",
                                                 "Componets Hide/Show",
                                                 "<",
                                                 "-",
                                                 "Tools>",
                                                 "Set current Skin as Wall Paper",
                                                 "Clear Wall Paper",
                                                 "-",
                                                 "Auto StartUp by Windows",
                                                 "Disable Auto StarUp",
                                                 "-",
                                                 "Dos Mode",
                                                 "<",
                                                 "-",
                                                 "About",
                                                 "-",
                                                 "Exit"}));
    EXPECT_TRUE(c.TimelyChange1->isChecked());
    EXPECT_TRUE(c.RandomSkin1->isCheckable());
}

} // namespace
} // namespace tarvok::test
