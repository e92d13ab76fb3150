#include "ui/dialogs/Projects.h"

#include "core/Dialogs.h"
#include "core/Settings.h"
#include "ui/shell/ErrorReport.h"
#include "ui/widgets/LocalText.h"
#include "ui/widgets/Look.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace tarvok::ui {
namespace {

const QColor FixedColour(34, 170, 170); // the value 11184674
using namespace look;
constexpr int ColumnWidths[] = {30, 100, 200, 50};
const char* const Headers[] = {"PrjNo", "Project Name", "BackUp Directory", "AutoBkUp"};

QString YesNo(uint8_t autoBkUp) { return autoBkUp ? QStringLiteral("Yes") : QStringLiteral("No"); }

QPushButton* Button(QWidget* parent, const char* caption, int left, int top)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setGeometry(left, top, 75, 25);
    return button;
}

QFrame* Panel(QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    return panel;
}

} // namespace

TPrjDlg::TPrjDlg(AppState& state, Dialogs& dialogs, QWidget* parent) : QDialog(parent), state_(state), dialogs_(dialogs)
{
    BuildControls();
    // An error ends the reaction in the error box; the dialog stays open.
    const auto reaction = [this](auto slot) { return ReportingErrors(dialogs_, std::move(slot)); };
    connect(OKBtn, &QPushButton::clicked, this, reaction([this] {
                OKBtnClick();
                accept();
            }));
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnNew, &QPushButton::clicked, this, reaction([this] { btnNewClick(); }));
    connect(btnDel, &QPushButton::clicked, this, reaction([this] { btnDelClick(); }));
    // A double click outside the cursor cell (on the numbering) does nothing.
    connect(strgrdPrjs, &QTableWidget::cellDoubleClicked, this, reaction([this](int row, int col) {
                if (row + 1 == CursorRow() && col == CursorCol())
                    strgrdPrjsDblClick();
            }));
    connect(strgrdPrjs, &QTableWidget::itemChanged, this, reaction([this](QTableWidgetItem* item) {
                if (!filling_ && item->column() == 1)
                    NameCellChanged(item->row() + 1);
            }));
    strgrdPrjs->installEventFilter(this);
}

void TPrjDlg::BuildControls()
{
    setWindowTitle(QStringLiteral("Projects List"));
    setFont(look::Font("MS Sans Serif", 11));
    setFixedSize(567, 444);
    look::CentreOnScreen(this);

    Panel1 = Panel(this);
    Panel1->setGeometry(0, 403, 567, 41);
    OKBtn = Button(Panel1, "OK", 199, 8);
    OKBtn->setDefault(true);
    CancelBtn = Button(Panel1, "Cancel", 295, 8);

    Panel3 = Panel(this);
    Panel3->setGeometry(0, 0, 567, 403);
    auto* panel3Layout = new QVBoxLayout(Panel3);
    panel3Layout->setContentsMargins(1, 1, 1, 1);
    PageControl1 = new QTabWidget(Panel3);
    panel3Layout->addWidget(PageControl1);
    PageControl1->setFont(look::Font("MS Sans Serif", 11));
    look::SetTextColour(PageControl1->tabBar(), Blue);

    TabSheet1 = new QWidget;
    PageControl1->addTab(TabSheet1, QStringLiteral("Projects List"));
    auto* sheetLayout = new QVBoxLayout(TabSheet1);
    sheetLayout->setContentsMargins(0, 0, 0, 0);
    sheetLayout->setSpacing(0);
    strgrdPrjs = new QTableWidget(TabSheet1);
    sheetLayout->addWidget(strgrdPrjs);
    Panel2 = Panel(TabSheet1);
    Panel2->setFixedHeight(41);
    look::SetPanelColour(Panel2, Navy);
    sheetLayout->addWidget(Panel2);
    btnNew = Button(Panel2, "New", 392, 8);
    btnNew->setFont(look::Font("MS Sans Serif", 11, true));
    look::SetTextColour(btnNew, Green);
    btnDel = Button(Panel2, "Delete", 472, 8);
    btnDel->setFont(look::Font("MS Sans Serif", 11, true));
    look::SetTextColour(btnDel, Red);

    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet2, QStringLiteral("Source Files"));
    PageControl1->tabBar()->setTabTextColor(1, Green);
    PageControl1->setCurrentIndex(0);

    // The header row is the fixed row; the numbering column is made of cells
    // that take no cursor. Texts start 2 pixels in and run up to the line.
    strgrdPrjs->verticalHeader()->hide();
    strgrdPrjs->verticalHeader()->setDefaultSectionSize(24);
    strgrdPrjs->horizontalHeader()->setStretchLastSection(false);
    strgrdPrjs->horizontalHeader()->setSectionsClickable(false);
    strgrdPrjs->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    strgrdPrjs->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: %1; border: 0; border-right: 1px solid black;"
                       " border-bottom: 1px solid black; padding: 0 0 0 2px; }")
            .arg(FixedColour.name()));
    strgrdPrjs->setShowGrid(true);
    strgrdPrjs->setSelectionMode(QAbstractItemView::ContiguousSelection);
    strgrdPrjs->setSelectionBehavior(QAbstractItemView::SelectItems);
    strgrdPrjs->setTabKeyNavigation(true);
    strgrdPrjs->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);

    // The grid has neither caption nor hint: its page names it.
    strgrdPrjs->setAccessibleName(QStringLiteral("Projects List"));

    // A name can be typed as soon as the dialog opens.
    setTabOrder(strgrdPrjs, btnNew);
    setTabOrder(btnNew, btnDel);
    setTabOrder(btnDel, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    strgrdPrjs->setFocus();
}

void TPrjDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TPrjDlg::FormShow() { FillstrgrdPrj(); }

void TPrjDlg::InitstrgrdPrj(int colCount, int rowCount, bool numbered)
{
    strgrdPrjs->setColumnCount(colCount);
    strgrdPrjs->setRowCount(std::max(0, rowCount - 1));
    for (int col = 0; col < colCount && col < 4; ++col) {
        strgrdPrjs->setColumnWidth(col, ColumnWidths[col]);
        SetCell(col, 0, QString::fromLatin1(Headers[col]));
    }
    if (!numbered)
        return;
    for (int row = 1; row < rowCount; ++row) {
        SetCell(0, row, QString::number(row));
        for (int col = 1; col < colCount; ++col)
            SetCell(col, row, QString());
    }
}

void TPrjDlg::FillstrgrdPrj()
{
    const int keepRow = CursorRow();
    const int keepCol = CursorCol();
    filling_ = true;
    const int count = CountPrj(state_.ProjectList());
    InitstrgrdPrj(4, count + 1, true);
    int row = 1;
    for (const PrjRec& project : state_.ProjectList()) {
        SetNameCell(row, project.Name);
        SetCell(2, row, Local(project.BackUpDir));
        SetCell(3, row, YesNo(project.AutoBkUp));
        ++row;
    }
    filling_ = false;
    if (count > 0)
        SetCursor(std::clamp(keepRow, 1, count), std::clamp(keepCol, 1, 3));
}

void TPrjDlg::btnNewClick()
{
    // Named after the cursor row, so names may repeat; the first project of
    // an empty list goes to row 1.
    state_.AddProject("MyPrj-" + std::to_string(std::max(1, CursorRow())));
    FillstrgrdPrj();
}

void TPrjDlg::btnDelClick()
{
    if (!CursorProject() || !dialogs_.Confirm("Are you sure to delete this project?"))
        return;
    state_.DeleteProject(CursorIndex());
    FillstrgrdPrj();
}

void TPrjDlg::strgrdPrjsDblClick()
{
    const PrjRec* project = CursorProject();
    if (!project)
        return;
    const int row = CursorRow();
    switch (CursorCol()) {
    case 1: SetNameCell(row, project->Name); break;
    case 2: {
        std::string chosen;
        if (!dialogs_.SelectDirectory(project->BackUpDir, chosen))
            return;
        if (HasLineBreak(chosen)) {
            dialogs_.Warning(LineBreakInDirectoryText);
            return;
        }
        state_.MoveProject(CursorIndex(), chosen);
        SetCell(2, row, Local(project->BackUpDir));
        break;
    }
    case 3:
        state_.ToggleAutoBackup(CursorIndex());
        SetCell(3, row, YesNo(project->AutoBkUp));
        break;
    default: break;
    }
}

