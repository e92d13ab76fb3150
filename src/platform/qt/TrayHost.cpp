#include "platform/qt/TrayHost.h"

#include <QString>
#include <QStringList>

namespace tarvok::platform {

bool ActivationIsDoubleClick(const std::string& currentDesktop)
{
    const QStringList names = QString::fromStdString(currentDesktop).split(QLatin1Char(':'));
    return names.contains(QStringLiteral("GNOME"), Qt::CaseInsensitive);
}

} // namespace tarvok::platform
