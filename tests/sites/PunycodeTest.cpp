// Punycode's labels both ways, on names whose forms are published, and what is no Punycode.
#include "sites/Punycode.h"

#include <gtest/gtest.h>

TEST(Punycode, EncodesAndDecodesPublishedLabels)
{
    const std::pair<std::u32string, std::string> cases[] = {
        {U"b\u00FCcher", "bcher-kva"},
        {U"m\u00FCnchen", "mnchen-3ya"},
        {U"\u043F\u0440\u0438\u043C\u0435\u0440", "e1afmkfd"},
        {U"\u0440\u0444", "p1ai"},
        {U"\u6D4B\u8BD5", "0zwm56d"},
        {U"\u30C6\u30B9\u30C8", "zckzah"},
        {U"\u03B4\u03BF\u03BA\u03B9\u03BC\u03AE", "jxalpdlp"},
        // RFC 3492's sample (B), Chinese (simplified).
        {U"\u4ED6\u4EEC\u4E3A\u4EC0\u4E48\u4E0D\u8BF4\u4E2D\u6587", "ihqwcrb4cv8a8dqg056pqjye"},
        {U"abc", "abc-"},
        // Past U+FFFF: one code point each, not a surrogate pair.
        {U"\U0001F4A9", "ls8h"},
        {U"\U00020000\u00E9", "9ca1972x"},
    };
    for (const auto& [label, ascii] : cases) {
        EXPECT_EQ(PunycodeEncode(label), ascii);
        EXPECT_EQ(PunycodeDecode(ascii), label) << ascii;
    }
}

TEST(Punycode, RefusesWhatIsNoPunycode)
{
    for (const char* ascii : {"bcher-kv!", "bcher-k", "zzzzzzzzzzzzzzz", "b\xfc-kva", "99999999", "-kva"})
        EXPECT_FALSE(PunycodeDecode(ascii)) << ascii;
    for (const std::u32string& label : {std::u32string{U'a', 0xD800}, std::u32string{0x110000}})
        EXPECT_FALSE(PunycodeEncode(label));
    for (const char* ascii : {"ib9b", "en32g"}) // U+D800, and one past U+10FFFF
        EXPECT_FALSE(PunycodeDecode(ascii)) << ascii;
}
