// Win32 only. The file-system service's set-up, attributes, times and final
// paths, through the wide calls, so that paths longer than the ANSI calls take
// work too. The delete rule is in Win32FileDeletes, the search in
// Win32FileListing, the reads in Win32FileReads.
#include "platform/win32/Win32FileSystem.h"

#include "platform/PathText.h"

#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32Paths.h"

#include <algorithm>
#include <vector>

using win32paths::kernelForm;
using win32paths::rootLength;

namespace {

// The longest path the wide calls take, in characters, with its terminating zero.
constexpr std::size_t longestPath = 32768;

// Final paths handed out in another form than their own, kept at most (a
// munch takes a handful: the cookie folder, the stores' folders).
constexpr std::size_t handedOutLimit = 64;

} // namespace

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
        compareOrdinalCall_ = reinterpret_cast<CompareOrdinalCall>(
            reinterpret_cast<void*>(::GetProcAddress(kernel, "CompareStringOrdinal")));
    }
    if (HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll")) {
        queryObjectCall_ =
            reinterpret_cast<QueryObjectCall>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQueryObject")));
        openFileCall_ = reinterpret_cast<OpenFileCall>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtOpenFile")));
    }
    if (!finalPathCall_ || !setInformationCall_ || !openFileCall_)
        finalPathCall_ = nullptr, setInformationCall_ = nullptr, openFileCall_ = nullptr;
}

bool Win32FileSystem::sameEntry(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b)
{
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
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
std::string Win32FileSystem::handOut(const std::wstring& final)
{
    if (std::optional<std::string> exact = win32paths::toAnsiExact(final.c_str()))
        return *exact;
    const std::size_t root = rootLength(final);
    std::optional<std::string> text =
        root == std::wstring::npos ? std::nullopt : win32paths::toAnsiExact(final.substr(0, root).c_str());
    if (!text)
        return {};
    std::wstring reached = final.substr(0, root);
    for (std::size_t start = root; start < final.size();) {
        const std::size_t end = std::min(final.find(L'\\', start), final.size());
        const std::wstring name = final.substr(start, end - start);
        std::optional<std::string> spelt = win32paths::toAnsiExact(name.c_str());
        if (!spelt) {
            // Its short name, when that opens this very entry (Wine's are
            // hashes and may be shared).
            WIN32_FIND_DATAW data, check;
            ScopedFind found(::FindFirstFileW(kernelForm(reached + name).c_str(), &data));
            if (!found || data.cAlternateFileName[0] == L'\0')
                return {};
            spelt = win32paths::toAnsiExact(data.cAlternateFileName);
            ScopedFind again(::FindFirstFileW(kernelForm(reached + data.cAlternateFileName).c_str(), &check));
            if (!spelt || !again || name != check.cFileName)
                return {};
        }
        *text += *spelt;
        reached += name;
        if (end < final.size()) {
            *text += '\\';
            reached += L'\\';
        }
        start = end + 1;
    }
    if (handedOut_.size() >= handedOutLimit)
        handedOut_.clear();
    handedOut_[*text] = final;
    return *text;
}

std::string Win32FileSystem::finalPath(const std::string& folder)
{
    const std::wstring path = win32paths::pathForWideCalls(folder);
    if (!finalPathCall_) {
        const std::wstring longer = win32paths::longPath(win32paths::fullPath(path));
        const std::wstring plain = platform::withoutKernelPrefix(longer);
        const std::size_t root = rootLength(plain);
        if (root == std::wstring::npos)
            return {};
        // Without final paths a junction cannot be told from the folder it
        // leads to: a folder that is one, or lies beyond one, is not taken.
        for (std::size_t cut = plain.find(L'\\', root);; cut = plain.find(L'\\', cut + 1)) {
            const DWORD found = ::GetFileAttributesW(kernelForm(plain.substr(0, cut)).c_str());
            if (found == INVALID_FILE_ATTRIBUTES || (found & FILE_ATTRIBUTE_REPARSE_POINT))
                return {};
            if (cut == std::wstring::npos)
                break;
        }
        return handOut(plain);
    }
    // Backup semantics: a folder opens too.
    constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    ScopedFile handle(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, shareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const std::wstring final = handle ? finalPathOf(handle.get()) : std::wstring();
    if (final.empty())
        return {};
    // Wine gives a name's trailing dots up in a final path: what is handed out
    // must open this very folder, not a sibling.
    ScopedFile again(::CreateFileW(kernelForm(final).c_str(), FILE_READ_ATTRIBUTES, shareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION opened, reopened;
    return again && ::GetFileInformationByHandle(handle.get(), &opened) &&
                   ::GetFileInformationByHandle(again.get(), &reopened) && sameEntry(opened, reopened)
               ? handOut(final)
               : std::string();
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
