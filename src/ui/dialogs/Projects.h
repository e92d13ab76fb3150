#pragma once
#include "core/AppState.h"

#include <QDialog>
#include <QString>

#include <string>

class QFrame;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace tarvok::ui {

// The projects dialog. It edits the program's projects through AppState: New,
// Delete, a chosen directory, the AutoBkUp toggle and typed names take effect
// at once, whichever button closes it; OK also makes the project of the
// cursor row the current one. Rows name projects by position only, so a list
// emptied meanwhile leaves nothing to point into.
//
// The grid counts rows as a string grid does: row 0 is the fixed header
// row, rows 1..n are the projects; column 0 is the fixed numbering column.
class TPrjDlg : public QDialog {
    Q_OBJECT
public:
    TPrjDlg(AppState& state, Dialogs& dialogs, QWidget* parent = nullptr);

    void FormShow();
    void FillstrgrdPrj();
    void InitstrgrdPrj(int colCount, int rowCount, bool numbered);
    void btnNewClick();
    void btnDelClick();
    void strgrdPrjsDblClick();
    // False when the typed character is to be discarded.
    bool strgrdPrjsKeyPress(QChar key);
    void OKBtnClick();
    // Either button or the window's own close: an edit still open is kept.
    void done(int result) override;

    // The grid's cursor: row 1..n (0 when there are no projects), column 1..3.
    int CursorRow() const;
    int CursorCol() const;
    void SetCursor(int row, int col);
    QString Cell(int col, int row) const;

    QFrame* Panel1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QFrame* Panel3 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QTableWidget* strgrdPrjs = nullptr;
    QFrame* Panel2 = nullptr;
    QPushButton* btnNew = nullptr;
    QPushButton* btnDel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    // The project of the cursor row, if any, and its index.
    const PrjRec* CursorProject() const;
    int CursorIndex() const { return CursorRow() - 1; }
    void SetCell(int col, int row, const QString& text);
    void SetNameCell(int row, const std::string& name);
    // The name the cell holds, in the bytes it was filled with unless edited.
    std::string CellName(int row) const;
    // A name cell was changed: its project takes the name, unless it holds a
    // line break, which the cell refuses.
    void NameCellChanged(int row);
    // An edit still open in the grid is committed first.
    void FinishEdit();

    AppState& state_;
    Dialogs& dialogs_;
    bool filling_ = false;
};

} // namespace tarvok::ui
