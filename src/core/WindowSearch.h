#pragma once
#include "base/Desktop.h"

#include <string>

namespace tarvok {

// What FindWindowByTitle hands to its enumeration callback.
struct FindWindowRec {
    std::string Title;
    std::string ClassName; // empty: any class
    WindowHandle Found = 0;
};

// Texts are read up to this many characters, as they always were.
inline constexpr size_t WindowTextMax = 255;

// The enumeration callback: true goes on, false stops at a match stored in
// rec.Found. A window matches when its title contains rec.Title (an empty
// Title never matches) and, unless ClassName is empty, its class name
// contains rec.ClassName; both case-sensitive.
bool MatchWindowProc(Desktop& desktop, WindowHandle window, FindWindowRec& rec);

// The first top-level window that matches, 0 when none does.
WindowHandle FindWindowByTitle(Desktop& desktop, const std::string& title, const std::string& className);

} // namespace tarvok
