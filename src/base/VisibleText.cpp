#include "base/VisibleText.h"

#include <cstdio>

namespace tarvok {

std::string VisibleName(const std::string& name)
{
    std::string shown;
    shown.reserve(name.size());
    char escape[8];
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const auto next = i + 1 < name.size() ? static_cast<unsigned char>(name[i + 1]) : 0;
        if (c == '\n')
            shown += "\\n";
        else if (c == '\t')
            shown += "\\t";
        else if (c == '\r')
            shown += "\\r";
        else if (c < 0x20 || c == 0x7f) {
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            shown += escape;
        } else if (c == 0xc2 && next >= 0x80 && next <= 0x9f) { // U+0080 to U+009F in UTF-8
            std::snprintf(escape, sizeof escape, "\\u%04x", next);
            shown += escape;
            ++i;
        } else
            shown += name[i];
    }
    return shown;
}

} // namespace tarvok