bool TPrjDlg::strgrdPrjsKeyPress(QChar) { return CursorCol() == 1 && CursorProject(); }

bool TPrjDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == strgrdPrjs && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        // Only characters: Tab, the arrows and F2 keep their work.
        if (!text.isEmpty() && text.front().isPrint() && !strgrdPrjsKeyPress(text.front()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TPrjDlg::OKBtnClick()
{
    FinishEdit();
    if (CursorProject())
        state_.SelectProject(CursorIndex());
    const int rows = std::min(CountPrj(state_.ProjectList()), strgrdPrjs->rowCount());
    for (int row = 1; row <= rows; ++row)
        state_.RenameProject(row - 1, CellName(row));
}

void TPrjDlg::done(int result)
{
    FinishEdit();
    QDialog::done(result);
}

void TPrjDlg::FinishEdit()
{
    // A closed editor lingers hidden until it is deleted.
    for (QLineEdit* editor : strgrdPrjs->viewport()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
        if (!editor->isVisible())
            continue;
        QAbstractItemDelegate* delegate = strgrdPrjs->itemDelegate();
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TPrjDlg::NameCellChanged(int row)
{
    const PrjRec* project = GetPrj(state_.ProjectList(), row - 1);
    if (!project)
        return;
    const std::string name = CellName(row);
    if (!HasLineBreak(name)) {
        state_.RenameProject(row - 1, name);
        return;
    }
    QApplication::beep();
    SetNameCell(row, project->Name);
}

int TPrjDlg::CursorRow() const
{
    const int row = strgrdPrjs->currentRow();
    return row < 0 ? 0 : row + 1;
}

int TPrjDlg::CursorCol() const { return strgrdPrjs->currentColumn(); }

void TPrjDlg::SetCursor(int row, int col) { strgrdPrjs->setCurrentCell(row - 1, col); }

const PrjRec* TPrjDlg::CursorProject() const
{
    const int row = CursorRow();
    return row >= 1 && row <= strgrdPrjs->rowCount() ? GetPrj(state_.ProjectList(), row - 1) : nullptr;
}

QString TPrjDlg::Cell(int col, int row) const
{
    const QTableWidgetItem* item = row == 0 ? strgrdPrjs->horizontalHeaderItem(col) : strgrdPrjs->item(row - 1, col);
    return item ? item->text() : QString();
}

// A name that is not valid text shows replacement characters; the cell keeps
// the bytes it was filled with, so a name nobody edits comes back unchanged.
void TPrjDlg::SetNameCell(int row, const std::string& name)
{
    SetCell(1, row, Local(name));
    const bool wasFilling = std::exchange(filling_, true);
    strgrdPrjs->item(row - 1, 1)->setData(Qt::UserRole, QByteArray(name.data(), qsizetype(name.size())));
    filling_ = wasFilling;
}

std::string TPrjDlg::CellName(int row) const
{
    const QTableWidgetItem* item = strgrdPrjs->item(row - 1, 1);
    if (!item)
        return {};
    const QByteArray bytes = item->data(Qt::UserRole).toByteArray();
    std::string kept(bytes.constData(), size_t(bytes.size()));
    return item->text() == Local(kept) ? kept : FromLocal(item->text());
}

void TPrjDlg::SetCell(int col, int row, const QString& text)
{
    const bool wasFilling = std::exchange(filling_, true);
    if (row == 0) {
        strgrdPrjs->setHorizontalHeaderItem(col, new QTableWidgetItem(text));
    } else if (QTableWidgetItem* item = strgrdPrjs->item(row - 1, col)) {
        item->setText(text);
    } else {
        item = new QTableWidgetItem(text);
        if (col == 0) {
            item->setFlags(Qt::NoItemFlags);
            item->setBackground(FixedColour);
            item->setForeground(QColor(0, 0, 0));
        } else {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                           (col == 1 ? Qt::ItemIsEditable : Qt::NoItemFlags));
        }
        strgrdPrjs->setItem(row - 1, col, item);
    }
    filling_ = wasFilling;
}

} // namespace tarvok::ui
