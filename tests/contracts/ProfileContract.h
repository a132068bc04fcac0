// What every private-profile service promises the program, run against each
// implementation. A world gives the service and file paths in a folder of
// its own (file); writeIntoMissingFolder() answers "" for a world that can
// refuse such a write, or why it cannot model one.
#pragma once

#include "contracts/WorldNames.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

template <typename World>
class ProfileContract : public testing::Test {
protected:
    platform::IProfile& profile() { return world.profile(); }
    World world;
};

TYPED_TEST_SUITE_P(ProfileContract);

TYPED_TEST_P(ProfileContract, WrittenKeysReadBackAndWhatIsMissingGivesTheFallback)
{
    const std::string ini = this->world.file("scratch.ini");
    platform::IProfile& profile = this->profile();
    ASSERT_TRUE(profile.writeString(ini, "Cookie File", "Name", "C:\\net\\cookies.txt"));
    ASSERT_TRUE(profile.writeString(ini, "Settings", "SoundsOn", "1"));

    struct Case {
        std::string file, section, key, fallback, expected;
    };
    for (const Case& c : {Case{ini, "Cookie File", "Name", "x", "C:\\net\\cookies.txt"},
                          Case{ini, "cookie file", "NAME", "x", "C:\\net\\cookies.txt"},
                          Case{ini, "Cookie File", "Missing", "fallback", "fallback"},
                          Case{ini, "No Section", "Name", "", ""},
                          Case{this->world.file("absent.ini"), "A", "B", "1", "1"}})
        EXPECT_EQ(profile.readString(c.file, c.section, c.key, c.fallback, 2048), c.expected)
            << c.section << "/" << c.key;
}

TYPED_TEST_P(ProfileContract, WritingOneKeyLeavesTheOthersAlone)
{
    const std::string ini = this->world.file("mixed.ini");
    platform::IProfile& profile = this->profile();
    ASSERT_TRUE(profile.writeString(ini, "Other", "Keep", "this"));
    ASSERT_TRUE(profile.writeString(ini, "Settings", "Extra", "1"));
    ASSERT_TRUE(profile.writeString(ini, "Settings", "SoundsOn", "1"));
    ASSERT_TRUE(profile.writeString(ini, "settings", "soundson", "0"));
    EXPECT_EQ(profile.readString(ini, "Settings", "SoundsOn", "", 2048), "0");
    EXPECT_EQ(profile.readString(ini, "Settings", "Extra", "", 2048), "1");
    EXPECT_EQ(profile.readString(ini, "Other", "Keep", "", 2048), "this");
}

TYPED_TEST_P(ProfileContract, LongValuesAreCutToTheBuffer)
{
    const std::string ini = this->world.file("long.ini");
    ASSERT_TRUE(this->profile().writeString(ini, "S", "Long", std::string(3000, 'v')));
    EXPECT_EQ(this->profile().readString(ini, "S", "Long", "", 2048), std::string(2047, 'v'));
    EXPECT_EQ(this->profile().readString(ini, "S", "Long", "", 5), "vvvv");
}

TYPED_TEST_P(ProfileContract, ASectionListsItsKeyNamesInOrderHoweverMany)
{
    const std::string ini = this->world.file("names.ini");
    platform::IProfile& profile = this->profile();
    ASSERT_TRUE(profile.writeString(ini, "Before", "Elsewhere", "1"));
    std::vector<std::string> written; // more than the real service's first buffer holds
    for (int i = 0; i < 600; ++i) {
        written.push_back("site" + std::to_string(i) + ".example.com");
        ASSERT_TRUE(profile.writeString(ini, "Keep Sites", written.back(), "1"));
    }
    EXPECT_EQ(profile.readKeyNames(ini, "keep sites"), written);
    EXPECT_TRUE(profile.readKeyNames(ini, "Missing").empty());
    EXPECT_TRUE(profile.readKeyNames(this->world.file("absent.ini"), "Keep Sites").empty());
}

TYPED_TEST_P(ProfileContract, RemovingAKeyRemovesThatOneKeyOnly)
{
    const std::string ini = this->world.file("remove.ini");
    platform::IProfile& profile = this->profile();
    for (const char* key : {"a.com", "Example.com", "b.com"})
        ASSERT_TRUE(profile.writeString(ini, "Keep Sites", key, "1"));
    ASSERT_TRUE(profile.writeString(ini, "Other", "example.com", "1"));
    EXPECT_TRUE(profile.removeKey(ini, "keep sites", "EXAMPLE.COM"));
    EXPECT_TRUE(profile.removeKey(ini, "Keep Sites", "never.there"));
    EXPECT_TRUE(profile.removeKey(ini, "No Section", "a.com"));
    EXPECT_EQ(profile.readKeyNames(ini, "Keep Sites"), (std::vector<std::string>{"a.com", "b.com"}));
    EXPECT_EQ(profile.readString(ini, "Other", "example.com", "", 2048), "1");
}

TYPED_TEST_P(ProfileContract, AWriteIntoAMissingFolderIsRefused)
{
    if (const std::string cannot = this->world.writeIntoMissingFolder(); !cannot.empty())
        GTEST_SKIP() << cannot;
    EXPECT_FALSE(this->profile().writeString(this->world.file("no such folder\\x.ini"), "S", "K", "V"));
}

REGISTER_TYPED_TEST_SUITE_P(ProfileContract, WrittenKeysReadBackAndWhatIsMissingGivesTheFallback,
                            WritingOneKeyLeavesTheOthersAlone, LongValuesAreCutToTheBuffer,
                            ASectionListsItsKeyNamesInOrderHoweverMany, RemovingAKeyRemovesThatOneKeyOnly,
                            AWriteIntoAMissingFolderIsRefused);
