#include "platform/qt/CommandRunner.h"

#include <QProcess>

namespace tarvok::platform {

CommandResult ProcessRunner::Run(const std::string& program, const std::vector<std::string>& arguments)
{
    constexpr int TimeLimitMs = 5000; // a settings tool that hangs must not freeze the window
    QStringList args;
    for (const std::string& argument : arguments)
        args << QString::fromLocal8Bit(argument);
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QString::fromLocal8Bit(program), args);
    if (!process.waitForStarted(TimeLimitMs))
        return {};
    if (!process.waitForFinished(TimeLimitMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    CommandResult result;
    result.Succeeded = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    result.Output = process.readAllStandardOutput().toStdString();
    return result;
}

} // namespace tarvok::platform
