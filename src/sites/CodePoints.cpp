// UTF-16 and UTF-8 as RFC 3629 and the Unicode standard define them, strictly.
#include "sites/CodePoints.h"

namespace {

constexpr char32_t planeStart = 0x10000;
constexpr char32_t lastCodePoint = 0x10FFFF;

bool isHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

std::optional<std::u32string> CodePointsOfUtf16(std::u16string_view text)
{
    std::u32string points;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            points += planeStart + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            return std::nullopt;
        } else {
            points += unit;
        }
    }
    return points;
}

std::u16string Utf16OfCodePoints(std::u32string_view text)
{
    std::u16string units;
    for (char32_t c : text) {
        if (c >= planeStart) {
            units += static_cast<char16_t>(0xD800 + ((c - planeStart) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((c - planeStart) & 0x3FF));
        } else {
            units += static_cast<char16_t>(c);
        }
    }
    return units;
}

std::optional<std::u16string> Utf16OfUtf8(std::string_view text)
{
    std::u32string points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80    ? 1
                                   : lead >= 0xF8 ? 0
                                   : lead >= 0xF0 ? 4
                                   : lead >= 0xE0 ? 3
                                   : lead >= 0xC0 ? 2
                                                  : 0;
        if (length == 0 || length > text.size() - i)
            return std::nullopt; // a continuation byte or no lead byte first, or a cut sequence
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        // The shortest form only, and scalar values only.
        constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, planeStart};
        if (c < smallest[length] || c > lastCodePoint || isHighSurrogate(c) || isLowSurrogate(c))
            return std::nullopt;
        points += c;
        i += length;
    }
    return Utf16OfCodePoints(points);
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    const int continuations = c < 0x800 ? 1 : c < planeStart ? 2 : 3;
    out += static_cast<char>((0xFF00 >> (continuations + 1)) | (c >> (6 * continuations)));
    for (int k = continuations - 1; k >= 0; --k)
        out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
}
