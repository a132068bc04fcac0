// The path text rules every file system and the program share.
#include "platform/PathText.h"

#include <gtest/gtest.h>

#include <cstring>

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
                          Case{"\xC4.txt", "\xE4.txt", false}, Case{"", "", true}}) {
        EXPECT_EQ(platform::sameIgnoringCase(c.a, c.b), c.same) << c.a << " / " << c.b;
        const std::wstring wideA(c.a, c.a + std::strlen(c.a)), wideB(c.b, c.b + std::strlen(c.b));
        EXPECT_EQ(platform::sameIgnoringCase(wideA, wideB), c.same) << c.a << " / " << c.b;
    }
    EXPECT_EQ(platform::asciiLowered("C:\\WINDOWS\\\xC4"), "c:\\windows\\\xC4");
}

TEST(PathText, DevicesAreKnownInAnyFolderWithAnyExtension)
{
    struct Case {
        const char* path;
        bool device;
    };
    for (const Case& c : {Case{"COM1", true}, Case{"com1.txt", true}, Case{"C:\\dir\\Com9.log.x", true},
                          Case{"C:\\dir\\lpt3", true}, Case{"nul", true}, Case{"C:\\x\\CON.dat", true},
                          Case{"prn", true}, Case{"AUX.", true}, Case{"C:\\a\\com1 .txt", true},
                          Case{"C:\\a\\COM1:", true}, Case{"C:/a/aux", true}, Case{"\\\\.\\C:\\x.txt", true},
                          Case{"//./pipe/x", true}, Case{"COM0", false}, Case{"COM10", false}, Case{"LPT", false},
                          Case{"C:\\con\\cookies.txt", false}, Case{"console.txt", false}, Case{"xcom1.txt", false},
                          Case{"C:\\dir\\cookies.txt", false}, Case{"\\\\?\\C:\\x.txt", false}, Case{"", false}})
        EXPECT_EQ(platform::opensDevice(c.path), c.device) << c.path;
}

TEST(PathText, AFinalPathIsTheListedEntryOnlyWhenItIsItsFolderAndThatVeryName)
{
    struct Case {
        const char* final;
        const char* folder;
        const char* name;
        bool same;
    };
    for (const Case& c : {
             Case{"\\\\?\\C:\\ie\\a.txt", "C:\\ie", "a.txt", true},
             Case{"C:\\IE\\A.TXT", "c:\\ie\\", "a.txt", true},                 // case and a trailing backslash
             Case{"\\\\?\\C:\\a.txt", "C:\\", "a.txt", true},                   // a root
             Case{"\\\\?\\UNC\\srv\\share\\a.txt", "\\\\srv\\share", "a.txt", true},
             Case{"\\\\?\\C:\\ie\\index.dat.", "\\\\?\\C:\\ie", "index.dat.", true},
             Case{"\\\\?\\C:\\ie\\index.dat", "C:\\ie", "index.dat.", false},   // another entry
             Case{"\\\\?\\C:\\canary\\target.txt", "C:\\ie", "flink.txt", false}, // a link's target
             Case{"\\\\?\\Z:\\dev\\ttyS0", "C:\\ie", "com1.txt", false},
             Case{"C:\\ie\\sub\\a.txt", "C:\\ie", "sub\\a.txt", false},         // not a listed name
             Case{"C:\\ie", "C:\\ie", "", false},
             Case{"C:\\ie\\..", "C:\\ie", "..", false},
         })
        EXPECT_EQ(platform::isEntryOf(c.final, c.folder, c.name), c.same) << c.final << " / " << c.folder << " + " << c.name;
}

TEST(PathText, APrefixBeforeADriveOrAShareGoesAndOnlyThen)
{
    struct Case {
        const char* path;
        const char* plain;
    };
    for (const Case& c : {Case{"\\\\?\\UNC\\srv\\s", "\\\\srv\\s"}, Case{"\\\\?\\unc\\srv", "\\\\srv"},
                          Case{"\\\\?\\C:\\x", "C:\\x"}, Case{"\\\\.\\c:\\x", "c:\\x"}, Case{"\\??\\C:\\x", "C:\\x"},
                          Case{"C:\\x", "C:\\x"}, Case{"\\\\srv\\s", "\\\\srv\\s"},
                          Case{"\\\\?\\Volume{1}\\x", "\\\\?\\Volume{1}\\x"}, Case{"\\\\.\\pipe\\x", "\\\\.\\pipe\\x"},
                          Case{"\\?.\\C:\\x", "\\?.\\C:\\x"}, Case{"\\\\?", "\\\\?"}}) {
        EXPECT_EQ(platform::withoutKernelPrefix(c.path), c.plain) << c.path;
        const std::wstring wide(c.path, c.path + std::strlen(c.path));
        EXPECT_EQ(platform::withoutKernelPrefix(wide), std::wstring(c.plain, c.plain + std::strlen(c.plain))) << c.path;
    }
}

TEST(PathText, OnlyADriveWithItsSeparatorOrTwoSeparatorsMakeAPathAbsolute)
{
    struct Case {
        const char* path;
        bool absolute;
    };
    for (const Case& c : {Case{"C:\\x", true}, Case{"C:/", true}, Case{"\\\\srv\\s", true}, Case{"//srv", true},
                          Case{"\\\\?\\C:\\x", true}, Case{"C:x", false}, Case{"C:", false}, Case{"\\x", false},
                          Case{"x\\y", false}, Case{"", false}}) {
        EXPECT_EQ(platform::isAbsolute(c.path), c.absolute) << c.path;
        EXPECT_EQ(platform::isAbsolute(std::wstring(c.path, c.path + std::strlen(c.path))), c.absolute) << c.path;
    }
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
