// Text of names read as code points, and what is no text of its form.
#include "sites/CodePoints.h"

#include <gtest/gtest.h>

TEST(CodePoints, ReadsUtf16AndUtf8PastTheFirstPlaneAndRefusesWhatIsNoText)
{
    // UTF-8, its UTF-16 (nullopt: no UTF-8), and the code points of that.
    const std::tuple<std::string, std::optional<std::u16string>, std::u32string> cases[] = {
        {"b\xC3\xBC" "cher", u"b\u00FCcher", U"b\u00FCcher"},
        {"\xE6\xB5\x8B", u"\u6D4B", U"\u6D4B"},
        {"\xF0\x9F\x92\xA9.la", u"\U0001F4A9.la", U"\U0001F4A9.la"},
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF", U"\U0010FFFF"},
        {"", u"", U""},
        // Cut, a continuation first, overlong, an encoded surrogate, past U+10FFFF, a lead byte of no form.
        {"b\xC3", std::nullopt, U""}, {"\xBC", std::nullopt, U""}, {"\xC0\xAF", std::nullopt, U""},
        {"\xE0\x80\xAF", std::nullopt, U""}, {"\xED\xA0\xBD\xED\xB2\xA9", std::nullopt, U""},
        {"\xF4\x90\x80\x80", std::nullopt, U""}, {"\xF8\x88\x80\x80\x80", std::nullopt, U""},
        {"a\xC3(", std::nullopt, U""},
    };
    for (const auto& [utf8, utf16, points] : cases) {
        EXPECT_EQ(Utf16OfUtf8(utf8), utf16);
        if (!utf16)
            continue;
        EXPECT_EQ(CodePointsOfUtf16(*utf16), points);
        EXPECT_EQ(Utf16OfCodePoints(points), *utf16);
        std::string back;
        for (char32_t c : points)
            AppendUtf8(back, c);
        EXPECT_EQ(back, utf8);
    }
    for (const std::u16string& unpaired : {std::u16string{u'a', 0xD83D}, std::u16string{0xDCA9, u'a'},
                                           std::u16string{0xDCA9, 0xD83D}})
        EXPECT_FALSE(CodePointsOfUtf16(unpaired));
}
