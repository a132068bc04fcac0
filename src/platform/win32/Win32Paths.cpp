// Win32 only. Paths between ANSI text and the wide file calls.
#include "platform/win32/Win32Paths.h"

#include "platform/PathText.h"

#include <cstring>
#include <cwchar>

namespace {

using platform::hasKernelPrefix;
using platform::isAbsolute;
using platform::isSeparator;

// The code page the ANSI file calls convert with.
UINT fileCodePage()
{
    return ::AreFileApisANSI() ? ::GetACP() : ::GetOEMCP();
}

bool isLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// Whether the plain (unprefixed) calls take a path of this length.
bool fitsPlainCalls(const std::wstring& path)
{
    return path.size() < MAX_PATH;
}

// Wide text in the file code page with the given flags; nullopt when the
// conversion fails or, where it can tell, a character has no exact form.
std::optional<std::string> toAnsi(const wchar_t* text, std::size_t length, DWORD flags, bool askExact)
{
    if (length == 0)
        return std::string();
    const UINT codePage = fileCodePage();
    // UTF-8 takes no best-fit flag and no default character: it fails on what it cannot carry.
    const bool utf8 = codePage == CP_UTF8;
    if (utf8)
        flags = askExact ? WC_ERR_INVALID_CHARS : 0;
    // Three bytes carry any UTF-16 unit in every code page the system uses.
    std::string result(length * 3, '\0');
    BOOL usedDefault = FALSE;
    int written = ::WideCharToMultiByte(codePage, flags, text, static_cast<int>(length), result.data(),
                                        static_cast<int>(result.size()), nullptr,
                                        askExact && !utf8 ? &usedDefault : nullptr);
    if (written <= 0 || usedDefault)
        return std::nullopt;
    result.resize(static_cast<std::size_t>(written));
    return result;
}

} // namespace

namespace win32paths {

std::wstring toWide(const std::string& text)
{
    const int length = static_cast<int>(std::strlen(text.c_str()));
    if (length == 0)
        return {};
    // No code page makes more than one UTF-16 unit of a byte.
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    int written = ::MultiByteToWideChar(fileCodePage(), 0, text.c_str(), length, result.data(), length);
    result.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return result;
}

std::optional<std::string> toAnsiExact(const wchar_t* text)
{
    return toAnsi(text, std::wcslen(text), WC_NO_BEST_FIT_CHARS, true);
}

std::string toAnsiMarked(const wchar_t* text)
{
    return toAnsi(text, std::wcslen(text), WC_NO_BEST_FIT_CHARS, false).value_or(std::string());
}

std::string toAnsiAsSystem(const std::wstring& text)
{
    return toAnsi(text.c_str(), text.size(), 0, false).value_or(std::string());
}

std::wstring fullPath(const std::wstring& path)
{
    // The size asked for includes the terminating zero; the length written does not.
    DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return {};
    std::wstring full(needed, L'\0');
    DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return {};
    full.resize(length);
    return full;
}

std::wstring withLongPrefix(const std::wstring& full)
{
    if (fitsPlainCalls(full) || hasKernelPrefix(full))
        return full;
    if (full.size() >= 3 && isSeparator(full[0]) && isSeparator(full[1]))
        return L"\\\\?\\UNC\\" + full.substr(2);
    if (full.size() >= 3 && isLetter(full[0]) && full[1] == L':' && isSeparator(full[2]))
        return L"\\\\?\\" + full;
    return full;
}

std::wstring kernelForm(const std::wstring& full)
{
    return full.compare(0, 2, L"\\\\") == 0 ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

std::size_t rootLength(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return 3;
    if (path.size() < 3 || path[0] != L'\\' || path[1] != L'\\')
        return std::wstring::npos;
    const std::size_t server = path.find(L'\\', 2);
    const std::size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
    return share == std::wstring::npos ? path.size() : share + 1;
}

std::wstring longPath(const std::wstring& full)
{
    if (full.empty())
        return {};
    const std::wstring asked = withLongPrefix(full);
    DWORD needed = ::GetLongPathNameW(asked.c_str(), nullptr, 0);
    if (needed == 0)
        return {};
    std::wstring longer(needed, L'\0');
    DWORD length = ::GetLongPathNameW(asked.c_str(), longer.data(), needed);
    longer.resize(length < needed ? length : 0);
    return longer;
}

std::wstring pathForWideCalls(const std::wstring& path)
{
    if (hasKernelPrefix(path) || (fitsPlainCalls(path) && isAbsolute(path)))
        return path;
    const std::wstring full = fullPath(path);
    if (full.empty())
        return path;
    if (fitsPlainCalls(full))
        return fitsPlainCalls(path) ? path : full;
    return withLongPrefix(full);
}

} // namespace win32paths
