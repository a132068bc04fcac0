// Win32 only. The Windows directory, the system's folders and the shell's.
#include "platform/win32/Win32Folders.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/PathText.h"
#include "platform/win32/Win32Paths.h"

#include <cstring>

std::string Win32Folders::windowsDirectory()
{
    // The program has always asked with room for 255 characters, the
    // terminating zero among them; a longer name gives nothing.
    constexpr UINT maxChars = 255;
    std::string buffer(maxChars + 1, '\0');
    ::GetWindowsDirectoryA(buffer.data(), maxChars);
    return buffer.substr(0, buffer.find('\0'));
}

std::vector<std::string> Win32Folders::systemFolders()
{
    std::vector<std::string> folders;
    auto keep = [&](const char* text, UINT length) {
        if (length > 0 && length < MAX_PATH)
            folders.emplace_back(text, length);
    };
    char buffer[MAX_PATH];
    keep(buffer, ::GetWindowsDirectoryA(buffer, MAX_PATH));
    keep(buffer, ::GetSystemDirectoryA(buffer, MAX_PATH));
    keep(buffer, ::GetSystemWindowsDirectoryA(buffer, MAX_PATH));
    // Every folder the shell names, but the three that hold what a browser
    // leaves behind: the user's cookies, Internet cache and history.
    for (int csidl = CSIDL_DESKTOP; csidl <= CSIDL_COMPUTERSNEARME; ++csidl)
        if (csidl != CSIDL_COOKIES && csidl != CSIDL_INTERNET_CACHE && csidl != CSIDL_HISTORY &&
            ::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer) == S_OK)
            keep(buffer, static_cast<UINT>(std::strlen(buffer)));
    return folders;
}

std::string Win32Folders::shellFolder(platform::ShellFolder folder)
{
    int csidl = CSIDL_COOKIES;
    switch (folder) {
    case platform::ShellFolder::Cookies: csidl = CSIDL_COOKIES; break;
    case platform::ShellFolder::InternetCache: csidl = CSIDL_INTERNET_CACHE; break;
    case platform::ShellFolder::RoamingAppData: csidl = CSIDL_APPDATA; break;
    case platform::ShellFolder::LocalAppData: csidl = CSIDL_LOCAL_APPDATA; break;
    }
    // The wide call, so that a user name the code page cannot spell still
    // gives a folder: by its short name, as the file system gives such names.
    wchar_t wide[MAX_PATH];
    if (::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, wide) == S_OK && wide[0] != L'\0') {
        if (std::optional<std::string> exact = win32paths::toAnsiExact(wide))
            return *exact;
        wchar_t shortened[MAX_PATH];
        DWORD length = ::GetShortPathNameW(wide, shortened, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            if (std::optional<std::string> exact = win32paths::toAnsiExact(shortened))
                return *exact;
        return {};
    }
    // Windows 9x answers only the ANSI call.
    char ansi[MAX_PATH];
    if (::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, ansi) == S_OK)
        return ansi;
    return {};
}

platform::DriveKind Win32Folders::driveKind(const std::string& path)
{
    const std::string plain = platform::withoutKernelPrefix(path);
    // A network path is one without asking: asking would reach for the server.
    if (plain.size() >= 2 && (plain[0] == '\\' || plain[0] == '/') && (plain[1] == '\\' || plain[1] == '/'))
        return platform::DriveKind::Network;
    const char letter = platform::asciiLower(plain.empty() ? '\0' : plain[0]);
    if (plain.size() < 2 || plain[1] != ':' || letter < 'a' || letter > 'z')
        return platform::DriveKind::Unknown;
    // The drive's type as the system keeps it: no medium is read.
    const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
    switch (::GetDriveTypeW(root)) {
    case DRIVE_FIXED:
    case DRIVE_RAMDISK: return platform::DriveKind::Fixed;
    case DRIVE_REMOVABLE:
    case DRIVE_CDROM: return platform::DriveKind::Removable;
    case DRIVE_REMOTE: return platform::DriveKind::Network;
    default: return platform::DriveKind::Unknown;
    }
}
