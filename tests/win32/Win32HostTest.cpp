// Win32 only. The host adapter against Winsock, kernel32 and the shell under Wine.
#include "app/HostHelpers.h"
#include "app/SystemFolders.h"
#include "platform/win32/Win32Host.h"
#include "win32/ScratchFolder.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <regex>

TEST(Win32Host, TheMachineHasANameAndADottedAddress)
{
    Win32Host host;
    host.socketsStartup(257);
    std::string name = host.hostName(64);
    EXPECT_FALSE(name.empty());
    auto addresses = host.hostAddresses(name);
    host.socketsCleanup();
    ASSERT_TRUE(addresses.has_value());
    ASSERT_FALSE(addresses->empty());
    for (const std::string& address : *addresses)
        EXPECT_TRUE(std::regex_match(address, std::regex(R"(\d{1,3}\.\d{1,3}\.\d{1,3}\.\d{1,3})"))) << address;

    EXPECT_EQ(GetLocalIP(host), addresses->back());
}

TEST(Win32Host, AnEmptyNameIsThisMachine)
{
    // What the host helpers must not fall into when the machine's name cannot be had.
    Win32Host host;
    host.socketsStartup(257);
    auto addresses = host.hostAddresses("");
    host.socketsCleanup();
    ASSERT_TRUE(addresses.has_value());
    EXPECT_FALSE(addresses->empty());
}

TEST(Win32Host, TheSystemFoldersAreNamedAndPathsComeFullAndLong)
{
    Win32Host host;
    auto folders = host.systemFolders();
    for (const char* expected : {"C:\\windows", "C:\\windows\\system32", "C:\\Program Files"})
        EXPECT_NE(std::find(folders.begin(), folders.end(), expected), folders.end()) << expected;
    EXPECT_GE(folders.size(), 7u) << "the profile, Desktop, Documents and application data too";

    char shortName[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameA("C:\\Program Files\\", shortName, MAX_PATH), 0u);
    ASSERT_STRNE(shortName, "C:\\Program Files\\");
    EXPECT_EQ(host.fullLongPath(shortName), "C:\\Program Files\\");
    EXPECT_EQ(host.fullLongPath("c:\\windows\\system32\\..\\"), "c:\\windows\\");
    EXPECT_EQ(host.fullLongPath("C:\\no such\\folder\\"), "C:\\no such\\folder\\");
    EXPECT_EQ(host.fullLongPath("C:\\"), "C:\\");
}

TEST(Win32Host, PathsOfAnyLengthAndPrefixedOnesComeFullAndPlain)
{
    Win32Host host;
    const std::string beyond = std::string(150, 'x') + "\\" + std::string(150, 'y');
    const struct {
        std::string path;
        std::string full;
    } cases[] = {
        {"C:\\windows\\" + beyond + "\\..\\..\\", "C:\\windows\\"},
        {"C:\\windows\\temp\\" + beyond + "\\", "C:\\windows\\temp\\" + beyond + "\\"},
        {"C:\\windows\\.\\temp\\" + beyond + "\\..\\..\\" + beyond, "C:\\windows\\temp\\" + beyond},
        {"\\\\?\\C:\\windows\\", "C:\\windows\\"},
        {"\\\\.\\C:\\windows\\", "C:\\windows\\"},
        {"\\\\?\\UNC\\server\\share\\x", "\\\\server\\share\\x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(host.fullLongPath(c.path), c.full) << c.path;
}

TEST(Win32Host, TheGuardJudgesLongAndPrefixedFoldersByTheFolderTheyName)
{
    Win32Host host;
    SystemFolderGuard guard(host);
    const std::string beyond = std::string(150, 'x') + "\\" + std::string(150, 'y');
    const struct {
        std::string folder;
        bool refused;
    } cases[] = {
        {"C:\\windows\\" + beyond + "\\..\\..", true},
        {"C:\\" + beyond + "\\..\\..\\", true},
        {"\\\\?\\C:\\windows", true},
        {"\\\\?\\C:\\", true},
        {"\\\\?\\UNC\\server\\share", true},
        {"C:\\windows\\temp\\" + beyond, false},
        {"C:\\" + beyond, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(guard.Refuses(c.folder), c.refused) << c.folder;
}

TEST(Win32Host, AnUnknownHostHasNoEntry)
{
    Win32Host host;
    host.socketsStartup(257);
    EXPECT_FALSE(host.hostAddresses("no-such-host.invalid").has_value());
    host.socketsCleanup();
}

TEST(Win32Host, TheWindowsDirectoryHasNoTrailingBackslash)
{
    Win32Host host;
    std::string dir = GetWindowsDir(host);
    EXPECT_EQ(dir, "C:\\windows");
    EXPECT_EQ(host.windowsDirectory(3), "");  // too small a buffer: nothing
}

TEST(Win32Host, TheShellNamesTheUsersCookieCacheAndApplicationDataFolders)
{
    struct Case {
        platform::ShellFolder folder;
        int csidl;
        const char* ending; // as a fresh prefix names it
    };
    Win32Host host;
    for (const Case& c : {Case{platform::ShellFolder::Cookies, CSIDL_COOKIES, "\\INetCookies"},
                          Case{platform::ShellFolder::InternetCache, CSIDL_INTERNET_CACHE, "\\INetCache"},
                          Case{platform::ShellFolder::RoamingAppData, CSIDL_APPDATA, "\\AppData\\Roaming"},
                          Case{platform::ShellFolder::LocalAppData, CSIDL_LOCAL_APPDATA, "\\AppData\\Local"}}) {
        char ansi[MAX_PATH] = {};
        ASSERT_EQ(::SHGetFolderPathA(nullptr, c.csidl, nullptr, SHGFP_TYPE_CURRENT, ansi), S_OK);
        const std::string named = host.shellFolder(c.folder);
        EXPECT_EQ(named, ansi) << c.csidl;
        EXPECT_TRUE(named.ends_with(c.ending)) << named;
    }
}

TEST(Win32Host, AShellFolderWithoutAnAnsiNameComesByItsShortName)
{
    // The cookie folder moved to a name the code page cannot spell ("ā").
    ScratchFolder scratch;
    const std::wstring wideFolder = std::wstring(scratch.path().begin(), scratch.path().end()) + L"\\\x0101-cookies";
    ASSERT_TRUE(::CreateDirectoryW(wideFolder.c_str(), nullptr));
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY folders = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &folders), ERROR_SUCCESS);
    wchar_t before[MAX_PATH] = {};
    DWORD size = sizeof before;
    DWORD type = 0;
    const bool hadValue =
        ::RegQueryValueExW(folders, L"Cookies", nullptr, &type, reinterpret_cast<BYTE*>(before), &size) == ERROR_SUCCESS;
    ::RegSetValueExW(folders, L"Cookies", 0, REG_SZ, reinterpret_cast<const BYTE*>(wideFolder.c_str()),
                     static_cast<DWORD>((wideFolder.size() + 1) * sizeof(wchar_t)));

    Win32Host host;
    const std::string named = host.shellFolder(platform::ShellFolder::Cookies);

    if (hadValue)
        ::RegSetValueExW(folders, L"Cookies", 0, type, reinterpret_cast<const BYTE*>(before), size);
    else
        ::RegDeleteValueW(folders, L"Cookies");
    ::RegCloseKey(folders);

    wchar_t shortName[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameW(wideFolder.c_str(), shortName, MAX_PATH), 0u);
    EXPECT_EQ(named, std::string(shortName, shortName + std::wcslen(shortName)));
    EXPECT_EQ(named.find('?'), std::string::npos);
    const DWORD attributes = ::GetFileAttributesA(named.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
