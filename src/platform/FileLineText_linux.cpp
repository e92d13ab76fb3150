#include "platform/FileLineText.h"

namespace tarvok::platform {

std::string TextOfFileLine(std::string_view bytes) { return std::string(bytes); }
std::string FileLineOfText(std::string_view text) { return std::string(text); }

} // namespace tarvok::platform
