#pragma once
#include "platform/qt/SystemText.h"

#include <QString>

#include <string>

namespace tarvok::ui {

// The program keeps text as bytes in the system's encoding; Qt works in
// UTF-16. These convert at the edge of the window.
inline QString Local(const std::string& text) { return platform::QtFromSystemText(text); }

inline std::string FromLocal(const QString& text) { return platform::SystemTextFromQt(text); }

} // namespace tarvok::ui
