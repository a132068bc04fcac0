// Looks up the generated compositions and combining classes, unpacked once
// into memory and found by binary searches.
#include "sites/Nfc.h"

#include "sites/PackedTable.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace nfctable {
extern const char compositions[];
extern const std::size_t compositionsSize;
extern const char classes[];
extern const std::size_t classesSize;
} // namespace nfctable

namespace {

struct TComposition {
    char32_t composite, first, second;
};

struct TClassRun {
    char32_t first, end;
    std::uint8_t value;
};

struct TTables {
    std::vector<TComposition> byComposite;
    std::vector<TComposition> byPair;
    std::vector<TClassRun> classes;
};

TTables unpacked()
{
    TTables tables;
    TPackedTable compositions(nfctable::compositions, nfctable::compositionsSize);
    for (char32_t composite = 0; !compositions.Done();) {
        composite += compositions.Varint();
        const char32_t first = compositions.Varint();
        tables.byComposite.push_back({composite, first, compositions.Varint()});
    }
    tables.byPair = tables.byComposite;
    std::sort(tables.byPair.begin(), tables.byPair.end(), [](const TComposition& a, const TComposition& b) {
        return a.first != b.first ? a.first < b.first : a.second < b.second;
    });
    TPackedTable classes(nfctable::classes, nfctable::classesSize);
    for (char32_t end = 0; !classes.Done();) {
        const char32_t first = end + classes.Varint();
        end = first + classes.Varint() + 1;
        tables.classes.push_back({first, end, classes.Byte()});
    }
    return tables;
}

const TTables& tables()
{
    static const TTables made = unpacked(); // read-only once made, on any thread
    return made;
}

// Hangul syllables, composed of their jamo by rule: a leading consonant, a
// vowel, and maybe a trailing consonant.
constexpr char32_t syllableBase = 0xAC00, leadingBase = 0x1100, vowelBase = 0x1161, trailingBase = 0x11A7;
constexpr char32_t leadingCount = 19, vowelCount = 21, trailingCount = 28;
constexpr char32_t syllableCount = leadingCount * vowelCount * trailingCount;

bool isSyllable(char32_t c)
{
    return c >= syllableBase && c < syllableBase + syllableCount;
}

std::uint8_t classOf(char32_t c)
{
    const std::vector<TClassRun>& runs = tables().classes;
    const auto after =
        std::upper_bound(runs.begin(), runs.end(), c, [](char32_t code, const TClassRun& run) { return code < run.first; });
    return after != runs.begin() && c < (after - 1)->end ? (after - 1)->value : 0;
}

void appendDecomposed(std::u32string& out, char32_t c)
{
    if (isSyllable(c)) {
        const char32_t index = c - syllableBase;
        out += leadingBase + index / (vowelCount * trailingCount);
        out += vowelBase + index % (vowelCount * trailingCount) / trailingCount;
        if (index % trailingCount != 0)
            out += trailingBase + index % trailingCount;
        return;
    }
    const std::vector<TComposition>& byComposite = tables().byComposite;
    const auto found = std::lower_bound(byComposite.begin(), byComposite.end(), c,
                                        [](const TComposition& entry, char32_t code) { return entry.composite < code; });
    if (found == byComposite.end() || found->composite != c) {
        out += c;
        return;
    }
    appendDecomposed(out, found->first);
    out += found->second;
}

std::optional<char32_t> composed(char32_t first, char32_t second)
{
    if (first >= leadingBase && first < leadingBase + leadingCount && second >= vowelBase &&
        second < vowelBase + vowelCount)
        return syllableBase + ((first - leadingBase) * vowelCount + second - vowelBase) * trailingCount;
    if (isSyllable(first) && (first - syllableBase) % trailingCount == 0 && second > trailingBase &&
        second < trailingBase + trailingCount)
        return first + (second - trailingBase);
    const std::vector<TComposition>& byPair = tables().byPair;
    const auto found = std::lower_bound(byPair.begin(), byPair.end(), TComposition{0, first, second},
                                        [](const TComposition& a, const TComposition& b) {
                                            return a.first != b.first ? a.first < b.first : a.second < b.second;
                                        });
    if (found == byPair.end() || found->first != first || found->second != second)
        return std::nullopt;
    return found->composite;
}

} // namespace

std::u32string NfcNormalized(std::u32string_view text)
{
    std::u32string out;
    for (char32_t c : text)
        appendDecomposed(out, c);
    // Canonical order: each run of marks sorted by class, stably.
    for (std::size_t i = 1; i < out.size(); ++i) {
        const std::uint8_t value = classOf(out[i]);
        for (std::size_t j = i; value != 0 && j > 0 && classOf(out[j - 1]) > value; --j)
            std::swap(out[j - 1], out[j]);
    }
    // Each character joins the last starter when no character between blocks it:
    // none of a class as high or of class 0.
    std::size_t written = 0, starter = 0;
    int lastClass = -1; // of the last character kept; -1: no starter yet
    for (const char32_t c : out) {
        const std::uint8_t value = classOf(c);
        if (lastClass >= 0 && (lastClass < value || lastClass == 0)) {
            if (const std::optional<char32_t> composite = composed(out[starter], c)) {
                out[starter] = *composite;
                continue;
            }
        }
        if (value == 0)
            starter = written;
        lastClass = value == 0 || lastClass >= 0 ? value : -1;
        out[written++] = c;
    }
    out.resize(written);
    return out;
}
