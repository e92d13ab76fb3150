#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarvok {

// Reads text line by line the way the program's files have always been read:
// a line ends at CR LF, LF or CR; reading past the end gives an empty line.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    std::string ReadLine();
    // The next line of a settings or project file as the program holds its
    // text (platform::TextOfFileLine).
    std::string ReadText();
    bool AtEnd() const { return pos_ >= text_.size(); }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

// Lines are written with CR LF.
inline constexpr std::string_view LineEnd = "\r\n";

// A value holding CR or LF would be split over two lines of a line file.
inline bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// Appends `value` and the line end; a value with a line break raises
// "Invalid filename", so the file is never written with it.
void AppendLine(std::string& text, std::string_view value);

// Writes the lines of a settings or project file in the system's text
// (platform::FileLineOfText), except that a line the file held before keeps
// the bytes it had there: a file read and written without changes stays
// byte for byte the same, whichever of the readable forms each line was in.
class LineWriter {
public:
    explicit LineWriter(std::string_view previousFile = {});
    // As AppendLine: a value with a line break raises "Invalid filename".
    void Append(std::string_view value);
    const std::string& Text() const { return text_; }

private:
    std::vector<std::string> previous_; // the former lines, by position
    std::unordered_map<std::string, std::string> formerBytes_;
    size_t count_ = 0;
    std::string text_;
};

} // namespace tarvok
