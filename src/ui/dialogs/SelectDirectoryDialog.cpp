#include "ui/dialogs/SelectDirectoryDialog.h"

#include "base/VisibleText.h"
#include "core/Dialogs.h"
#include "core/DirectoryChoice.h"
#include "core/TextLines.h"
#include "ui/widgets/LocalText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace tarvok::ui {
namespace {

const char* const HelpText = "Pick a directory in the tree, or a mounted file system from the list below it, "
                             "or type a directory name into the box above the tree (a relative name is taken "
                             "inside the directory shown). The files of the shown directory are listed for "
                             "orientation only.\n\nA directory that does not exist yet is created, together "
                             "with any missing parent directories, when you confirm it with OK.";

} // namespace

SelectDirectoryDialog::SelectDirectoryDialog(QWidget* parent, const std::string& start, Dialogs& dialogs)
    : QDialog(parent), dialogs_(dialogs), model_(new QFileSystemModel(this)), nameBox_(new QLineEdit(this)),
      tree_(new QTreeView(this)), files_(new QListWidget(this)), fileSystems_(new QComboBox(this))
{
    setWindowTitle("Select Directory");
    setModal(true);

    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setRootPath("/");
    tree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        tree_->hideColumn(column);
    tree_->header()->hide();
    files_->setSelectionMode(QAbstractItemView::NoSelection);
    files_->setFocusPolicy(Qt::NoFocus);
    FillFileSystems();

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    cancel_ = buttons->button(QDialogButtonBox::Cancel);
    help_ = buttons->button(QDialogButtonBox::Help);
    ok_->setDefault(true);

    auto* lists = new QHBoxLayout;
    lists->addWidget(tree_, 3);
    lists->addWidget(files_, 2);
    auto* nameLabel = new QLabel("Directory &name:", this);
    nameLabel->setBuddy(nameBox_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameLabel);
    layout->addWidget(nameBox_);
    layout->addLayout(lists, 1);
    layout->addWidget(new QLabel("File systems:", this));
    layout->addWidget(fileSystems_);
    layout->addWidget(buttons);
    resize(560, 420);

    connect(buttons, &QDialogButtonBox::accepted, this, &SelectDirectoryDialog::OkClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, &SelectDirectoryDialog::HelpClicked);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (current.isValid())
            ShowDirectory(model_->filePath(current));
    });
    // Folders are listed and sorted as they are read: rows arriving above the
    // shown directory push it out of sight. It is brought back each time,
    // until the user moves in the tree.
    const auto follow = [this] {
        if (followShown_)
            KeepShownInView();
    };
    connect(model_, &QAbstractItemModel::rowsInserted, this, follow);
    connect(model_, &QAbstractItemModel::layoutChanged, this, follow);
    connect(tree_->verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] { followShown_ = false; });
    tree_->viewport()->installEventFilter(this);
    tree_->installEventFilter(this);
    connect(fileSystems_, &QComboBox::activated, this,
            [this](int index) { ShowDirectory(fileSystems_->itemData(index).toString()); });

    const std::string startDir = StartDirectory(start);
    ShowDirectory(QtPath(NearestExistingDirectory(startDir)));
    nameBox_->setText(Local(startDir));
    nameBox_->setFocus();
}

void SelectDirectoryDialog::ShowDirectory(const QString& dir)
{
    const QString clean = QDir::cleanPath(dir);
    if (clean == shown_)
        return;
    shown_ = clean;
    nameBox_->setText(clean);
    const QModelIndex index = model_->index(clean);
    if (index.isValid() && tree_->currentIndex() != index) {
        tree_->setCurrentIndex(index);
        tree_->scrollTo(index);
    }
    // Its subfolders are the next likely choice.
    tree_->expand(index);
    FillFiles(clean);
    SelectFileSystemOf(clean);
}

void SelectDirectoryDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    KeepShownInView();
}

bool SelectDirectoryDialog::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((watched == tree_ || watched == tree_->viewport()) &&
        (type == QEvent::MouseButtonPress || type == QEvent::Wheel || type == QEvent::KeyPress))
        followShown_ = false;
    return QDialog::eventFilter(watched, event);
}

void SelectDirectoryDialog::KeepShownInView()
{
    const QModelIndex index = model_->index(shown_);
    if (index.isValid())
        tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void SelectDirectoryDialog::FillFiles(const QString& dir)
{
    files_->clear();
    files_->addItems(QDir(dir).entryList(QDir::Files | QDir::System, QDir::Name | QDir::IgnoreCase));
}

// Only the mount table is read: asking a network or FUSE mount that does
// not answer would freeze the program.
void SelectDirectoryDialog::FillFileSystems()
{
    mounts_ = FileSystemsToOffer();
    for (const MountPoint& mount : mounts_) {
        const QString root = Local(mount.Root);
        fileSystems_->addItem(mount.Device.empty() ? root : root + "  (" + Local(mount.Device) + ")",
                              QtPath(mount.Root));
    }
}

void SelectDirectoryDialog::SelectFileSystemOf(const QString& dir)
{
    const int index = fileSystems_->findData(QtPath(FileSystemOf(mounts_, PathFromQt(dir))));
    if (index >= 0)
        fileSystems_->setCurrentIndex(index);
}

QString SelectDirectoryDialog::TypedDirectory() const
{
    QString text = nameBox_->text();
    if (text.isEmpty())
        return shown_;
    if (text == "~" || text.startsWith("~/"))
        text.replace(0, 1, QDir::homePath());
    return QDir::cleanPath(QDir(shown_).absoluteFilePath(text));
}

void SelectDirectoryDialog::OkClicked()
{
    const QString typed = TypedDirectory();
    const std::string path = PathFromQt(typed);
    // The program keeps directory names one to a line in its files.
    if (HasLineBreak(path)) {
        dialogs_.Warning("The directory name holds a line break, which Tarvok cannot store. "
                         "Please choose a directory without one.");
        return;
    }
    const FoundAt found = InspectTypedName(path);
    if (found == FoundAt::File) {
        dialogs_.Warning(VisibleName(path) + " is a file, not a directory.");
        return;
    }
    if (found == FoundAt::Nothing) {
        if (!dialogs_.Confirm("The specified directory does not exist. Create it?"))
            return;
        if (!CreateTypedDirectory(path)) {
            dialogs_.Warning("Unable to create the directory " + VisibleName(path) + ".");
            return;
        }
    }
    chosen_ = path;
    accept();
}

void SelectDirectoryDialog::HelpClicked() { dialogs_.Message(HelpText); }

bool ExecuteSelectDirectoryDialog(QWidget* parent, const std::string& start, std::string& chosen, Dialogs& dialogs)
{
    SelectDirectoryDialog dialog(parent, start, dialogs);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    chosen = dialog.Chosen();
    return true;
}

} // namespace tarvok::ui
