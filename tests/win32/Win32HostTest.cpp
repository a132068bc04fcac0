// Win32 only. The host adapter against Winsock, kernel32 and the shell under Wine.
#include "app/HostHelpers.h"
#include "app/SystemFolders.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Host.h"
#include "win32/ScratchFolder.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
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

TEST(Win32Host, TheGuardJudgesEveryFolderWhereItReallyIs)
{
    Win32Host host;
    Win32FileSystem files;
    SystemFolderGuard guard(host, files);
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
