#pragma once
#include <optional>
#include <string>
#include <vector>

// Single values in the text of INI-style settings files, as Qt's QSettings
// and KDE's KConfig write them, edited without touching any other line:
// the desktop that owns the file reads the rest as it wrote it. A section
// is named as between the outer brackets of its header, so KConfig's nested
// group [a][b] is "a][b". Values stay raw, the file's escapes and all.
namespace tarvok::platform {

std::vector<std::string> ConfigSections(const std::string& text);
std::optional<std::string> RawConfigValue(const std::string& text, const std::string& section, const std::string& key);
// The text with the key's value replaced, added (with its section if need
// be) or, for nullopt, removed.
std::string WithRawConfigValue(const std::string& text, const std::string& section, const std::string& key,
                               const std::optional<std::string>& raw);
// A KConfig value as written (\s, \t, \n, \r, \\ and \xNN) read back.
std::string KConfigUnescaped(const std::string& raw);

} // namespace tarvok::platform
