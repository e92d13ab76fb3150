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

} // namespace tarvok
