// Win32 only. The one rule of every delete: a listed entry opened for deletion
// by its folder and name joined whole, kept only when its final path is that
// path, and deleted through its handle.
#include "platform/win32/Win32FileSystem.h"

#include "platform/PathText.h"

#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32Paths.h"

#include <winternl.h>

#include <algorithm>

using win32paths::kernelForm;
using win32paths::rootLength;

namespace {

// Whether a wide name from a listing stands for an entry of its folder alone.
bool isListedWide(const std::wstring& name)
{
    return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"\\/") == std::wstring::npos;
}

// The path with each name past the first `from` characters that is the short
// name of an entry replaced by that entry's long name, as final paths give it.
std::wstring withLongNames(const std::wstring& path, std::size_t from)
{
    std::size_t start = std::max(from, rootLength(path));
    if (start > path.size())
        return path;
    std::wstring result = path.substr(0, start);
    while (start < path.size()) {
        if (path[start] == L'\\') {
            result += path[start++];
            continue;
        }
        const std::size_t end = std::min(path.find(L'\\', start), path.size());
        std::wstring name = path.substr(start, end - start);
        WIN32_FIND_DATAW data;
        if (name.find_first_of(L"*?") == std::wstring::npos) {
            ScopedFind find(::FindFirstFileW(kernelForm(result + name).c_str(), &data));
            if (find && data.cAlternateFileName[0] != L'\0' &&
                platform::sameIgnoringCase(std::wstring_view(data.cAlternateFileName), name))
                name = data.cFileName;
        }
        result += name;
        start = end;
    }
    return result;
}

} // namespace

std::wstring Win32FileSystem::wideFolder(const std::string& folder, std::size_t& known) const
{
    // The longest form handed out that the folder starts with, name for name.
    const std::pair<const std::string, std::wstring>* from = nullptr;
    for (const auto& pair : handedOut_)
        if (folder.compare(0, pair.first.size(), pair.first) == 0 &&
            (folder.size() == pair.first.size() || folder[pair.first.size()] == '\\') &&
            (!from || pair.first.size() > from->first.size()))
            from = &pair;
    known = from ? from->second.size() : 0;
    return from ? from->second + win32paths::toWide(folder.substr(from->first.size())) : win32paths::toWide(folder);
}

bool Win32FileSystem::sameName(const std::wstring& a, const std::wstring& b) const
{
    if (!compareOrdinalCall_)
        return platform::sameIgnoringCase(a, b);
    return compareOrdinalCall_(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring Win32FileSystem::listedPath(const std::string& folder, const std::string& name, std::size_t& known) const
{
    // Text the ANSI calls would cut at a zero names another entry.
    if (folder.find('\0') != std::string::npos || name.find('\0') != std::string::npos)
        return {};
    std::wstring path = platform::withoutKernelPrefix(wideFolder(folder, known));
    const std::wstring listed = win32paths::toWide(name);
    // By characters: a double-byte name's second byte may be a backslash's.
    if (rootLength(path) == std::wstring::npos || path.find(L'/') != std::wstring::npos || !isListedWide(listed))
        return {};
    if (path.back() != L'\\')
        path += L'\\';
    return path + listed;
}

ScopedFile Win32FileSystem::openForDeletion(const std::wstring& path, bool isFolder) const
{
    constexpr ULONG shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    std::wstring kernelPath = kernelForm(path);
    if (!openFileCall_)
        return ScopedFile(::CreateFileW(kernelPath.c_str(), DELETE | FILE_READ_ATTRIBUTES, shareAll, nullptr,
                                        OPEN_EXISTING, isFolder ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr));
    // The kernel's own open takes what the listing said: a folder opens only
    // as a folder and a file only as a file, with no look at attributes after.
    kernelPath[1] = L'?'; // "\??\", the kernel's name of "\\?\"
    if (kernelPath.size() * sizeof(wchar_t) > 0xFFFE)
        return {};
    UNICODE_STRING name{static_cast<USHORT>(kernelPath.size() * sizeof(wchar_t)),
                        static_cast<USHORT>(kernelPath.size() * sizeof(wchar_t)), kernelPath.data()};
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
    IO_STATUS_BLOCK status;
    HANDLE handle = INVALID_HANDLE_VALUE;
    const ULONG kind = isFolder ? FILE_DIRECTORY_FILE | FILE_OPEN_FOR_BACKUP_INTENT : FILE_NON_DIRECTORY_FILE;
    if (openFileCall_(&handle, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, &attributes, &status, shareAll,
                      kind | FILE_SYNCHRONOUS_IO_NONALERT) < 0)
        return {};
    return ScopedFile(handle);
}

ScopedFile Win32FileSystem::openListed(const std::string& folder, const std::string& name, bool isFolder) const
{
    std::size_t known = 0;
    const std::wstring expected = listedPath(folder, name, known);
    if (expected.empty())
        return {};
    // Opened as links are followed everywhere (Wine follows a file link even
    // when asked not to), so a link's handle reports where it leads.
    ScopedFile handle = openForDeletion(expected, isFolder);
    if (!handle || !finalPathCall_)
        return handle; // no file links before Vista: the name, joined whole, is that entry
    // The entry reports the path it was opened by; one shown by a short name
    // (it has no ANSI form) reports its long name instead.
    const std::wstring final = finalPathOf(handle.get());
    if (final.empty() || (!sameName(final, expected) && !sameName(final, withLongNames(expected, known))))
        return {};
    return handle;
}

bool Win32FileSystem::markForDeletion(HANDLE handle, bool deleted) const
{
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(deleted)};
    return setInformationCall_(handle, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

bool Win32FileSystem::deleteListed(const std::string& folder, const std::string& name, bool isFolder) const
{
    if (finalPathCall_) {
        const ScopedFile handle = openListed(folder, name, isFolder);
        return handle && markForDeletion(handle.get(), true);
    }
    // No file links before Vista: the name, joined whole, is that entry.
    std::size_t known = 0;
    const std::wstring path = listedPath(folder, name, known);
    return !path.empty() &&
           (isFolder ? ::RemoveDirectoryW(kernelForm(path).c_str()) : ::DeleteFileW(kernelForm(path).c_str())) != FALSE;
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
    std::vector<BY_HANDLE_FILE_INFORMATION> opened;
    for (const std::string& name : names) {
        ScopedFile handle = openListed(folder, name, false);
        // A read-only file opens for deletion but refuses its mark: it is refused here,
        // before any other is marked.
        BY_HANDLE_FILE_INFORMATION information;
        if (!handle || !::GetFileInformationByHandle(handle.get(), &information) ||
            (information.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
            return {};
        // One entry named twice (in any letter case) would be marked twice and counted as two.
        for (const BY_HANDLE_FILE_INFORMATION& earlier : opened)
            if (sameEntry(earlier, information))
                return {};
        handles.push_back(std::move(handle));
        opened.push_back(information);
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
        for (const std::string& name : names) {
            std::size_t known = 0;
            all &= ::DeleteFileW(kernelForm(listedPath(folder, name, known)).c_str()) != FALSE;
        }
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
