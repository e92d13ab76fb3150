#pragma once
#include <string>

namespace tarvok {

// The shell seam: opens a file or an address with its default program,
// without waiting.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void OpenDocument(const std::string& path) = 0;
    // Opens a web page or a "mailto:" address with the desktop's program for it.
    virtual void OpenUrl(const std::string& url) = 0;
};

} // namespace tarvok
