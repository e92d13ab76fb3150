#include "platform/qt/X11Platform.h"

#include <QByteArray>
#include <QtGlobal>

namespace tarvok::platform {

void PreferX11Platform()
{
    // An empty value counts as unset, as it does for Qt itself.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
}

} // namespace tarvok::platform
