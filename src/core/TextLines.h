#pragma once
#include <string>
#include <string_view>

namespace tarvok {

// Reads text line by line the way the program's files have always been read:
// a line ends at CR LF, LF or CR; reading past the end gives an empty line.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    std::string ReadLine();
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

} // namespace tarvok
