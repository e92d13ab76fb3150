#include "base/InOutError.h"

#include "base/VisibleText.h"

namespace tarvok {

std::string InOutErrorMessage(int code)
{
    switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
    }
}

EInOutError::EInOutError(int code) : EInOutError(code, InOutErrorMessage(code)) {}

EInOutError::EInOutError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}

EInOutError ErrorAtFile(const EInOutError& error, const std::string& path)
{
    const std::string shown = VisibleName(path);
    if (std::string(error.what()).find(shown) != std::string::npos)
        return error;
    return EInOutError(error.ErrorCode(), shown + ": " + error.what());
}

std::string CauseAtFile(const EInOutError& error, const std::string& path)
{
    const std::string message = error.what();
    const std::string named = VisibleName(path) + ": ";
    return message.rfind(named, 0) == 0 ? message.substr(named.size()) : message;
}

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

} // namespace tarvok
