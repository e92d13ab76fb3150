#pragma once
#include "core/Dialogs.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tarvok::test {

// Records every box and dialog and answers from queues. An empty queue
// answers Yes to a question and Cancel to a dialog.
class FakeDialogs : public Dialogs {
public:
    struct Shown {
        std::string Kind; // "message", "confirm", "confirm-no", "warning", "error", "selectdir", "openfiles"
        std::string Text;
    };

    void Message(const std::string& text) override { Record("message", text); }
    bool Confirm(const std::string& text) override
    {
        Record("confirm", text);
        return Pop(Answers, true);
    }
    bool ConfirmDefaultNo(const std::string& text) override
    {
        Record("confirm-no", text);
        return Pop(Answers, true);
    }
    void Warning(const std::string& text) override { Record("warning", text); }
    void ErrorBox(const std::string& text) override { Record("error", text); }
    bool SelectDirectory(const std::string& start, std::string& chosen) override
    {
        Record("selectdir", start);
        if (Directories.empty())
            return false;
        chosen = Pop(Directories, std::string());
        return true;
    }
    bool OpenFiles(const std::string& startDir, std::vector<std::string>& files) override
    {
        Record("openfiles", startDir);
        if (FileChoices.empty())
            return false;
        files = Pop(FileChoices, std::vector<std::string>());
        return true;
    }

    std::vector<std::string> TextsOf(const std::string& kind) const
    {
        std::vector<std::string> texts;
        for (const Shown& s : Log)
            if (s.Kind == kind)
                texts.push_back(s.Text);
        return texts;
    }

    std::vector<Shown> Log;
    std::deque<bool> Answers;
    std::deque<std::string> Directories;
    std::deque<std::vector<std::string>> FileChoices;
    // Runs while a box is "open", as the user could act meanwhile.
    std::function<void(const Shown&)> WhileShown;

private:
    void Record(const char* kind, const std::string& text)
    {
        Log.push_back({kind, text});
        if (WhileShown)
            WhileShown(Log.back());
    }
    template <typename T> static T Pop(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};

} // namespace tarvok::test
