#pragma once
#include "core/Shell.h"

namespace tarvok::ui {

// Opens files and addresses with the desktop's default program through
// QDesktopServices.
class QtShell : public Shell {
public:
    void OpenDocument(const std::string& path) override;
    void OpenUrl(const std::string& url) override;
};

} // namespace tarvok::ui
