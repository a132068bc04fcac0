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

TEST(WindowsWildcard, MatchesLikeTheWindowsFileSearch)
{
    EXPECT_TRUE(platform::windowsWildcardMatch("*.*", "user@site[1].txt"));
    EXPECT_TRUE(platform::windowsWildcardMatch("*.*", "README"));
    EXPECT_TRUE(platform::windowsWildcardMatch("*", "README"));
    EXPECT_TRUE(platform::windowsWildcardMatch("*.TXT", "cookie.txt"));
    EXPECT_FALSE(platform::windowsWildcardMatch("*.txt", "cookie.txt.bak"));
    EXPECT_TRUE(platform::windowsWildcardMatch("?ndex.dat", "Index.DAT"));
    EXPECT_FALSE(platform::windowsWildcardMatch("?ndex.dat", "ndex.dat"));
    EXPECT_TRUE(platform::windowsWildcardMatch("a*b*c", "aXXbYYbc"));
    EXPECT_FALSE(platform::windowsWildcardMatch("a*b*c", "aXXbYYbd"));
    EXPECT_TRUE(platform::windowsWildcardMatch("readme.*", "README"));
    EXPECT_TRUE(platform::windowsWildcardMatch("index.dat", "INDEX.DAT"));
    EXPECT_FALSE(platform::windowsWildcardMatch("index.dat", "index.da"));
}

// POSIX names may hold "*" and "?": a "*" of the pattern stays the wildcard there
// (it once matched the name's "*" as a plain character and stopped).
TEST(WindowsWildcard, APatternStarStaysAWildcardOverAStarInTheName)
{
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    for (const Case& c : {Case{"*", "*a*b?c*.*", true}, Case{"*", "*", true}, Case{"a*", "a*bc", true},
                          Case{"*.txt", "*.txt", true}, Case{"*c", "*ab", false}, Case{"?*", "*", true}})
        EXPECT_EQ(platform::windowsWildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}
