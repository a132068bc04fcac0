// Win32 only. The host adapter against Winsock, kernel32 and the shell under Wine.
#include "app/HostHelpers.h"
#include "platform/win32/Win32Host.h"

#include <gtest/gtest.h>

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
