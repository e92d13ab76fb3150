#include "ui/dialogs/QtDialogs.h"

#include "ui/dialogs/SelectDirectoryDialog.h"
#include "ui/widgets/LocalText.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace tarvok::ui {
namespace {

QMessageBox::StandardButton Ask(QMessageBox::Icon icon, const QString& title, const std::string& text,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton byDefault)
{
    QMessageBox box(icon, title, Local(text), buttons, QApplication::activeWindow());
    // The text often carries a file name, which is never markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(byDefault);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString AppTitle() { return QApplication::applicationName(); }

// Escape and the window's close button count as No.
bool AskYesNo(const std::string& text, QMessageBox::StandardButton byDefault)
{
    return Ask(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::Yes | QMessageBox::No, byDefault) !=
           QMessageBox::No;
}

} // namespace

void QtDialogs::Message(const std::string& text)
{
    Ask(QMessageBox::NoIcon, AppTitle(), text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtDialogs::Confirm(const std::string& text) { return AskYesNo(text, QMessageBox::Yes); }

bool QtDialogs::ConfirmDefaultNo(const std::string& text) { return AskYesNo(text, QMessageBox::No); }

void QtDialogs::Warning(const std::string& text)
{
    Ask(QMessageBox::Warning, QStringLiteral("Warning"), text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtDialogs::ErrorBox(const std::string& text)
{
    Ask(QMessageBox::Critical, AppTitle(), text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtDialogs::SelectDirectory(const std::string& start, std::string& chosen)
{
    return ExecuteSelectDirectoryDialog(QApplication::activeWindow(), start, chosen, *this);
}

bool QtDialogs::OpenFiles(const std::string& startDir, std::vector<std::string>& files)
{
    const QStringList names = QFileDialog::getOpenFileNames(QApplication::activeWindow(), QString(), QtPath(startDir));
    if (names.isEmpty())
        return false;
    files.clear();
    for (const QString& name : names)
        files.push_back(PathFromQt(name));
    return true;
}

} // namespace tarvok::ui
