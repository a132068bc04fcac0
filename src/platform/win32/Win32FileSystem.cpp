// Win32 only. File search, attributes, deletion and whole-file reads, through
// the wide calls, so that paths longer than the ANSI calls take work too.
#include "platform/win32/Win32FileSystem.h"

#include "platform/PathText.h"

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

// The longest path the wide calls take, in characters, with its terminating zero.
constexpr std::size_t longestPath = 32768;

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

std::uint32_t Win32FileSystem::attributes(const std::string& path)
{
    return ::GetFileAttributesW(win32paths::pathForWideCalls(path).c_str());
}

std::optional<std::uint64_t> Win32FileSystem::lastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(win32paths::pathForWideCalls(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return std::nullopt;
    return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

Win32FileSystem::Win32FileSystem() : Win32FileSystem(true) {}

Win32FileSystem::Win32FileSystem(bool useHandleCalls)
{
    if (!useHandleCalls)
        return;
    // Looked up, not imported: a system without them must still start the program.
    if (HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll")) {
        finalPathCall_ = reinterpret_cast<FinalPathCall>(
            reinterpret_cast<void*>(::GetProcAddress(kernel, "GetFinalPathNameByHandleW")));
        setInformationCall_ = reinterpret_cast<SetInformationCall>(
            reinterpret_cast<void*>(::GetProcAddress(kernel, "SetFileInformationByHandle")));
    }
    if (!finalPathCall_ || !setInformationCall_)
        finalPathCall_ = nullptr, setInformationCall_ = nullptr;
    if (HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll"))
        queryObjectCall_ =
            reinterpret_cast<QueryObjectCall>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQueryObject")));
}

std::wstring Win32FileSystem::finalPathOf(HANDLE handle) const
{
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = finalPathCall_(handle, final.data(), static_cast<DWORD>(final.size()), 0);
    if (length >= final.size()) {
        // Too small: the length asked for came back.
        final.assign(length + 1, L'\0');
        length = finalPathCall_(handle, final.data(), static_cast<DWORD>(final.size()), 0);
        if (length >= final.size())
            return {};
    }
    // Wine answers ERROR_MORE_DATA for any path beyond MAX_PATH; the kernel's
    // own name of the object is not so limited.
    if (length == 0)
        return ::GetLastError() == ERROR_MORE_DATA ? objectName(handle) : std::wstring();
    final.resize(length);
    return platform::withoutKernelPrefix(final);
}

std::wstring Win32FileSystem::objectName(HANDLE handle) const
{
    if (!queryObjectCall_)
        return {};
    // An OBJECT_NAME_INFORMATION: a counted string, then its characters.
    struct Name {
        USHORT length;
        USHORT maximumLength;
        PWSTR buffer;
    };
    std::vector<std::uint8_t> information(sizeof(Name) + longestPath * sizeof(wchar_t));
    ULONG returned = 0;
    constexpr int objectNameInformation = 1;
    if (queryObjectCall_(handle, objectNameInformation, information.data(), static_cast<ULONG>(information.size()),
                         &returned) != 0)
        return {};
    const Name* name = reinterpret_cast<const Name*>(information.data());
    const std::wstring text(name->buffer, name->length / sizeof(wchar_t));
    // Only a DOS path ("\??\C:\...", "\??\UNC\...") says where the entry is in the program's terms.
    const std::wstring plain = platform::withoutKernelPrefix(text);
    return text.compare(0, 4, L"\\??\\") == 0 && plain != text ? plain : std::wstring();
}

std::string Win32FileSystem::finalPath(const std::string& folder)
{
    const std::wstring path = win32paths::pathForWideCalls(folder);
    if (!finalPathCall_) {
        const std::wstring longer = win32paths::longPath(win32paths::fullPath(path));
        return longer.empty() ? std::string()
                              : win32paths::toAnsiExact(platform::withoutKernelPrefix(longer).c_str()).value_or("");
    }
    // Backup semantics: a folder opens too.
    ScopedFile handle(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const std::wstring final = handle ? finalPathOf(handle.get()) : std::wstring();
    return final.empty() ? std::string() : win32paths::toAnsiExact(final.c_str()).value_or("");
}

ScopedFile Win32FileSystem::openListed(const std::string& folder, const std::string& name, bool isFolder) const
{
    if (!platform::isListedName(name))
        return {};
    // Opened as links are followed everywhere (Wine follows a file link even
    // when asked not to), so a link's handle reports where it leads.
    const std::wstring path = win32paths::entryPath(folder, name);
    ScopedFile handle(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    isFolder ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr));
    if (!handle || !finalPathCall_)
        return handle; // no file links before Vista: the name, joined whole, is that entry
    // The entry itself reports the path it was opened by. A name shown by its
    // short alternate (it has no ANSI form) reports its long name instead.
    const std::wstring final = finalPathOf(handle.get());
    const std::wstring listed = platform::withoutKernelPrefix(path);
    if (final.empty() || (!platform::sameIgnoringCase(final, listed) &&
                          !platform::sameIgnoringCase(final, platform::withoutKernelPrefix(win32paths::longPath(listed)))))
        return {};
    if (isFolder) {
        // With backup semantics a file opens too.
        BY_HANDLE_FILE_INFORMATION information;
        if (!::GetFileInformationByHandle(handle.get(), &information) ||
            !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return {};
    }
    return handle;
}

bool Win32FileSystem::markForDeletion(HANDLE handle, bool deleted) const
{
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(deleted)};
    return setInformationCall_(handle, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

bool Win32FileSystem::deleteListed(const std::string& folder, const std::string& name, bool isFolder) const
{
    if (!platform::isListedName(name))
        return false;
    if (finalPathCall_) {
        const ScopedFile handle = openListed(folder, name, isFolder);
        return handle && markForDeletion(handle.get(), true);
    }
    // No file links before Vista: the name, joined whole, is that entry.
    const std::wstring path = win32paths::entryPath(folder, name);
    return (isFolder ? ::RemoveDirectoryW(path.c_str()) : ::DeleteFileW(path.c_str())) != FALSE;
}

bool Win32FileSystem::deleteFile(const std::string& folder, const std::string& name)
{
    return deleteListed(folder, name, false);
}

bool Win32FileSystem::removeDirectory(const std::string& folder, const std::string& name)
{
    return deleteListed(folder, name, true);
}

std::vector<ScopedFile> Win32FileSystem::openTogether(const std::string& folder,
                                                     const std::vector<std::string>& names) const
{
    std::vector<ScopedFile> handles;
    for (std::size_t i = 0; i < names.size(); ++i) {
        // One entry named twice would be marked twice and counted as two.
        for (std::size_t j = 0; j < i; ++j)
            if (platform::sameIgnoringCase(names[i], names[j]))
                return {};
        ScopedFile handle = openListed(folder, names[i], false);
        // A read-only file opens for deletion but refuses its mark: it is refused here,
        // before any other is marked.
        BY_HANDLE_FILE_INFORMATION information;
        if (!handle || !::GetFileInformationByHandle(handle.get(), &information) ||
            (information.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
            return {};
        handles.push_back(std::move(handle));
    }
    return handles;
}

bool Win32FileSystem::canDeleteTogether(const std::string& folder, const std::vector<std::string>& names)
{
    return !openTogether(folder, names).empty();
}

bool Win32FileSystem::deleteTogether(const std::string& folder, const std::vector<std::string>& names)
{
    const std::vector<ScopedFile> handles = openTogether(folder, names);
    if (handles.empty())
        return false;
    if (!setInformationCall_) {
        // Before Vista: each held open by us with delete sharing, so none can be
        // taken by another program between these deletes.
        bool all = true;
        for (const std::string& name : names)
            all &= ::DeleteFileW(win32paths::entryPath(folder, name).c_str()) != FALSE;
        return all;
    }
    for (std::size_t i = 0; i < handles.size(); ++i)
        if (!markForDeletion(handles[i].get(), true)) {
            // None is touched: the marks made are taken back before the handles close.
            while (i-- > 0)
                markForDeletion(handles[i].get(), false);
            return false;
        }
    return true;
}

namespace {

// Reads a file from its start: all of it when whole (failing when it is larger
// than limit or shrinks meanwhile), otherwise at most limit bytes.
platform::FileContent readFrom(const std::string& path, std::uint32_t limit, bool whole)
{
    ScopedFile file(::CreateFileW(win32paths::pathForWideCalls(path).c_str(), GENERIC_READ,
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
