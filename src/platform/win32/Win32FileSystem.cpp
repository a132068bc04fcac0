// Win32 only. File search, attributes, deletion and whole-file reads, through
// the wide calls, so that paths longer than the ANSI calls take work too.
#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32Paths.h"

#include <algorithm>
#include <cwchar>
#include <new>
#include <vector>

namespace {

// Whether the short alternate name of a found entry, in the folder searched,
// opens that very entry (Wine's short names are hashes and may be shared).
bool alternateOpensEntry(const std::wstring& searched, const WIN32_FIND_DATAW& data)
{
    const std::size_t cut = searched.find_last_of(L"\\/:");
    const std::wstring folder = cut == std::wstring::npos ? std::wstring() : searched.substr(0, cut + 1);
    WIN32_FIND_DATAW check;
    ScopedFind find(::FindFirstFileW(win32paths::systemPath(folder + data.cAlternateFileName).c_str(), &check));
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

platform::FileContent failure(DWORD error)
{
    platform::FileContent content;
    content.error = error;
    return content;
}

} // namespace

void Win32FileSystem::findFiles(const std::string& pattern,
                                const std::function<bool(const platform::FindEntry&)>& visit)
{
    // One entry at a time: the caller may delete what it has been shown.
    const std::wstring searched = win32paths::systemPath(pattern);
    WIN32_FIND_DATAW data;
    ScopedFind find(::FindFirstFileW(searched.c_str(), &data));
    if (!find)
        return;
    do {
        if (!visit({nameOf(searched, data), data.dwFileAttributes, data.nFileSizeLow}))
            return;
    } while (::FindNextFileW(find.get(), &data));
}

std::uint32_t Win32FileSystem::attributes(const std::string& path)
{
    return ::GetFileAttributesW(win32paths::systemPath(path).c_str());
}

std::optional<std::uint64_t> Win32FileSystem::lastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(win32paths::systemPath(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

bool Win32FileSystem::deleteFile(const std::string& path)
{
    return ::DeleteFileW(win32paths::systemPath(path).c_str()) != FALSE;
}

bool Win32FileSystem::removeDirectory(const std::string& path)
{
    return ::RemoveDirectoryW(win32paths::systemPath(path).c_str()) != FALSE;
}

namespace {

// Reads a file from its start: all of it when whole (failing when it is larger
// than limit or shrinks meanwhile), otherwise at most limit bytes.
platform::FileContent readFrom(const std::string& path, std::uint32_t limit, bool whole)
{
    ScopedFile file(::CreateFileW(win32paths::systemPath(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file)
        return failure(::GetLastError());

    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.get(), &size))
        return failure(::GetLastError());
    if (whole && size.QuadPart > limit)
        return failure(ERROR_NOT_ENOUGH_MEMORY);

    platform::FileContent content;
    try {
        content.bytes.resize(static_cast<std::size_t>(std::min<LONGLONG>(size.QuadPart, limit)));
    } catch (const std::bad_alloc&) {
        return failure(ERROR_NOT_ENOUGH_MEMORY);
    }
    if (!content.bytes.empty()) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), content.bytes.data(), static_cast<DWORD>(content.bytes.size()), &read, nullptr))
            return failure(::GetLastError());
        if (read != content.bytes.size()) {
            if (whole)
                return failure(ERROR_HANDLE_EOF); // the file shrank between sizing and reading
            content.bytes.resize(read);
        }
    }
    content.ok = true;
    return content;
}

} // namespace

platform::FileContent Win32FileSystem::readWholeFile(const std::string& path)
{
    // The program holds a sound's size in 32 signed bits.
    return readFrom(path, 0x7FFFFFFF, true);
}

platform::FileContent Win32FileSystem::readFileStart(const std::string& path, std::uint32_t maxBytes)
{
    return readFrom(path, maxBytes, false);
}

std::string Win32FileSystem::currentDirectory()
{
    DWORD needed = ::GetCurrentDirectoryA(0, nullptr);
    if (needed == 0)
        return {};
    std::vector<char> buffer(needed, '\0');
    DWORD length = ::GetCurrentDirectoryA(needed, buffer.data());
    if (length == 0 || length >= needed)
        return {};
    return std::string(buffer.data(), length);
}
