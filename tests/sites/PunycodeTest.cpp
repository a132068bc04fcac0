// Punycode's labels both ways, on names whose forms are published, and what is no Punycode.
#include "sites/Punycode.h"

#include <gtest/gtest.h>

TEST(Punycode, EncodesAndDecodesPublishedLabels)
{
    const std::pair<std::u16string, std::string> cases[] = {
        {u"b\u00FCcher", "bcher-kva"},
        {u"m\u00FCnchen", "mnchen-3ya"},
        {u"\u043F\u0440\u0438\u043C\u0435\u0440", "e1afmkfd"},
        {u"\u0440\u0444", "p1ai"},
        {u"\u6D4B\u8BD5", "0zwm56d"},
        {u"\u30C6\u30B9\u30C8", "zckzah"},
        {u"\u03B4\u03BF\u03BA\u03B9\u03BC\u03AE", "jxalpdlp"},
        // RFC 3492's sample (B), Chinese (simplified).
        {u"\u4ED6\u4EEC\u4E3A\u4EC0\u4E48\u4E0D\u8BF4\u4E2D\u6587", "ihqwcrb4cv8a8dqg056pqjye"},
        {u"abc", "abc-"},
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
    EXPECT_FALSE(PunycodeEncode(std::u16string{u'a', 0xD800}));
    EXPECT_FALSE(PunycodeDecode("ls8h")); // U+1F4A9, past the plane host names keep to
}
