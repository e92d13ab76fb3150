#pragma once
#include <string>

namespace tarvok {

// The shell seam: opens a file with its default program, without waiting.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void OpenDocument(const std::string& path) = 0;
};

} // namespace tarvok
