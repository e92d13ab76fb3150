#pragma once
#include "core/Dialogs.h"
#include "core/Shell.h"

#include <cstdio>

namespace tarvok::bench {

// Benchmarks run without boxes: what would be shown goes to stderr,
// questions get `ConfirmAnswer` and dialogs are cancelled.
class ConsoleDialogs : public Dialogs {
public:
    explicit ConsoleDialogs(bool confirmAnswer = true) : ConfirmAnswer(confirmAnswer) {}
    void Message(const std::string& text) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
    bool Confirm(const std::string&) override { return ConfirmAnswer; }
    bool ConfirmDefaultNo(const std::string&) override { return ConfirmAnswer; }
    void Warning(const std::string& text) override { std::fprintf(stderr, "warning: %s\n", text.c_str()); }
    void ErrorBox(const std::string& text) override { std::fprintf(stderr, "error: %s\n", text.c_str()); }
    bool SelectDirectory(const std::string&, std::string&) override { return false; }
    bool OpenFiles(const std::string&, std::vector<std::string>&) override { return false; }

    bool ConfirmAnswer;
};

// Benchmarks open nothing.
class NoShell : public Shell {
public:
    void OpenDocument(const std::string&) override {}
    void OpenUrl(const std::string&) override {}
};

} // namespace tarvok::bench
