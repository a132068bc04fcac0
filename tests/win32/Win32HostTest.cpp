// Win32 only. The host adapter against Winsock, kernel32 and the shell under Wine.
#include "app/HostHelpers.h"
#include "app/SystemFolders.h"
#include "platform/win32/Win32Host.h"

#include <gtest/gtest.h>
#include <windows.h>

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
