#include "platform/qt/Desktop_linux.h"
#include "platform/Environment.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QImageReader>
#include <QProcess>

#include <cstdlib>
#include <optional>

namespace tarvok::platform {
namespace {

std::optional<x11::Picture> ReadPicture(const std::string& path)
{
    QImageReader reader(QString::fromLocal8Bit(path));
    const QImage image = reader.read().convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    x11::Picture picture;
    picture.Width = image.width();
    picture.Height = image.height();
    picture.Pixels.reserve(static_cast<size_t>(picture.Width) * picture.Height);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            picture.Pixels.push_back(row[x] & 0xffffffu);
    }
    return picture;
}

// The session's screen-saver service, where one answers.
bool ActivateSessionScreenSaver()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString service = QStringLiteral("org.freedesktop.ScreenSaver");
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(service))
        return false;
    // Services publish the interface under either path.
    for (const QString& path : {QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("/ScreenSaver")}) {
        QDBusInterface saver(service, path, service, bus);
        saver.setTimeout(3000);
        const QDBusReply<bool> reply = saver.call(QStringLiteral("SetActive"), true);
        if (reply.isValid() && reply.value())
            return true;
    }
    return false;
}

} // namespace

LinuxDesktop::LinuxDesktop(const std::string& keepFile, const std::string& logonEntry)
    : background_(runner_, EnvironmentValue("XDG_CURRENT_DESKTOP"), keepFile, logonEntry)
{
}

LinuxDesktop::~LinuxDesktop() = default;

bool LinuxDesktop::SetWallpaper(const std::string& imagePath)
{
    const auto picture = ReadPicture(imagePath);
    const bool onRoot = picture && root_.Set(*picture);
    // A bare window manager shows the root window.
    return background_.Set(imagePath).value_or(onRoot);
}

void LinuxDesktop::ClearWallpaper()
{
    root_.Clear();
    background_.Restore();
}

void LinuxDesktop::RestoreWallpaperSetting() { background_.Restore(); }

void LinuxDesktop::RunDosShell()
{
    QStringList candidates;
    if (const std::string chosen = EnvironmentValue("TERMINAL"); !chosen.empty())
        candidates << QString::fromLocal8Bit(chosen);
    candidates << QStringLiteral("x-terminal-emulator") << QStringLiteral("xterm");
    for (const QString& candidate : candidates) {
        // $TERMINAL may carry arguments; double quotes keep words together.
        QStringList arguments = QProcess::splitCommand(candidate);
        if (arguments.isEmpty())
            continue;
        const QString program = arguments.takeFirst();
        // Detached: the terminal is nobody's child here and nothing waits on it.
        if (QProcess::startDetached(program, arguments))
            return;
    }
}

bool LinuxDesktop::StartScreenSaver() { return ActivateSessionScreenSaver() || x11::ForceScreenSaver(); }

template <typename Use> auto LinuxDesktop::WithWindows(Use&& use)
{
    if (enumerating_)
        return use(*enumerating_);
    x11::TopLevelWindows windows;
    return use(windows);
}

void LinuxDesktop::EnumWindows(const std::function<bool(WindowHandle)>& visit)
{
    x11::TopLevelWindows windows;
    enumerating_ = &windows;
    struct Done {
        x11::TopLevelWindows*& current;
        ~Done() { current = nullptr; }
    } done{enumerating_};
    for (const uint64_t window : windows.List())
        if (!visit(window))
            return;
}

std::string LinuxDesktop::GetWindowText(WindowHandle window)
{
    return WithWindows([&](x11::TopLevelWindows& windows) { return windows.Title(window); });
}

std::string LinuxDesktop::GetClassName(WindowHandle window)
{
    return WithWindows([&](x11::TopLevelWindows& windows) { return windows.ClassName(window); });
}

void LinuxDesktop::HideWindow(WindowHandle window)
{
    WithWindows([&](x11::TopLevelWindows& windows) { windows.Hide(window); });
}

} // namespace tarvok::platform
