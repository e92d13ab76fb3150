#include "core/ProfileText.h"

#include "core/TextLines.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <stdexcept>
#include <vector>

namespace tarvok {
namespace {

std::string Trim(const std::string& text)
{
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    auto begin = std::find_if_not(text.begin(), text.end(), blank);
    auto end = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return begin < end ? std::string(begin, end) : std::string();
}

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    LineReader reader(text);
    while (!reader.AtEnd())
        lines.push_back(reader.ReadLine());
    return lines;
}

// The section name of a "[name]" line.
std::optional<std::string> SectionOf(const std::string& line)
{
    const std::string trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']')
        return std::nullopt;
    return Trim(trimmed.substr(1, trimmed.size() - 2));
}

bool IsKeyLine(const std::string& line, const std::string& key)
{
    const size_t equals = line.find('=');
    return equals != std::string::npos && SameName(Trim(line.substr(0, equals)), key);
}

// Where the section's lines are: [first, end) after its header line.
struct SectionSpan {
    size_t First = 0;
    size_t End = 0;
};

std::optional<SectionSpan> FindSection(const std::vector<std::string>& lines, const std::string& section)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionOf(lines[i]);
        if (!name || !SameName(*name, section))
            continue;
        size_t end = i + 1;
        while (end < lines.size() && !SectionOf(lines[end]))
            ++end;
        return SectionSpan{i + 1, end};
    }
    return std::nullopt;
}

} // namespace

std::string ReadProfileString(const std::string& text, const std::string& section, const std::string& key,
                              const std::string& fallback)
{
    const std::vector<std::string> lines = SplitLines(text);
    const auto span = FindSection(lines, section);
    if (!span)
        return fallback;
    for (size_t i = span->First; i < span->End; ++i)
        if (IsKeyLine(lines[i], key))
            return Trim(lines[i].substr(lines[i].find('=') + 1));
    return fallback;
}

std::string WriteProfileString(const std::string& text, const std::string& section, const std::string& key,
                               const std::string& value)
{
    // A line break would end the entry early and start lines of its own
    // choosing ("[boot]", "shell=...").
    for (const std::string* part : {&section, &key, &value})
        if (HasLineBreak(*part))
            throw std::invalid_argument("A profile entry cannot hold a line break");
    std::vector<std::string> lines = SplitLines(text);
    const std::string entry = key + "=" + value;
    if (const auto span = FindSection(lines, section)) {
        auto keyLine =
            std::find_if(lines.begin() + static_cast<long>(span->First), lines.begin() + static_cast<long>(span->End),
                         [&](const std::string& line) { return IsKeyLine(line, key); });
        if (keyLine != lines.begin() + static_cast<long>(span->End)) {
            *keyLine = entry;
        } else {
            // After the section's last line that is not blank.
            size_t at = span->End;
            while (at > span->First && Trim(lines[at - 1]).empty())
                --at;
            lines.insert(lines.begin() + static_cast<long>(at), entry);
        }
    } else {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    }
    std::string result;
    for (const std::string& line : lines)
        result += line + std::string(LineEnd);
    return result;
}

} // namespace tarvok
