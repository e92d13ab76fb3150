#pragma once
#include <string>

namespace tarvok {

// INI profile text ("[section]" lines, "key=value" lines). Section and key
// names compare without regard to letter case; values are trimmed.

// The value of `key` in `section`, or `fallback` when there is none.
std::string ReadProfileString(const std::string& text, const std::string& section, const std::string& key,
                              const std::string& fallback);

// The text with `key` of `section` set to `value`: the key's line is
// replaced, or added at the end of the section, or a new section is added at
// the end. Every other line stays as it was. A section, key or value that
// holds CR or LF throws std::invalid_argument.
std::string WriteProfileString(const std::string& text, const std::string& section, const std::string& key,
                               const std::string& value);

} // namespace tarvok
