#pragma once
#include <QString>

#include <string>

namespace tarvok::platform {

// The program keeps names and text as bytes in the encoding the file layer
// speaks: the locale's on Linux, UTF-8 on Windows, where the file layer
// talks UTF-16 to the system whatever the ANSI code page.
QString QtFromSystemText(const std::string& text);
std::string SystemTextFromQt(const QString& text);

} // namespace tarvok::platform
