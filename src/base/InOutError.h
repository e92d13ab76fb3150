#pragma once
#include <stdexcept>
#include <string>

namespace tarvok {

// The one error type of file operations: a code and its standard message.
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(int code);
    EInOutError(int code, const std::string& message);
    int ErrorCode() const noexcept { return code_; }

private:
    int code_;
};

// Standard text for an I/O error code ("File not found", ..., "I/O error %d").
std::string InOutErrorMessage(int code);

// The error with the file it stopped at named in front, "<path>: <message>",
// unless its message names that file already; the path as VisibleName shows it.
EInOutError ErrorAtFile(const EInOutError& error, const std::string& path);

// What ErrorAtFile put after the file's name: the cause alone.
std::string CauseAtFile(const EInOutError& error, const std::string& path);

// The text the general error box shows: "." is appended when the message's
// last character sorts above ".".
std::string ErrorBoxText(const std::string& message);

} // namespace tarvok
