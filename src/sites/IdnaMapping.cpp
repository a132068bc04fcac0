// Looks up the IDNA mapping: the generated table's runs unpacked once into
// memory, found by a binary search on their first code points.
#include "sites/IdnaMapping.h"

#include "sites/PackedTable.h"

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
    std::u32string mapped; // the code points of every run mapped to a text
    char32_t end = 0;      // past the last run: past the last code point
};

TMapping unpacked()
{
    TMapping mapping;
    TPackedTable table(idnamapping::packed, idnamapping::packedSize);
    char32_t first = 0;
    while (!table.Done()) {
        const std::uint32_t length = table.Varint() + 1;
        TRun run{first, table.Byte(), 0};
        if (run.kind == kShifted) {
            const std::uint32_t zigzag = table.Varint();
            const auto half = static_cast<std::int32_t>(zigzag / 2);
            run.argument = zigzag % 2 ? -half - 1 : half;
        } else if (run.kind > kShifted) {
            run.argument = static_cast<std::int32_t>(mapping.mapped.size());
            for (int count = run.kind - kShifted; count > 0; --count)
                mapping.mapped += static_cast<char32_t>(table.Varint());
        }
        mapping.runs.push_back(run);
        first += length;
    }
    mapping.end = first;
    return mapping;
}

} // namespace

std::optional<std::u32string> IdnaMapped(std::u32string_view name)
{
    static const TMapping mapping = unpacked(); // read-only once made, on any thread
    std::u32string out;
    for (char32_t c : name) {
        if (c >= mapping.end)
            return std::nullopt; // the table holds every code point, surrogates as disallowed
        const auto after = std::upper_bound(mapping.runs.begin(), mapping.runs.end(), c,
                                            [](char32_t code, const TRun& run) { return code < run.first; });
        if (after == mapping.runs.begin())
            return std::nullopt;
        const TRun& run = *(after - 1);
        if (run.kind == kValid)
            out += c;
        else if (run.kind == kShifted)
            out += static_cast<char32_t>(c + run.argument);
        else if (run.kind > kShifted)
            out.append(mapping.mapped, static_cast<std::size_t>(run.argument), run.kind - kShifted);
        else if (run.kind == kDisallowed)
            return std::nullopt;
    }
    return out;
}
