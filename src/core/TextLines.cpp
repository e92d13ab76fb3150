#include "core/TextLines.h"

#include "base/InOutError.h"

namespace tarvok {

std::string LineReader::ReadLine()
{
    const size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r')
        ++pos_;
    std::string line(text_.substr(start, pos_ - start));
    if (pos_ < text_.size() && text_[pos_] == '\r') {
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
    } else if (pos_ < text_.size()) {
        ++pos_;
    }
    return line;
}

void AppendLine(std::string& text, std::string_view value)
{
    if (HasLineBreak(value))
        throw EInOutError(3);
    text += value;
    text += LineEnd;
}

} // namespace tarvok
