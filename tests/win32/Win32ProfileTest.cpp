// Win32 only. The private-profile adapter reading files that other programs wrote
// (the rules every profile keeps are in contracts/ProfileContract.h).
#include "platform/win32/Win32Profile.h"
#include "win32/ScratchFolder.h"

#include <gtest/gtest.h>

TEST(Win32Profile, WritingOneKeyLeavesTheOthersOfTheFileAlone)
{
    ScratchFolder folder;
    std::string ini = folder.file("mixed.ini");
    writeWholeFile(ini, "[Other]\r\nKeep=this\r\n[Settings]\r\nExtra=1\r\nSoundsOn=1\r\n");
    Win32Profile profile;

    ASSERT_TRUE(profile.writeString(ini, "Settings", "SoundsOn", "0"));
    EXPECT_EQ(profile.readString(ini, "Settings", "SoundsOn", "", 2048), "0");
    EXPECT_EQ(profile.readString(ini, "Settings", "Extra", "", 2048), "1");
    EXPECT_EQ(profile.readString(ini, "Other", "Keep", "", 2048), "this");
}

TEST(Win32Profile, SectionsAndKeysAreFoundWhateverTheirLetterCase)
{
    ScratchFolder folder;
    std::string ini = folder.file("case.ini");
    writeWholeFile(ini, "[SETTINGS]\r\nsoundson=0\r\n");
    Win32Profile profile;
    EXPECT_EQ(profile.readString(ini, "Settings", "SoundsOn", "1", 2048), "0");
}

TEST(Win32Profile, CarriageReturnsAloneEndLinesToo)
{
    ScratchFolder folder;
    std::string ini = folder.file("cr.ini");
    writeWholeFile(ini, "[Settings]\rSoundsOn=0\rMunchICQ=0\r");
    Win32Profile profile;
    EXPECT_EQ(profile.readString(ini, "Settings", "SoundsOn", "fallback", 2048), "0");
    EXPECT_EQ(profile.readString(ini, "Settings", "MunchICQ", "fallback", 2048), "0");
    ASSERT_TRUE(profile.writeString(ini, "Settings", "SoundsOn", "1"));
    EXPECT_EQ(profile.readString(ini, "Settings", "SoundsOn", "fallback", 2048), "1");
    EXPECT_EQ(profile.readString(ini, "Settings", "MunchICQ", "fallback", 2048), "0");
}
