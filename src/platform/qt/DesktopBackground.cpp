#include "platform/qt/DesktopBackground.h"

#include <QString>
#include <QUrl>

#include <algorithm>
#include <cctype>

namespace tarvok::platform {
namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(separator, start), text.size());
        if (end > start)
            parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string WithoutLineEnd(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// A string in GVariant text form, as gsettings reads it.
std::string GVariantString(const std::string& text)
{
    std::string out = "'";
    for (const char c : text) {
        if (c == '\\' || c == '\'')
            out += '\\';
        out += c;
    }
    return out + "'";
}

// Desktops that keep their background in a gsettings schema.
struct GSettingsDesktop {
    std::vector<std::string> Names; // lower case, as in $XDG_CURRENT_DESKTOP
    const char* Schema;
    std::vector<const char*> Keys;
    bool Uri; // the keys hold file: URIs, else paths
};

const std::vector<GSettingsDesktop>& GSettingsDesktops()
{
    static const std::vector<GSettingsDesktop> desktops = {
        {{"gnome", "unity", "budgie", "pantheon"},
         "org.gnome.desktop.background",
         {"picture-uri", "picture-uri-dark"},
         true},
        {{"x-cinnamon", "cinnamon"}, "org.cinnamon.desktop.background", {"picture-uri"}, true},
        {{"mate"}, "org.mate.background", {"picture-filename"}, false},
    };
    return desktops;
}

constexpr const char* XfconfChannel = "xfce4-desktop";

} // namespace

DesktopBackground::DesktopBackground(CommandRunner& runner, std::string currentDesktop)
    : runner_(runner), desktops_(Split(Lower(std::move(currentDesktop)), ':'))
{
}

std::vector<DesktopBackground::Setting> DesktopBackground::Settings()
{
    const auto runs = [&](const std::vector<std::string>& names) {
        return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return std::find(desktops_.begin(), desktops_.end(), name) != desktops_.end();
        });
    };
    std::vector<Setting> settings;
    for (const GSettingsDesktop& desktop : GSettingsDesktops()) {
        if (!runs(desktop.Names))
            continue;
        for (const char* key : desktop.Keys)
            settings.push_back({"gsettings", {"get", desktop.Schema, key}, {"set", desktop.Schema, key}, desktop.Uri,
                                !desktop.Uri});
    }
    if (runs({"xfce"})) {
        // One image property per monitor and workspace.
        const CommandResult list = runner_.Run("xfconf-query", {"-c", XfconfChannel, "-l"});
        if (list.Succeeded) {
            for (const std::string& property : Split(list.Output, '\n')) {
                const std::string suffix = "/last-image";
                if (property.size() > suffix.size() && property.ends_with(suffix))
                    settings.push_back({"xfconf-query",
                                        {"-c", XfconfChannel, "-p", property},
                                        {"-c", XfconfChannel, "-p", property, "-s"},
                                        false,
                                        false});
            }
        }
    }
    return settings;
}

std::string DesktopBackground::ValueFor(const Setting& setting, const std::string& imagePath) const
{
    if (setting.AsGSettingsUri)
        return GVariantString(QUrl::fromLocalFile(QString::fromLocal8Bit(imagePath)).toEncoded().toStdString());
    if (setting.AsGSettingsPath)
        return GVariantString(imagePath);
    return imagePath;
}

bool DesktopBackground::IsSaved(const Setting& setting) const
{
    return std::any_of(saved_.begin(), saved_.end(), [&](const Saved& saved) {
        return saved.Where.Program == setting.Program && saved.Where.Get == setting.Get;
    });
}

void DesktopBackground::Set(const std::string& imagePath)
{
    for (const Setting& setting : Settings()) {
        if (!IsSaved(setting)) {
            // A setting this desktop does not have is left alone.
            const CommandResult old = runner_.Run(setting.Program, setting.Get);
            if (!old.Succeeded)
                continue;
            saved_.push_back({setting, WithoutLineEnd(old.Output)});
        }
        std::vector<std::string> arguments = setting.SetPrefix;
        arguments.push_back(ValueFor(setting, imagePath));
        runner_.Run(setting.Program, arguments);
    }
}

void DesktopBackground::Restore()
{
    for (const Saved& saved : saved_) {
        std::vector<std::string> arguments = saved.Where.SetPrefix;
        arguments.push_back(saved.Value);
        runner_.Run(saved.Where.Program, arguments);
    }
    saved_.clear();
}

} // namespace tarvok::platform
