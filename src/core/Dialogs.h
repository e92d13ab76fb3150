#pragma once
#include <string>
#include <vector>

namespace tarvok {

// Every message box and dialog the program shows goes through this seam, so
// tests can script the answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Plain message: the application title, no icon, OK.
    virtual void Message(const std::string& text) = 0;
    // Confirmation ("Confirm", question icon, Yes default, No): false only on No.
    virtual bool Confirm(const std::string& text) = 0;
    // The same with No as the default, where Yes gives something up.
    virtual bool ConfirmDefaultNo(const std::string& text) = 0;
    // Warning ("Warning", warning icon, OK).
    virtual void Warning(const std::string& text) = 0;
    // The general error box; `text` already went through ErrorBoxText.
    virtual void ErrorBox(const std::string& text) = 0;
    // Select-directory dialog opened on `start`; true and `chosen` when accepted.
    virtual bool SelectDirectory(const std::string& start, std::string& chosen) = 0;
    // Open dialog with multiple selection; true and `files` when accepted.
    virtual bool OpenFiles(const std::string& startDir, std::vector<std::string>& files) = 0;
};

} // namespace tarvok
