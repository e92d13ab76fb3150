#pragma once
#include <QDialog>
#include <QString>

#include "core/DirectoryChoice.h"

#include <string>
#include <vector>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;
class QWidget;

namespace tarvok {
class Dialogs;
}

namespace tarvok::ui {

// The modal "Select Directory" dialog: a directory name box, a directory
// tree, the files of the shown directory, the mounted file systems, and OK,
// Cancel and Help. The name box may hold a directory that does not exist
// yet; OK then asks whether to create it.
class SelectDirectoryDialog : public QDialog {
    Q_OBJECT
public:
    SelectDirectoryDialog(QWidget* parent, const std::string& start, Dialogs& dialogs);

    // The directory the user accepted, absolute and without a trailing '/'.
    const std::string& Chosen() const { return chosen_; }
    // The directory the tree and the file list show.
    QString ShownDirectory() const { return shown_; }
    void ShowDirectory(const QString& dir);

    QLineEdit* NameBox() const { return nameBox_; }
    QTreeView* Tree() const { return tree_; }
    QListWidget* Files() const { return files_; }
    QComboBox* FileSystems() const { return fileSystems_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* HelpButton() const { return help_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The shown directory scrolled to the middle of the tree, its parents
    // expanded.
    void KeepShownInView();
    void OkClicked();
    void HelpClicked();
    void FillFileSystems();
    void SelectFileSystemOf(const QString& dir);
    void FillFiles(const QString& dir);
    QString TypedDirectory() const;

    Dialogs& dialogs_;
    std::vector<MountPoint> mounts_;
    QString shown_;
    std::string chosen_;
    QFileSystemModel* model_;
    QLineEdit* nameBox_;
    QTreeView* tree_;
    QListWidget* files_;
    QComboBox* fileSystems_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* help_;
    bool followShown_ = true; // until the user moves in the tree
};

// Shows the dialog modally, opened on `start` (empty: the current
// directory). True and `chosen` when the user accepted.
bool ExecuteSelectDirectoryDialog(QWidget* parent, const std::string& start, std::string& chosen, Dialogs& dialogs);

} // namespace tarvok::ui
