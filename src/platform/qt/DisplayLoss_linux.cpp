#include "platform/qt/DisplayLoss.h"

#include <QString>
#include <QtGlobal>

namespace tarvok::platform {
namespace {

std::function<void()> saveOnLoss;
QtMessageHandler previousOutput = nullptr;

// Both of Qt's paths to the end say so first, the event loop's and Xlib's
// I/O error handler's, and exit right after.
void WatchMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (saveOnLoss && message.startsWith(QLatin1String("The X11 connection broke"))) {
        const std::function<void()> save = std::move(saveOnLoss);
        saveOnLoss = nullptr;
        save();
    }
    if (previousOutput)
        previousOutput(type, context, message);
}

} // namespace

DisplayLossWatch::DisplayLossWatch(std::function<void()> save)
{
    saveOnLoss = std::move(save);
    previousOutput = qInstallMessageHandler(WatchMessages);
}

DisplayLossWatch::~DisplayLossWatch()
{
    qInstallMessageHandler(previousOutput);
    saveOnLoss = nullptr;
}

} // namespace tarvok::platform
