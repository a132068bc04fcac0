// The path text rules every file system and the program share.
#include "platform/PathText.h"

#include <gtest/gtest.h>

TEST(PathText, APathSplitsAfterItsLastBackslashOrColon)
{
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
    };
    for (const Case& c : {Case{"C:\\a\\b.txt", "C:\\a\\", "b.txt"}, Case{"C:b.txt", "C:", "b.txt"},
                          Case{"C:\\a\\", "C:\\a\\", ""}, Case{"b.txt", "", "b.txt"}, Case{"", "", ""},
                          Case{"a:b\\c:d", "a:b\\c:", "d"}}) {
        const platform::PathParts parts = platform::splitPath(c.path);
        EXPECT_EQ(parts.folder, c.folder) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
    }
}

TEST(PathText, OnlyAToZAreLoweredWhateverTheLocale)
{
    std::string lowered;
    for (char c : std::string("AZaz@[\xC4\xE4"))
        lowered += platform::asciiLower(c);
    EXPECT_EQ(lowered, "azaz@[\xC4\xE4");
}

TEST(PathText, NamesCompareWithOnlyAToZFolded)
{
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    for (const Case& c : {Case{"INDEX.DAT", "index.dat", true}, Case{"index.da", "index.dat", false},
                          Case{"\xC4.txt", "\xE4.txt", false}, Case{"", "", true}})
        EXPECT_EQ(platform::sameIgnoringCase(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(platform::asciiLowered("C:\\WINDOWS\\\xC4"), "c:\\windows\\\xC4");
}
