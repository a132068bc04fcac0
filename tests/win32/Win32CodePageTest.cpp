// Win32 only. The code page's text to and from UTF-16 under Wine (code page 1252).
#include "platform/win32/Win32CodePage.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(Win32CodePage, ConvertsTextExactlyOrNotAtAll)
{
    if (::GetACP() != 1252)
        GTEST_SKIP() << "the cases are code page 1252's; this system's is " << ::GetACP();
    Win32CodePage codePage;
    const std::pair<std::string, std::u16string> both[] = {
        {"", u""}, {"b\xfc" "cher.Example", u"b\u00FCcher.Example"}, {"\x80\xe9", u"\u20AC\u00E9"}};
    for (const auto& [ansi, wide] : both) {
        EXPECT_EQ(codePage.toUtf16(ansi), wide) << ansi;
        EXPECT_EQ(codePage.fromUtf16(wide), ansi) << ansi;
    }
    // No exact form: Cyrillic, and a letter the system would print as a plain "A".
    for (std::u16string wide : {u"\u043F\u0440", u"\u0100b"})
        EXPECT_FALSE(codePage.fromUtf16(wide));
}
