#include "platform/FileLineText.h"

#include "platform/Win32Files_win32.h"

#include <algorithm>
#include <optional>

namespace tarvok::platform {
namespace {

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::optional<std::wstring> WideFrom(UINT codePage, DWORD flags, std::string_view bytes)
{
    const int size = static_cast<int>(bytes.size());
    const int n = ::MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (n <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), n);
    return wide;
}

bool IsUtf8(std::string_view bytes) { return WideFrom(CP_UTF8, MB_ERR_INVALID_CHARS, bytes).has_value(); }

// The text in the ANSI code page, when every character has its own code
// there (no best-fit look-alike, no default character).
std::optional<std::string> InAnsiCodePage(const std::wstring& wide)
{
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int n =
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), n, nullptr, &usedDefault);
    if (usedDefault || WideFrom(CP_ACP, 0, bytes) != wide)
        return std::nullopt;
    return bytes;
}

} // namespace

std::string TextOfFileLine(std::string_view bytes)
{
    if (IsAscii(bytes) || IsUtf8(bytes))
        return std::string(bytes);
    const std::optional<std::wstring> wide = WideFrom(CP_ACP, 0, bytes);
    return wide ? win32::Utf8(*wide) : std::string(bytes);
}

std::string FileLineOfText(std::string_view text)
{
    if (IsAscii(text))
        return std::string(text);
    const std::optional<std::wstring> wide = WideFrom(CP_UTF8, MB_ERR_INVALID_CHARS, text);
    if (!wide)
        return std::string(text);
    const std::optional<std::string> ansi = InAnsiCodePage(*wide);
    // Bytes that are valid UTF-8 would be read back as UTF-8: unless they
    // are the text itself (a UTF-8 code page), they would read as another text.
    if (!ansi || (*ansi != text && IsUtf8(*ansi)))
        return std::string(text);
    return *ansi;
}

} // namespace tarvok::platform
