#include "platform/qt/X11Platform.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QtGlobal>

#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>

namespace tarvok::platform {

void PreferX11Platform()
{
    // An empty value counts as unset, as it does for Qt itself.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
}

void RoundScaleNearWholeNumbers()
{
    if (qgetenv("QT_QPA_PLATFORM") != "xcb")
        return;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return;
    // Qt scales by the resource the desktop sets, as "Xft.dpi:\t100".
    double dpi = 0;
    if (const char* resources = XResourceManagerString(display)) {
        for (const char* line = resources; line && *line; line = std::strchr(line, '\n')) {
            line += *line == '\n';
            if (std::strncmp(line, "Xft.dpi:", 8) == 0)
                dpi = std::strtod(line + 8, nullptr);
        }
    }
    XCloseDisplay(display);
    if (ScaleNearWholeNumber(dpi))
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

} // namespace tarvok::platform
