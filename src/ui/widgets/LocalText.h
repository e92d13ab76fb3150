#pragma once
#include <QString>

#include <string>

namespace tarvok::ui {

// The program keeps text as bytes in the system's encoding; Qt works in
// UTF-16. These convert at the edge of the window. On Windows the file
// layer speaks UTF-16 to the system and UTF-8 to the program, whatever the
// ANSI code page that Qt's local 8-bit encoding means there.
#ifdef Q_OS_WIN
inline QString Local(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

inline std::string FromLocal(const QString& text) { return text.toUtf8().toStdString(); }
#else
inline QString Local(const std::string& text) { return QString::fromLocal8Bit(text.data(), qsizetype(text.size())); }

inline std::string FromLocal(const QString& text) { return text.toLocal8Bit().toStdString(); }
#endif

} // namespace tarvok::ui
