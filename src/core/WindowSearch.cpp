#include "core/WindowSearch.h"

namespace tarvok {
namespace {

bool Contains(const std::string& text, const std::string& part)
{
    return !text.empty() && !part.empty() && text.find(part) != std::string::npos;
}

} // namespace

bool MatchWindowProc(Desktop& desktop, WindowHandle window, FindWindowRec& rec)
{
    const bool titleMatches = Contains(desktop.GetWindowText(window).substr(0, WindowTextMax), rec.Title);
    const bool classMatches =
        rec.ClassName.empty() || Contains(desktop.GetClassName(window).substr(0, WindowTextMax), rec.ClassName);
    if (titleMatches && classMatches) {
        rec.Found = window;
        return false;
    }
    return true;
}

WindowHandle FindWindowByTitle(Desktop& desktop, const std::string& title, const std::string& className)
{
    FindWindowRec rec{title, className, 0};
    desktop.EnumWindows([&](WindowHandle window) { return MatchWindowProc(desktop, window, rec); });
    return rec.Found;
}

} // namespace tarvok
