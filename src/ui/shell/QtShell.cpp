#include "ui/shell/QtShell.h"

#include "ui/widgets/LocalText.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace tarvok::ui {

void QtShell::OpenDocument(const std::string& path)
{
    // The result is not examined: a file type without a program is the desktop's business.
    QDesktopServices::openUrl(QUrl::fromLocalFile(Local(path)));
}

void QtShell::OpenUrl(const std::string& url) { QDesktopServices::openUrl(QUrl(Local(url), QUrl::StrictMode)); }

} // namespace tarvok::ui
