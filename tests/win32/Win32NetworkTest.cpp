// Win32 only. The network adapter against Winsock under Wine.
#include "app/HostHelpers.h"
#include "platform/win32/Win32Network.h"

#include <gtest/gtest.h>

#include <regex>

TEST(Win32Network, TheMachineHasANameAndADottedAddress)
{
    Win32Network network;
    network.socketsStartup(257);
    std::string name = network.hostName(64);
    EXPECT_FALSE(name.empty());
    auto addresses = network.hostAddresses(name);
    network.socketsCleanup();
    ASSERT_TRUE(addresses.has_value());
    ASSERT_FALSE(addresses->empty());
    for (const std::string& address : *addresses)
        EXPECT_TRUE(std::regex_match(address, std::regex(R"(\d{1,3}\.\d{1,3}\.\d{1,3}\.\d{1,3})"))) << address;

    EXPECT_EQ(GetLocalIP(network), addresses->back());
}

TEST(Win32Network, AnEmptyNameIsThisMachine)
{
    // What the host helpers must not fall into when the machine's name cannot be had.
    Win32Network network;
    network.socketsStartup(257);
    auto addresses = network.hostAddresses("");
    network.socketsCleanup();
    ASSERT_TRUE(addresses.has_value());
    EXPECT_FALSE(addresses->empty());
}

TEST(Win32Network, AnUnknownHostHasNoEntry)
{
    Win32Network network;
    network.socketsStartup(257);
    EXPECT_FALSE(network.hostAddresses("no-such-host.invalid").has_value());
    network.socketsCleanup();
}
