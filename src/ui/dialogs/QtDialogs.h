#pragma once
#include "core/Dialogs.h"

namespace tarvok::ui {

// The message boxes and file dialogs of the real program. Each box is modal
// to the window that is active when it opens.
class QtDialogs : public Dialogs {
public:
    void Message(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    bool ConfirmDefaultNo(const std::string& text) override;
    void Warning(const std::string& text) override;
    void ErrorBox(const std::string& text) override;
    bool SelectDirectory(const std::string& start, std::string& chosen) override;
    bool OpenFiles(const std::string& startDir, std::vector<std::string>& files) override;
};

} // namespace tarvok::ui
