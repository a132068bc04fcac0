// Win32 only. The file search, through the wide calls; found names handed out
// as the program's ANSI text.
#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32Paths.h"

#include <cwchar>

namespace {

// Whether the short alternate name of a found entry, in the folder searched,
// opens that very entry (Wine's short names are hashes and may be shared).
bool alternateOpensEntry(const std::wstring& searched, const WIN32_FIND_DATAW& data)
{
    const std::size_t cut = searched.find_last_of(L"\\/:");
    const std::wstring folder = cut == std::wstring::npos ? std::wstring() : searched.substr(0, cut + 1);
    WIN32_FIND_DATAW check;
    ScopedFind find(::FindFirstFileW(win32paths::pathForWideCalls(folder + data.cAlternateFileName).c_str(), &check));
    return find && std::wcscmp(check.cFileName, data.cFileName) == 0;
}

// A found name as ANSI text. One with no exact form in the code page is given
// by its short alternate when that opens the same entry; otherwise with '?'
// for what has no form, which no call opens. A look-alike could name another file.
std::string nameOf(const std::wstring& searched, const WIN32_FIND_DATAW& data)
{
    if (std::optional<std::string> exact = win32paths::toAnsiExact(data.cFileName))
        return *exact;
    if (data.cAlternateFileName[0] != L'\0')
        if (std::optional<std::string> alternate = win32paths::toAnsiExact(data.cAlternateFileName);
            alternate && alternateOpensEntry(searched, data))
            return *alternate;
    return win32paths::toAnsiMarked(data.cFileName);
}

} // namespace

void Win32FileSystem::findFiles(const std::string& pattern,
                                const std::function<bool(const platform::FindEntry&)>& visit)
{
    // One entry at a time: the caller may delete what it has been shown.
    const std::wstring searched = win32paths::pathForWideCalls(pattern);
    WIN32_FIND_DATAW data;
    ScopedFind find(::FindFirstFileW(searched.c_str(), &data));
    if (!find)
        return;
    do {
        if (!visit({nameOf(searched, data), data.dwFileAttributes, data.nFileSizeLow}))
            return;
    } while (::FindNextFileW(find.get(), &data));
}
