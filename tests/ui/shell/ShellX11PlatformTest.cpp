#include "platform/qt/TrayHost.h"
#include "platform/qt/X11Platform.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <optional>
#include <utility>

using namespace tarvok;

namespace {

// Sets two environment variables for one case and puts them back after.
class PlatformEnvironment {
public:
    PlatformEnvironment(const char* platform, const char* display)
        : platform_(Get("QT_QPA_PLATFORM")), display_(Get("DISPLAY"))
    {
        Set("QT_QPA_PLATFORM", platform);
        Set("DISPLAY", display);
    }
    ~PlatformEnvironment()
    {
        Set("QT_QPA_PLATFORM", platform_ ? platform_->constData() : nullptr);
        Set("DISPLAY", display_ ? display_->constData() : nullptr);
    }

private:
    static std::optional<QByteArray> Get(const char* name)
    {
        return qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt;
    }
    static void Set(const char* name, const char* value)
    {
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    std::optional<QByteArray> platform_, display_;
};

} // namespace

TEST(ShellX11Platform, AsksForXcbOnlyWhenNoPlatformIsChosenAndAnXDisplayExists)
{
    struct Case {
        const char* platform;
        const char* display;
        QByteArray expected;
    };
    const Case cases[] = {
        {nullptr, ":0", "xcb"},           {"", ":0", "xcb"},      {"wayland", ":0", "wayland"},
        {"offscreen", ":0", "offscreen"}, {nullptr, nullptr, ""}, {nullptr, "", ""},
    };
    for (const Case& c : cases) {
        PlatformEnvironment environment(c.platform, c.display);
        platform::PreferX11Platform();
#ifdef _WIN32 // one window system: the choice stays as it was
        const QByteArray expected = c.platform ? c.platform : "";
#else
        const QByteArray expected = c.expected;
#endif
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), expected) << "QT_QPA_PLATFORM=" << (c.platform ? c.platform : "(unset)")
                                                        << " DISPLAY=" << (c.display ? c.display : "(unset)");
    }
}

// GNOME Shell's tray is known by the program that serves it, whatever the
// desktop is called: Budgie's and GNOME Flashback's keep one Activate a click.
TEST(ShellX11Platform, OneTrayActivationIsADoubleClickUnderGnomeShellOnly)
{
    const std::pair<const char*, bool> hosts[] = {
        {"gnome-shell", true},
        {"gnome-flashback", false},
        {"budgie-panel", false},
        {"plasmashell", false},
        {"GNOME", false},
        {"gnome-shell-x", false},
        {"", false},
    };
    for (const auto& [host, doubleClick] : hosts)
        EXPECT_EQ(platform::ActivationIsDoubleClick(host), doubleClick) << host;
}

// MATE's 100 dpi would scale the skin by 1.0417 and blur it.
TEST(ShellX11Platform, ScalesWithin5PercentOfAWholeNumberAreRounded)
{
    const std::pair<double, bool> dpis[] = {
        {96, true},   {100, true}, {100.7, true}, {101, false}, {91, false}, {120, false},
        {144, false}, {192, true}, {200, true},   {182, false}, {0, false},  {48, false},
    };
    for (const auto& [dpi, near] : dpis)
        EXPECT_EQ(platform::ScaleNearWholeNumber(dpi), near) << dpi;
}
