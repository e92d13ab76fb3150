// The main window's controls: places, sizes, texts, hints, fonts, colours
// and tab order.
#include "core/Schedule.h"
#include "ui/main/Main.h"
#include "ui/shell/ProgramIcon.h"
#include "ui/skin/Glyphs.h"
#include "ui/widgets/LineList.h"
#include "ui/widgets/Look.h"
#include "ui/widgets/TextStart.h"
#include "ui/widgets/WorkBar.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QToolButton>

#include <string_view>

namespace tarvok::ui {
namespace {

using namespace look;

// The desktop's "active caption" and "3-D light" colours of old.
const QColor ActiveCaption(10, 36, 106);
const QColor Light3D(227, 227, 227);

// Rows of a fixed height in list boxes and drop-down lists.
class FixedHeightDelegate : public QStyledItemDelegate {
public:
    FixedHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), height_);
    }

private:
    int height_;
};

void SetFont(QWidget* widget, const QFont& font, const QColor& colour)
{
    widget->setFont(font);
    SetTextColour(widget, colour);
}

void SetBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(role, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QPushButton* Button(QWidget* parent, const char* text, const char* hint, Glyph glyph)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setToolTip(QString::fromLatin1(hint));
    button->setIcon(GlyphIcon(glyph));
    return button;
}

QLineEdit* ReadOnlyEdit(QWidget* parent, const char* text, const char* hint)
{
    auto* edit = new QLineEdit(QString::fromLatin1(text), parent);
    edit->setReadOnly(true);
    edit->setToolTip(QString::fromLatin1(hint));
    SetFont(edit, Font("MS Sans Serif", 13, true), Lime);
    SetBackground(edit, Black);
    ShowTextFromStart(edit);
    return edit;
}

LineList* FileListBox(QWidget* parent, const char* hint)
{
    auto* box = new LineList(parent);
    box->setToolTip(QString::fromLatin1(hint));
    box->setItemDelegate(new FixedHeightDelegate(16, box));
    // Long names are cut at the right edge; no scroll bar takes the rows.
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTextElideMode(Qt::ElideNone);
    SetFont(box, Font("Fixedsys", 11, false), Lime);
    SetBackground(box, ActiveCaption);
    box->AddLines({"File1 "});
    return box;
}

// An editable drop-down box showing `text` until an item is chosen.
QComboBox* EditableBox(QWidget* parent, const char* text, const QStringList& items, int itemHeight)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setItemDelegate(new FixedHeightDelegate(itemHeight, box));
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(QString::fromLatin1(text));
    return box;
}

QComboBox* ScheduleBox(QWidget* parent, const char* text, const char* hint, const QStringList& items)
{
    QComboBox* box = EditableBox(parent, text, items, 13);
    // These boxes are narrow: the text starts close to the edge, so an arrow
    // of the usual width still leaves "10:00" room.
    box->setStyleSheet(QStringLiteral("QComboBox { padding: 0px 0px 0px 1px; } QComboBox::drop-down { width: 15px; }"));
    box->setToolTip(QString::fromLatin1(hint));
    SetFont(box, Font("MS Sans Serif", 11, false), Yellow);
    // Under a style sheet the edit field no longer takes the box's font.
    box->lineEdit()->setFont(box->font());
    SetBackground(box, Green);
    // A box the period leaves unused says so: grey text on a darker green.
    QPalette palette = box->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, Silver);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(QPalette::Disabled, role, Green.darker(200));
    box->setPalette(palette);
    ShowTextFromStart(box);
    return box;
}

QLabel* Caption(QWidget* parent, const char* text)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    SetFont(label, Font("Arial", 11, true), Blue);
    return label;
}

template <typename Texts> QStringList Items(const Texts& texts)
{
    QStringList items;
    for (const std::string_view text : texts)
        items << QString::fromLatin1(text.data(), qsizetype(text.size()));
    return items;
}

} // namespace

