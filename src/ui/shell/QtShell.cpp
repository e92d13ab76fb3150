#include "ui/shell/QtShell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace tarvok::ui {

void QtShell::OpenDocument(const std::string& path)
{
    // The result is not examined: a file type without a program is the desktop's business.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(path.c_str())));
}

void QtShell::OpenUrl(const std::string& url)
{
    QDesktopServices::openUrl(QUrl(QString::fromLocal8Bit(url.c_str()), QUrl::StrictMode));
}

} // namespace tarvok::ui
