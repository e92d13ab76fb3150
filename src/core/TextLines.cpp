#include "core/TextLines.h"

#include "base/InOutError.h"
#include "platform/FileLineText.h"

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

std::string LineReader::ReadText() { return platform::TextOfFileLine(ReadLine()); }

void AppendLine(std::string& text, std::string_view value)
{
    if (HasLineBreak(value))
        throw EInOutError(3);
    text += value;
    text += LineEnd;
}

LineWriter::LineWriter(std::string_view previousFile)
{
    LineReader reader(previousFile);
    while (!reader.AtEnd()) {
        previous_.push_back(reader.ReadLine());
        formerBytes_.try_emplace(platform::TextOfFileLine(previous_.back()), previous_.back());
    }
}

void LineWriter::Append(std::string_view value)
{
    const std::string text(value);
    const size_t index = count_++;
    // The same line at the same place first, so that two lines of one text
    // in different forms both stay as they were.
    if (index < previous_.size() && platform::TextOfFileLine(previous_[index]) == text) {
        AppendLine(text_, previous_[index]);
        return;
    }
    const auto former = formerBytes_.find(text);
    AppendLine(text_, former != formerBytes_.end() ? former->second : platform::FileLineOfText(text));
}

} // namespace tarvok
