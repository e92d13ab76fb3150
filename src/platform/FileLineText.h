#pragma once
#include <string>
#include <string_view>

// The text of a line of the settings and project files, which the program
// holds as UTF-8. On Linux a line is its bytes. On Windows, where these files
// are in the ANSI code page, a line that is valid UTF-8 is UTF-8 and any
// other line is in the ANSI code page; a line is written in the ANSI code
// page where the text fits it exactly and those bytes cannot be read as
// other UTF-8, and in UTF-8 otherwise, so every line reads back the same and
// a reader of ANSI files still reads every line it could read before.
namespace tarvok::platform {

std::string TextOfFileLine(std::string_view bytes);
std::string FileLineOfText(std::string_view text);

} // namespace tarvok::platform
