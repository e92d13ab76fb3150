#include "platform/qt/ConfigFileText.h"

namespace tarvok::platform {
namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

std::optional<std::string> Header(const std::string& line)
{
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return line.substr(1, line.size() - 2);
}

} // namespace

std::vector<std::string> ConfigSections(const std::string& text)
{
    std::vector<std::string> sections;
    for (const std::string& line : Lines(text))
        if (const auto header = Header(line))
            sections.push_back(*header);
    return sections;
}

std::optional<std::string> RawConfigValue(const std::string& text, const std::string& section, const std::string& key)
{
    bool here = false;
    for (const std::string& line : Lines(text)) {
        if (const auto header = Header(line))
            here = *header == section;
        else if (here && line.starts_with(key + "="))
            return line.substr(key.size() + 1);
    }
    return std::nullopt;
}

std::string WithRawConfigValue(const std::string& text, const std::string& section, const std::string& key,
                               const std::optional<std::string>& raw)
{
    std::string out;
    bool here = false;
    bool done = false;
    const auto put = [&] {
        if (!done && raw)
            out += key + "=" + *raw + "\n";
        done = true;
    };
    for (const std::string& line : Lines(text)) {
        if (const auto header = Header(line)) {
            if (here)
                put();
            here = *header == section;
        } else if (here && line.starts_with(key + "=")) {
            put();
            continue;
        }
        out += line + "\n";
    }
    if (here)
        put();
    else if (!done && raw)
        out += "[" + section + "]\n" + key + "=" + *raw + "\n";
    return out;
}

std::string KConfigUnescaped(const std::string& raw)
{
    const auto hex = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    std::string out;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 1 == raw.size()) {
            out += raw[i];
            continue;
        }
        const char c = raw[++i];
        if (c == 'x' && i + 2 < raw.size() && hex(raw[i + 1]) >= 0 && hex(raw[i + 2]) >= 0) {
            out += static_cast<char>(hex(raw[i + 1]) * 16 + hex(raw[i + 2]));
            i += 2;
        } else {
            out += c == 's' ? ' ' : c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        }
    }
    return out;
}

} // namespace tarvok::platform
