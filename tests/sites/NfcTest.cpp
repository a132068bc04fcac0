// Normalization Form C on what a mapped name holds, against Python's unicodedata.normalize("NFC", ...).
#include "sites/Nfc.h"

#include <gtest/gtest.h>

TEST(Nfc, ComposesWhatACombiningSequenceMeansInCanonicalOrder)
{
    const std::pair<std::u32string, std::u32string> cases[] = {
        // A letter and its mark; marks of two classes in either order; a composed letter and a mark below.
        {U"e\u0301", U"\u00E9"}, {U"a\u0323\u0301", U"\u1EA1\u0301"}, {U"a\u0301\u0323", U"\u1EA1\u0301"},
        {U"\u00E9\u0323", U"\u1EB9\u0301"}, {U"u\u0308\u0304", U"\u01D6"}, {U"a\u0302\u0323\u0301", U"\u1EAD\u0301"},
        // Two marks of one class keep their order: only the first composes.
        {U"a\u0301\u0300", U"\u00E1\u0300"}, {U"a\u0300\u0301", U"\u00E0\u0301"},
        // Blocked by a mark of the same class between, not by one of a lower class; no base before a mark.
        {U"a\u0305\u0301", U"a\u0305\u0301"}, {U"a\u0305\u0323", U"\u1EA1\u0305"}, {U"\u0301e", U"\u0301e"},
        // Hangul jamo by rule, a syllable taking its trailing consonant, one that has one already.
        {U"\u1100\u1161", U"\uAC00"}, {U"\u1100\u1161\u11A8", U"\uAC01"}, {U"\uAC00\u11A8", U"\uAC01"},
        {U"\uD55C\u11AF", U"\uD55C\u11AF"}, {U"\u1100\u1100\u1161", U"\u1100\uAC00"},
        // Two starters composing (Oriya), a composed letter left whole, text past U+FFFF left as it is.
        {U"\u0B47\u0B3E", U"\u0B4B"}, {U"\u00FC", U"\u00FC"}, {U"\U0001D400\u0301", U"\U0001D400\u0301"},
        {U"example", U"example"}, {U"", U""},
    };
    for (const auto& [text, normalised] : cases) {
        EXPECT_EQ(NfcNormalized(text), normalised) << std::size(text);
        EXPECT_EQ(NfcNormalized(normalised), normalised);
    }
}
