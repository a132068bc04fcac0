// Punycode (RFC 3492), with its parameters for host names.
#include "sites/Punycode.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

constexpr std::uint32_t base = 36;
constexpr std::uint32_t tMin = 1;
constexpr std::uint32_t tMax = 26;
constexpr std::uint32_t skew = 38;
constexpr std::uint32_t damp = 700;
constexpr std::uint32_t initialBias = 72;
constexpr std::uint32_t initialN = 0x80;
constexpr std::uint32_t largest = std::numeric_limits<std::uint32_t>::max();

char digitChar(std::uint32_t digit)
{
    return static_cast<char>(digit < 26 ? 'a' + digit : '0' + digit - 26);
}

// base (no digit) for a character that is none.
std::uint32_t digitValue(char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<std::uint32_t>(c - 'a');
    if (c >= 'A' && c <= 'Z')
        return static_cast<std::uint32_t>(c - 'A');
    if (c >= '0' && c <= '9')
        return static_cast<std::uint32_t>(c - '0') + 26;
    return base;
}

// The threshold of the digit at k.
std::uint32_t threshold(std::uint32_t k, std::uint32_t bias)
{
    return k <= bias ? tMin : k >= bias + tMax ? tMax : k - bias;
}

std::uint32_t adapt(std::uint32_t delta, std::uint32_t points, bool first)
{
    delta = first ? delta / damp : delta / 2;
    delta += delta / points;
    std::uint32_t k = 0;
    while (delta > ((base - tMin) * tMax) / 2) {
        delta /= base - tMin;
        k += base;
    }
    return k + (base - tMin + 1) * delta / (delta + skew);
}

// Whether a number is no code point a label may hold.
bool isNoScalar(std::uint32_t c)
{
    return (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF;
}

} // namespace

std::optional<std::string> PunycodeEncode(std::u32string_view label)
{
    if (std::any_of(label.begin(), label.end(), isNoScalar))
        return std::nullopt;
    std::string out;
    for (char32_t c : label)
        if (c < initialN)
            out += static_cast<char>(c);
    const auto basic = static_cast<std::uint32_t>(out.size());
    if (basic > 0)
        out += '-';
    std::uint32_t n = initialN, delta = 0, bias = initialBias;
    for (std::uint32_t handled = basic; handled < label.size();) {
        std::uint32_t next = largest;
        for (char32_t c : label)
            if (c >= n && c < next)
                next = c;
        if (next - n > (largest - delta) / (handled + 1))
            return std::nullopt;
        delta += (next - n) * (handled + 1);
        n = next;
        for (char32_t c : label) {
            if (c < n && ++delta == 0)
                return std::nullopt;
            if (c != n)
                continue;
            std::uint32_t q = delta;
            for (std::uint32_t k = base;; k += base) {
                const std::uint32_t t = threshold(k, bias);
                if (q < t)
                    break;
                out += digitChar(t + (q - t) % (base - t));
                q = (q - t) / (base - t);
            }
            out += digitChar(q);
            bias = adapt(delta, handled + 1, handled == basic);
            delta = 0;
            ++handled;
        }
        ++delta;
        ++n;
    }
    return out;
}

std::optional<std::u32string> PunycodeDecode(std::string_view ascii)
{
    const std::size_t delimiter = ascii.rfind('-');
    std::u32string out;
    std::size_t at = 0;
    // The basic characters come before the last delimiter; with none, a
    // delimiter in front is no delimiter, and is read (and refused) as a digit.
    if (delimiter != std::string_view::npos && delimiter > 0) {
        for (char c : ascii.substr(0, delimiter)) {
            if (static_cast<unsigned char>(c) >= initialN)
                return std::nullopt;
            out += static_cast<char32_t>(c);
        }
        at = delimiter + 1;
    }
    std::uint32_t n = initialN, i = 0, bias = initialBias;
    while (at < ascii.size()) {
        const std::uint32_t before = i;
        std::uint32_t weight = 1;
        for (std::uint32_t k = base;; k += base) {
            if (at == ascii.size())
                return std::nullopt; // a number cut short
            const std::uint32_t digit = digitValue(ascii[at++]);
            if (digit >= base || digit > (largest - i) / weight)
                return std::nullopt;
            i += digit * weight;
            const std::uint32_t t = threshold(k, bias);
            if (digit < t)
                break;
            if (weight > largest / (base - t))
                return std::nullopt;
            weight *= base - t;
        }
        const auto length = static_cast<std::uint32_t>(out.size() + 1);
        bias = adapt(i - before, length, before == 0);
        if (i / length > largest - n)
            return std::nullopt;
        n += i / length;
        i %= length;
        if (isNoScalar(n))
            return std::nullopt;
        out.insert(out.begin() + i, static_cast<char32_t>(n));
        ++i;
    }
    return out;
}
