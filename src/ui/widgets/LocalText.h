#pragma once
#include <QString>

#include <string>

namespace tarvok::ui {

// The program keeps text as bytes in the system's encoding; Qt works in
// UTF-16. These convert at the edge of the window.
inline QString Local(const std::string& text) { return QString::fromLocal8Bit(text.data(), qsizetype(text.size())); }

inline std::string FromLocal(const QString& text) { return text.toLocal8Bit().toStdString(); }

} // namespace tarvok::ui
