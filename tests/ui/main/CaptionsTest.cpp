// What the user reads and what a screen reader reads: every caption of the
// main window and its two dialogs shows whole at the layout's sizes, and
// every control has a name.
#include "MainTestWorld.h"
#include "ui/dialogs/Aboutdlg.h"
#include "ui/dialogs/Projects.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionHeader>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

namespace tarvok::test {
namespace {

// One caption: the width its font needs and the width its control gives it.
struct Fit {
    QString Text;
    int Need;
    int Room;
};

QString WithoutMnemonic(QString text) { return text.remove(QRegularExpression(QStringLiteral("&(?!&)"))); }

Fit LabelFit(const QLabel& label)
{
    const QFontMetrics metrics(label.font());
    int room = label.contentsRect().width() - 2 * label.margin();
    // A framed label without its own indent keeps half an 'x' from the edge it is aligned to.
    if (label.indent() < 0 && label.frameWidth() > 0 && !(label.alignment() & Qt::AlignHCenter))
        room -= metrics.horizontalAdvance(QLatin1Char('x')) / 2;
    return {label.text(), metrics.horizontalAdvance(label.text()), room};
}

// The picture and the text stand side by side, 4 pixels apart, inside the
// button's frame.
Fit ButtonFit(const QPushButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.icon = button.icon();
    option.iconSize = button.iconSize();
    if (button.autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    const QRect contents = button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    const QString text = WithoutMnemonic(button.text());
    const int picture = button.icon().isNull() ? 0 : button.icon().actualSize(button.iconSize()).width() + 4;
    return {text, QFontMetrics(button.font()).horizontalAdvance(text) + picture, contents.width()};
}

void AddTabFits(const QTabBar& tabs, std::vector<Fit>& fits)
{
    const int padding = tabs.style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, &tabs);
    for (int i = 0; i < tabs.count(); ++i) {
        const QString text = WithoutMnemonic(tabs.tabText(i));
        fits.push_back({text, QFontMetrics(tabs.font()).horizontalAdvance(text), tabs.tabRect(i).width() - padding});
    }
}

void AddHeaderFits(const QHeaderView& header, std::vector<Fit>& fits)
{
    for (int section = 0; section < header.count(); ++section) {
        QStyleOptionHeader option;
        option.initFrom(&header);
        option.section = section;
        option.text = header.model()->headerData(section, header.orientation()).toString();
        option.rect = QRect(0, 0, header.sectionSize(section), header.height());
        const QRect label = header.style()->subElementRect(QStyle::SE_HeaderLabel, &option, &header);
        fits.push_back({option.text, QFontMetrics(header.font()).horizontalAdvance(option.text), label.width()});
    }
}

std::vector<Fit> Fits(const QWidget& window)
{
    std::vector<Fit> fits;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (const auto* label = qobject_cast<const QLabel*>(control); label && !label->text().isEmpty())
            fits.push_back(LabelFit(*label));
        else if (const auto* button = qobject_cast<const QPushButton*>(control); button && !button->text().isEmpty())
            fits.push_back(ButtonFit(*button));
        else if (const auto* tabs = qobject_cast<const QTabBar*>(control))
            AddTabFits(*tabs, fits);
        else if (const auto* header = qobject_cast<const QHeaderView*>(control); header && header->isVisible())
            AddHeaderFits(*header, fits);
    }
    return fits;
}

// Containers hold controls; every other node is a control the user meets,
// read as a whole with its parts (a list's rows, a box's edit field). A
// label that shows nothing has nothing to read.
bool IsContainer(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Client:
    case QAccessible::Pane:
    case QAccessible::LayeredPane:
    case QAccessible::Grouping:
    case QAccessible::Border:
    case QAccessible::Window:
    case QAccessible::Dialog:
    case QAccessible::PageTabList: return true;
    default: return false;
    }
}

bool ShowsNothing(const QObject* object)
{
    const auto* label = qobject_cast<const QLabel*>(object);
    return label && label->text().isEmpty() && label->pixmap().isNull();
}

void WalkControls(QAccessibleInterface* node, const std::function<void(QAccessibleInterface*)>& visit)
{
    if (!node || node->role() == QAccessible::ScrollBar || ShowsNothing(node->object()))
        return;
    if (!IsContainer(node->role())) {
        visit(node);
        return;
    }
    for (int i = 0; i < node->childCount(); ++i)
        WalkControls(node->child(i), visit);
}

// The main window shown, then the projects dialog on two projects and the
// About window, each shown.
class CaptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        world.WriteSettings({0, -1, 1}, {world.MakeProject("Alpha", {"a.txt"}), world.MakeProject("Beta", {})});
        world.Create().show();
        projects = std::make_unique<ui::TPrjDlg>(world.Form->State(), world.Dialogs);
        projects->show();
        about = std::make_unique<ui::TAboutBox>(world.Shell);
        about->show();
        for (QWidget* window : Windows())
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }

    std::vector<QWidget*> Windows() { return {world.Form.get(), projects.get(), about.get()}; }

    MainWorld world;
    std::unique_ptr<ui::TPrjDlg> projects;
    std::unique_ptr<ui::TAboutBox> about;
};

TEST_F(CaptionsTest, EveryCaptionShowsWhole)
{
    // The status label's two texts after Stop and Run as well as the first one.
    const ui::MainControls& c = world.Form->Controls();
    for (QToolButton* press : {static_cast<QToolButton*>(nullptr), c.tbtnStop, c.tbtnRun}) {
        if (press)
            press->click();
        for (QWidget* window : Windows()) {
            for (const Fit& fit : Fits(*window))
                EXPECT_LE(fit.Need, fit.Room)
                    << window->windowTitle().toStdString() << ": \"" << fit.Text.toStdString() << "\" is cut";
        }
    }
}

TEST_F(CaptionsTest, EveryControlHasANameForScreenReaders)
{
    for (QWidget* window : Windows()) {
        int controls = 0;
        WalkControls(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface* control) {
            ++controls;
            const QObject* object = control->object();
            EXPECT_FALSE(control->text(QAccessible::Name).trimmed().isEmpty())
                << window->windowTitle().toStdString() << ": " << (object ? object->metaObject()->className() : "?")
                << " at " << control->rect().x() << "," << control->rect().y() << " has no name";
        });
        EXPECT_GT(controls, 3) << window->windowTitle().toStdString();
    }
    // Pictures go by their hints.
    EXPECT_EQ(world.Form->Controls().btnBackPrjDir->accessibleName(), "Back to upper Directory");
    EXPECT_EQ(world.Form->Controls().tbtnRun->accessibleName(), "Run Auto BackUp");
}

} // namespace
} // namespace tarvok::test
