// Win32 only. The folders adapter against kernel32 and the shell's folder calls under Wine.
#include "munch/SystemFolders.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Folders.h"
#include "win32/ScratchFolder.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>

TEST(Win32Folders, TheSystemFoldersAreNamed)
{
    Win32Folders folders;
    auto named = folders.systemFolders();
    for (const char* expected : {"C:\\windows", "C:\\windows\\system32", "C:\\Program Files"})
        EXPECT_NE(std::find(named.begin(), named.end(), expected), named.end()) << expected;
    EXPECT_GE(named.size(), 7u) << "the profile, Desktop, Documents and application data too";
}

TEST(Win32Folders, TheGuardJudgesEveryFolderWhereItReallyIs)
{
    Win32Folders folders;
    Win32FileSystem files;
    SystemFolderGuard guard(folders, files);
    char shell[MAX_PATH];
    auto shellFolder = [&](int csidl) {
        // Made when missing, as a browser or the user would make it.
        return ::SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, shell) == S_OK
                   ? std::string(shell)
                   : std::string();
    };
    ScratchFolder scratch;
    const std::string beyond = std::string(150, 'x') + "\\" + std::string(150, 'y');
    ::CreateDirectoryW(kernelPath(scratch.file(std::string(150, 'x'))).c_str(), nullptr);
    ::CreateDirectoryW(kernelPath(scratch.file(beyond)).c_str(), nullptr);
    std::string unixWindows;
    using UnixNameCall = char*(CDECL*)(LPCWSTR);
    if (auto unixName = reinterpret_cast<UnixNameCall>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")))) {
        char* name = unixName(L"C:\\windows");
        unixWindows = std::string("\\\\?\\unix") + name;
        ::HeapFree(::GetProcessHeap(), 0, name);
    }
    const struct {
        std::string folder;
        bool refused;
    } cases[] = {
        {"C:\\windows", true},
        {"c:\\WINDOWS\\system32\\..", true},
        {"\\\\?\\C:\\windows", true},
        {"\\??\\C:\\windows", true},
        {"C:\\windows\\" + beyond.substr(0, 150) + "\\..", true},
        {"C:\\", true},
        {"C:\\windows\\Fonts", true},
        {shellFolder(CSIDL_FAVORITES), true},
        {shellFolder(CSIDL_STARTMENU), true},
        {shellFolder(CSIDL_MYMUSIC), true},
        {shellFolder(CSIDL_COMMON_DOCUMENTS), true},
        {unixWindows, true},
        {shellFolder(CSIDL_COOKIES), false},
        {shellFolder(CSIDL_INTERNET_CACHE), false},
        {shellFolder(CSIDL_HISTORY), false},
        {scratch.path(), false},
        {scratch.file(beyond), false},
    };
    for (const auto& c : cases) {
        if (c.folder.empty())
            continue; // not to be had here
        const std::string where = files.finalPath(c.folder);
        ASSERT_FALSE(where.empty()) << c.folder;
        EXPECT_EQ(guard.Refuses(where), c.refused) << c.folder << " is " << where;
    }
}

TEST(Win32Folders, TheWindowsDirectoryHasNoTrailingBackslash)
{
    Win32Folders folders;
    EXPECT_EQ(folders.windowsDirectory(), "C:\\windows");
}

TEST(Win32Folders, TheShellNamesTheUsersCookieCacheAndApplicationDataFolders)
{
    struct Case {
        platform::ShellFolder folder;
        int csidl;
        const char* ending; // as a fresh prefix names it
    };
    Win32Folders folders;
    for (const Case& c : {Case{platform::ShellFolder::Cookies, CSIDL_COOKIES, "\\INetCookies"},
                          Case{platform::ShellFolder::InternetCache, CSIDL_INTERNET_CACHE, "\\INetCache"},
                          Case{platform::ShellFolder::RoamingAppData, CSIDL_APPDATA, "\\AppData\\Roaming"},
                          Case{platform::ShellFolder::LocalAppData, CSIDL_LOCAL_APPDATA, "\\AppData\\Local"}}) {
        char ansi[MAX_PATH] = {};
        ASSERT_EQ(::SHGetFolderPathA(nullptr, c.csidl, nullptr, SHGFP_TYPE_CURRENT, ansi), S_OK);
        const std::string named = folders.shellFolder(c.folder);
        EXPECT_EQ(named, ansi) << c.csidl;
        EXPECT_TRUE(named.ends_with(c.ending)) << named;
    }
}

TEST(Win32Folders, AShellFolderWithoutAnAnsiNameComesByItsShortName)
{
    // The cookie folder moved to a name the code page cannot spell ("ā").
    ScratchFolder scratch;
    const std::wstring wideFolder = std::wstring(scratch.path().begin(), scratch.path().end()) + L"\\\x0101-cookies";
    ASSERT_TRUE(::CreateDirectoryW(wideFolder.c_str(), nullptr));
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY userShellFolders = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &userShellFolders), ERROR_SUCCESS);
    wchar_t before[MAX_PATH] = {};
    DWORD size = sizeof before;
    DWORD type = 0;
    const bool hadValue =
        ::RegQueryValueExW(userShellFolders, L"Cookies", nullptr, &type, reinterpret_cast<BYTE*>(before), &size) == ERROR_SUCCESS;
    ::RegSetValueExW(userShellFolders, L"Cookies", 0, REG_SZ, reinterpret_cast<const BYTE*>(wideFolder.c_str()),
                     static_cast<DWORD>((wideFolder.size() + 1) * sizeof(wchar_t)));

    Win32Folders folders;
    const std::string named = folders.shellFolder(platform::ShellFolder::Cookies);

    if (hadValue)
        ::RegSetValueExW(userShellFolders, L"Cookies", 0, type, reinterpret_cast<const BYTE*>(before), size);
    else
        ::RegDeleteValueW(userShellFolders, L"Cookies");
    ::RegCloseKey(userShellFolders);

    wchar_t shortName[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameW(wideFolder.c_str(), shortName, MAX_PATH), 0u);
    EXPECT_EQ(named, std::string(shortName, shortName + std::wcslen(shortName)));
    EXPECT_EQ(named.find('?'), std::string::npos);
    const DWORD attributes = ::GetFileAttributesA(named.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Win32Folders, ADrivesKindIsToldWithoutReachingForANetwork)
{
    Win32Folders folders;
    // A letter the system has no drive for.
    std::string missing = "?:\\p";
    for (char letter = 'Z'; letter >= 'D'; --letter)
        if (!(::GetLogicalDrives() & (1u << (letter - 'A'))))
            missing[0] = letter;
    ASSERT_NE(missing[0], '?');
    using platform::DriveKind;
    const struct {
        std::string path;
        DriveKind kind;
    } cases[] = {
        {"C:\\windows", DriveKind::Fixed},
        {"c:", DriveKind::Fixed},
        {"\\\\?\\C:\\windows", DriveKind::Fixed},
        {"\\\\nomblet-nowhere\\share\\p", DriveKind::Network},
        {"//nomblet-nowhere/share", DriveKind::Network},
        {"\\\\?\\UNC\\nomblet-nowhere\\share\\p", DriveKind::Network},
        {missing, DriveKind::Unknown},
        {"relative\\p", DriveKind::Unknown},
        {"", DriveKind::Unknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(folders.driveKind(c.path), c.kind) << c.path;
}
