// Win32 only. The network adapter against Winsock under Wine.
#include "platform/win32/Win32Network.h"

#include <gtest/gtest.h>

#include <regex>

TEST(Win32Network, TheMachineHasDottedAddresses)
{
    Win32Network network;
    const std::vector<std::string> addresses = network.machineAddresses();
    ASSERT_FALSE(addresses.empty());
    for (const std::string& address : addresses)
        EXPECT_TRUE(std::regex_match(address, std::regex(R"(\d{1,3}\.\d{1,3}\.\d{1,3}\.\d{1,3})"))) << address;
}
