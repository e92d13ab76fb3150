#pragma once
#include "platform/qt/SystemText.h"

#include <QDir>
#include <QString>

#include <string>

namespace tarvok::ui {

// The program keeps text as bytes in the system's encoding; Qt works in
// UTF-16. These convert at the edge of the window.
inline QString Local(const std::string& text) { return platform::QtFromSystemText(text); }

inline std::string FromLocal(const QString& text) { return platform::SystemTextFromQt(text); }

// Qt's file classes speak '/' on every system; the program keeps paths in
// the system's own spelling ('\' on Windows).
inline QString QtPath(const std::string& path) { return QDir::fromNativeSeparators(Local(path)); }
inline std::string PathFromQt(const QString& path) { return FromLocal(QDir::toNativeSeparators(path)); }

} // namespace tarvok::ui
