// Path text by characters: under code page 932 a second byte 0x5C is no
// backslash; without a code page every byte is a character of code page 1252.
#include "platform/PathChars.h"
#include "support/FakeCodePage.h"

#include <gtest/gtest.h>

TEST(PathChars, ASecondByteThatLooksLikeABackslashSeparatesNothing)
{
    FakeCodePage japanese;
    japanese.useJapanese();
    struct Case {
        const char* path;
        platform::ICodePage* codePage;
        const char* folder;
        const char* name;
        bool listed;
        bool endsWithBackslash;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"C:\\users\\\x83\x5C\x83\x6A\x81\x5B\\Cookies\\\x95\x5C.txt", &japanese,
              "C:\\users\\\x83\x5C\x83\x6A\x81\x5B\\Cookies\\", "\x95\x5C.txt", true, false},
             {"C:\\users\\\x83\x5C\x83\x6A\x81\x5B", &japanese, "C:\\users\\", "\x83\x5C\x83\x6A\x81\x5B", true, false},
             {"C:\\\x95\x5C", &japanese, "C:\\", "\x95\x5C", true, false},
             {"C:\\\x95\x5C\\", &japanese, "C:\\\x95\x5C\\", "", false, true},
             {"C:\x95", &japanese, "C:", "\x95", true, false}, // a lead byte at the end is a character of its own
             {"a\\b/c", &japanese, "a\\", "b/c", false, false},
             // Read by bytes, the same text is cut inside its characters.
             {"C:\\\x95\x5C.txt", nullptr, "C:\\\x95\x5C", ".txt", true, false},
             {"\x95\x5C", nullptr, "\x95\x5C", "", false, true},
         }) {
        const platform::PathParts parts = platform::splitPath(c.codePage, c.path);
        EXPECT_EQ(parts.folder, c.folder) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
        EXPECT_EQ(platform::isListedName(c.codePage, parts.name.empty() ? c.path : parts.name), c.listed) << c.path;
        EXPECT_EQ(platform::endsWithChar(c.codePage, c.path, '\\'), c.endsWithBackslash) << c.path;
    }
}

TEST(PathChars, NamesAreTheSameInAnyLetterCaseCharacterForCharacter)
{
    FakeCodePage japanese;
    japanese.useJapanese();
    struct Case {
        const char* a;
        const char* b;
        platform::ICodePage* codePage;
        bool same;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"Cookies\\A.TXT", "cookies\\a.txt", nullptr, true},
             {"\xC9t\xE9", "\xE9T\xC9", nullptr, true},          // "Été", "éTÉ"
             {"\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF", nullptr, true}, // Š Œ Ž Ÿ
             {"\xD7", "\xF7", nullptr, false},                   // × and ÷ are no letters
             {"\xDF", "\xFF", nullptr, false},
             {"\x83\x41", "\x83\x61", &japanese, false},         // two characters whose second bytes are A and a
             {"\xC9", "\xE9", &japanese, false},                 // single-byte katakana have no case
             {"\x83\x5C", "\x83\x5C", &japanese, true},
             {"ab", "abc", nullptr, false},
         }) {
        EXPECT_EQ(platform::sameName(c.codePage, c.a, c.b), c.same) << c.a << " " << c.b;
    }
}
