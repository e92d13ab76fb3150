#include "platform/qt/SystemText.h"

namespace tarvok::platform {

QString QtFromSystemText(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

std::string SystemTextFromQt(const QString& text) { return text.toUtf8().toStdString(); }

} // namespace tarvok::platform
