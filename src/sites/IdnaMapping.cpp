// Looks up the IDNA mapping: the generated table's runs unpacked once into
// memory, found by a binary search on their first code points.
#include "sites/IdnaMapping.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace idnamapping {
extern const char packed[];
extern const std::size_t packedSize;
} // namespace idnamapping

namespace {

// The kinds of cmake/make_idna_mapping.py.
enum : std::uint8_t { kValid = 0, kDisallowed = 1, kIgnored = 2, kShifted = 3 };

struct TRun {
    char32_t first;
    std::uint8_t kind;     // a kind, or kShifted + the count of mapped characters
    std::int32_t argument; // kShifted: what is added; mapped: where its characters start
};

struct TMapping {
    std::vector<TRun> runs;
    std::u16string mapped; // the characters of every run mapped to a text
};

TMapping unpacked()
{
    TMapping mapping;
    std::size_t at = 0;
    auto varint = [&] {
        std::uint32_t value = 0;
        for (int shift = 0; at < idnamapping::packedSize && shift < 32; shift += 7) {
            const auto byte = static_cast<unsigned char>(idnamapping::packed[at++]);
            value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0)
                break;
        }
        return value;
    };
    char32_t first = 0;
    while (at < idnamapping::packedSize) {
        const std::uint32_t length = varint() + 1;
        TRun run{first, static_cast<std::uint8_t>(idnamapping::packed[at++]), 0};
        if (run.kind == kShifted) {
            const std::uint32_t zigzag = varint();
            const auto half = static_cast<std::int32_t>(zigzag / 2);
            run.argument = zigzag % 2 ? -half - 1 : half;
        } else if (run.kind > kShifted) {
            run.argument = static_cast<std::int32_t>(mapping.mapped.size());
            for (int count = run.kind - kShifted; count > 0; --count)
                mapping.mapped += static_cast<char16_t>(varint());
        }
        mapping.runs.push_back(run);
        first += length;
    }
    return mapping;
}

} // namespace

std::optional<std::u16string> IdnaMapped(std::u16string_view name)
{
    static const TMapping mapping = unpacked(); // read-only once made, on any thread
    std::u16string out;
    for (char16_t c : name) {
        if (c >= 0xD800 && c <= 0xDFFF)
            return std::nullopt;
        const auto after = std::upper_bound(mapping.runs.begin(), mapping.runs.end(), c,
                                            [](char16_t code, const TRun& run) { return code < run.first; });
        if (after == mapping.runs.begin())
            return std::nullopt;
        const TRun& run = *(after - 1);
        if (run.kind == kValid)
            out += c;
        else if (run.kind == kShifted)
            out += static_cast<char16_t>(c + run.argument);
        else if (run.kind > kShifted)
            out.append(mapping.mapped, static_cast<std::size_t>(run.argument), run.kind - kShifted);
        else if (run.kind == kDisallowed)
            return std::nullopt;
    }
    return out;
}
