// The in-memory profile behaves as the real one where tests rely on it.
#include "support/FakeProfile.h"

#include <gtest/gtest.h>

TEST(FakeProfile, LooksUpSectionsAndKeysWithoutRegardToCase)
{
    FakeProfile profile;
    profile.set("a.ini", "Settings", "SoundsOn", "0");
    EXPECT_EQ(profile.readString("a.ini", "SETTINGS", "soundson", "1", 2048), "0");
    EXPECT_EQ(profile.readString("b.ini", "Settings", "SoundsOn", "1", 2048), "1");
}

TEST(FakeProfile, CutsValuesToTheBufferAndRefusesWritesOnDemand)
{
    FakeProfile profile;
    profile.set("a.ini", "S", "K", std::string(3000, 'x'));
    EXPECT_EQ(profile.readString("a.ini", "S", "K", "", 2048).size(), 2047u);

    profile.faults.failNth("writeString", 2);
    EXPECT_TRUE(profile.writeString("a.ini", "S", "One", "1"));
    EXPECT_FALSE(profile.writeString("a.ini", "S", "Two", "2"));
    EXPECT_FALSE(profile.get("a.ini", "S", "Two").has_value());
    EXPECT_EQ(profile.callsOf("writeString").size(), 2u);
}

// The cases and answers of Wine's GetPrivateProfileStringA on the same text.
TEST(FakeProfile, ReadsAFilesTextAsTheRealServiceDoes)
{
    FakeProfile profile;
    profile.loadText("a.ini", "; note\r\nOrphan=1\r\n[ Settings ]\r\n  SoundsOn =  0 \r\nSoundsOn=1\r\n"
                              "Wave=\"C:\\a b.wav\"\r\nnoequals\r\n[settings]\r\nAutoload=0\r\n[Other]\n[Other=1\nKey='x'");
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    for (const Case& c : {Case{"Settings", "SoundsOn", "0"}, Case{"Settings", "Wave", "C:\\a b.wav"},
                          Case{"Settings", "Autoload", "<missing>"}, Case{"Other", "Key", "x"},
                          Case{"Settings", "Orphan", "<missing>"}, Case{"Settings", "noequals", "<missing>"},
                          Case{"Other", "[Other", "1"}})
        EXPECT_EQ(profile.readString("a.ini", c.section, c.key, "<missing>", 2048), c.value) << c.key;
}
