#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace tarvok {

// Reads a whole line as a 32-bit integer the way the settings file has always
// been read: leading blanks, an optional sign, "$", "x" or "0x" for hexadecimal.
// Anything else (empty text, trailing blanks, other characters, a value that
// does not fit 32 bits) is unreadable.
std::optional<int32_t> ParseInteger(std::string_view text);

} // namespace tarvok