void TMainForm::BuildControls()
{
    setWindowTitle(QStringLiteral("Tarvok"));
    setWindowIcon(ProgramIcon());
    move(225, 143);
    resize(700, 500);
    SetFont(this, Font("MS Sans Serif", 13, true), Navy);

    for (QLabel** image : {&MenuImage, &MinImage, &CloseImage})
        *image = new QLabel(this);
    Place(MenuImage, 96, 30, 32, 32);
    Place(MinImage, 536, 30, 32, 32);
    Place(CloseImage, 574, 30, 32, 32);
    // Pictures without hints: named after what they open or do.
    MenuImage->setAccessibleName(QStringLiteral("Menu"));
    MinImage->setAccessibleName(QStringLiteral("Hide Tarvok"));
    CloseImage->setAccessibleName(QStringLiteral("Exit"));

    const QFont buttonFont = Font("Arial", 11, true);
    btnAdd = Place(Button(this, "Add     ", "Add BackUp Sourece Files", Glyph::Tick), 299, 137, 68, 25);
    btnDelete = Place(Button(this, "Delete", "Delete BackUp Source Files", Glyph::BlueCross), 299, 163, 68, 25);
    btnselDir = Place(Button(this, "Change", "Select BackUp Target Directory", Glyph::OpenFolder), 338, 302, 68, 23);
    btnRestore = Place(Button(this, "Restore", "Restore BackUp Files", Glyph::ArrowsLeft), 338, 250, 68, 25);
    BtnDelBkUp = Place(Button(this, "Delete   ", "Delete BackUp Files", Glyph::RedYellowCross), 338, 276, 68, 25);
    btnBackUp =
        Place(Button(this, "BackUp", "Backup To Selected Project Directory", Glyph::ArrowsRight), 299, 112, 68, 24);
    for (QPushButton* button : {btnAdd, btnDelete, btnBackUp})
        SetFont(button, buttonFont, Navy);
    for (QPushButton* button : {btnselDir, btnRestore, BtnDelBkUp})
        SetFont(button, buttonFont, Green);

    pnlAutoBkUp = Place(new QFrame(this), 95, 353, 513, 48);
    pnlAutoBkUp->setFrameStyle(QFrame::Box | QFrame::Plain);
    SetBackground(pnlAutoBkUp, Lime);
    cbxBkupType = Place(ScheduleBox(pnlAutoBkUp, "Period", "Select BackUp Period", Items(PeriodNames)), 5, 18, 68, 21);
    cbxDay = Place(ScheduleBox(pnlAutoBkUp, "Day", "Select Day", {}), 75, 18, 64, 21);
    cbxTime = Place(ScheduleBox(pnlAutoBkUp, "Time", "Select Time", Items(TimeBoxItems())), 142, 18, 51, 21);
    StaticText1 = Place(Caption(pnlAutoBkUp, "BkUp Period"), 8, 2, 71, 18);
    StaticText2 = Place(Caption(pnlAutoBkUp, "Day"), 101, 2, 23, 18);
    StaticText3 = Place(Caption(pnlAutoBkUp, "Time"), 149, 2, 32, 18);
    btnSetTime = Place(Button(pnlAutoBkUp, "Apply ", "Apply The New BackUp Time", Glyph::Funnel), 214, 17, 71, 22);
    SetFont(btnSetTime, Font("MS Sans Serif", 11, true), Blue);

    ImageList1 = {QIcon(GlyphPixmap(Glyph::RedYellowCross)),
                  QIcon(GlyphPixmap(Glyph::Pause)),
                  QIcon(GlyphPixmap(Glyph::Play)),
                  QIcon(GlyphPixmap(Glyph::BlueCross)),
                  QIcon(GlyphPixmap(Glyph::CrossWithTick)),
                  QIcon(GlyphPixmap(Glyph::Tick)),
                  QIcon(GlyphPixmap(Glyph::Stop))};
    ToolBar1 = Place(new QWidget(pnlAutoBkUp), 304, 18, 204, 22);
    tbtnStop = Place(new QToolButton(ToolBar1), 0, 0, 23, 22);
    tbtnRun = Place(new QToolButton(ToolBar1), 23, 0, 23, 22);
    auto* runStop = new QButtonGroup(ToolBar1);
    for (QToolButton* button : {tbtnStop, tbtnRun}) {
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        runStop->addButton(button);
    }
    tbtnStop->setIcon(ImageList1[6]);
    tbtnStop->setToolTip(QStringLiteral("Stop Auto BackUp"));
    tbtnRun->setIcon(ImageList1[2]);
    tbtnRun->setToolTip(QStringLiteral("Run Auto BackUp"));
    lblAutobkup = Place(new QLabel(QStringLiteral("Auto Bkup Disabled"), ToolBar1), 46, 0, 147, 22);
    lblAutobkup->setAlignment(Qt::AlignCenter);
    lblAutobkup->setToolTip(QStringLiteral("Auto BackUp Status"));
    SetFont(lblAutobkup, Font("Times New Roman", 11, true), Yellow);
    SetBackground(lblAutobkup, ActiveCaption);

    // The panel's own caption lies hidden under the clock line, which sits in
    // the middle of the sunken edge so the panel shows as much face on
    // every side.
    pnlClock = Place(new QLabel(QStringLiteral("pnlClock"), this), 178, 30, 349, 33);
    pnlClock->setAlignment(Qt::AlignCenter);
    pnlClock->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlClock->setLineWidth(2);
    SetBackground(pnlClock, Light3D);
    QRect clockLine(0, 0, 341, 26);
    clockLine.moveCenter(pnlClock->contentsRect().center());
    lblClock = Place(new QLabel(QStringLiteral("Clock"), pnlClock), clockLine.x(), clockLine.y(), 341, 26);
    lblClock->setAlignment(Qt::AlignCenter);
    SetFont(lblClock, Font("Arial", 13, false), White);
    SetBackground(lblClock, Black);

    lbxSource = Place(FileListBox(this, "Source Files "), 96, 111, 200, 191);
    lbxTarget = Place(FileListBox(this, "BackUp Files"), 408, 111, 201, 191);
    edTarget = Place(ReadOnlyEdit(this, "Target Directory", "BackUp Target Directory"), 408, 301, 201, 24);

    stTarget = Place(new QLabel(QStringLiteral("Back-Up Files"), this), 408, 90, 175, 20);
    stTarget->setAlignment(Qt::AlignCenter);
    stTarget->setFrameStyle(QFrame::Box | QFrame::Plain);
    SetFont(stTarget, Font("MS Sans Serif", 13, true), Aqua);
    SetBackground(stTarget, Navy);

    lbStatus = Place(new QLabel(this), 96, 327, 511, 25);
    lbStatus->setAlignment(Qt::AlignCenter);
    lbStatus->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetFont(lbStatus, Font("MS Sans Serif", 13, true), White);
    SetBackground(lbStatus, Black);
    pbWork = Place(new WorkBar(this, White, Black), 99, 346, 505, 3);
    pbWork->hide();

    btnBackPrjDir = Place(new QPushButton(this), 585, 90, 23, 20);
    btnBackPrjDir->setToolTip(QStringLiteral("Back to upper Directory"));
    btnBackPrjDir->setIcon(GlyphIcon(Glyph::FolderTree));

    cbxProjects = Place(EditableBox(this, "Select a Project", {}, 16), 96, 88, 201, 24);
    SetFont(cbxProjects, Font("MS Sans Serif", 13, true), Aqua);
    SetBackground(cbxProjects, Navy);

    edBkUp = Place(ReadOnlyEdit(this, "AutoBackUp On", "BackUp Target Directory"), 96, 301, 200, 24);

    SetTabOrder();
    cbxProjects->setAccessibleName(QStringLiteral("Select a Project"));
    NameControlsByHints(this);
}

void TMainForm::SetTabOrder()
{
    QWidget* const order[] = {btnAdd,      btnDelete,     btnselDir,   btnRestore, BtnDelBkUp, btnBackUp,
                              cbxBkupType, cbxDay,        cbxTime,     btnSetTime, lbxSource,  lbxTarget,
                              edTarget,    btnBackPrjDir, cbxProjects, edBkUp};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace tarvok::ui
