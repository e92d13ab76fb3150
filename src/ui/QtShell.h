#pragma once
#include "core/Shell.h"

namespace tarvok::ui {

// Opens files with the desktop's default program through QDesktopServices.
class QtShell : public Shell {
public:
    void OpenDocument(const std::string& path) override;
};

} // namespace tarvok::ui
