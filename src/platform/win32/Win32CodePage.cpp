// Win32 only. Lead bytes of the ANSI code page, and its text to and from UTF-16.
#include "platform/win32/Win32CodePage.h"

#include <windows.h>

// The system's UTF-16 is wchar_t: the text is handed over as it lies.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

bool Win32CodePage::isLeadByte(std::uint8_t byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}

std::optional<std::u16string> Win32CodePage::toUtf16(std::string_view text)
{
    if (text.empty())
        return std::u16string();
    // No code page makes more than one UTF-16 unit of a byte.
    std::u16string result(text.size(), u'\0');
    const int written = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                              reinterpret_cast<wchar_t*>(result.data()),
                                              static_cast<int>(result.size()));
    if (written <= 0)
        return std::nullopt;
    result.resize(static_cast<std::size_t>(written));
    return result;
}

std::optional<std::string> Win32CodePage::fromUtf16(std::u16string_view text)
{
    if (text.empty())
        return std::string();
    // UTF-8 takes no best-fit flag and no default character: it fails on what it cannot carry.
    const bool utf8 = ::GetACP() == CP_UTF8;
    // Three bytes carry any UTF-16 unit in every code page the system uses.
    std::string result(text.size() * 3, '\0');
    BOOL usedDefault = FALSE;
    const int written = ::WideCharToMultiByte(CP_ACP, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS,
                                              reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), result.data(),
                                              static_cast<int>(result.size()), nullptr, utf8 ? nullptr : &usedDefault);
    if (written <= 0 || usedDefault)
        return std::nullopt;
    result.resize(static_cast<std::size_t>(written));
    return result;
}
