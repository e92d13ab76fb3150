#include "platform/qt/SystemText.h"

namespace tarvok::platform {

QString QtFromSystemText(const std::string& text)
{
    return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}

std::string SystemTextFromQt(const QString& text) { return text.toLocal8Bit().toStdString(); }

} // namespace tarvok::platform
