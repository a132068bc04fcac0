// Looks up the Public Suffix List: the generated table's rules (labels
// reversed, sorted, each the count of bytes shared with the one before and the
// rest) unpacked once into memory, every sixteenth whole, for a binary search.
#include "sites/PublicSuffixes.h"

#include "sites/CodePoints.h"
#include "sites/Punycode.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace publicsuffixes {
extern const char packed[];
extern const std::size_t packedSize;
extern const std::size_t ruleCount;
} // namespace publicsuffixes

namespace {

// The range decoder and the models of cmake/make_public_suffixes.py, bit for bit.
class TUnpacker {
public:
    TUnpacker() : probabilities_(models * 256, 1u << (probabilityBits - 1))
    {
        for (int i = 0; i < 5; ++i)
            code_ = (code_ << 8) | next();
    }
    static constexpr std::size_t firstCharacterModel = 256, sharedCountModel = 257;

    unsigned char Byte(std::size_t model)
    {
        std::uint16_t* probabilities = &probabilities_[model * 256];
        unsigned node = 1;
        while (node < 256)
            node = node * 2 + bit(probabilities[node]);
        return static_cast<unsigned char>(node - 256);
    }

private:
    static constexpr std::size_t models = 258;
    static constexpr unsigned probabilityBits = 11, adaptationShift = 4;

    std::uint32_t next()
    {
        return at_ < publicsuffixes::packedSize ? static_cast<unsigned char>(publicsuffixes::packed[at_++]) : 0;
    }
    unsigned bit(std::uint16_t& probability)
    {
        const std::uint32_t bound = (range_ >> probabilityBits) * probability;
        unsigned bit = 0;
        if (code_ < bound) {
            range_ = bound;
            probability += ((1u << probabilityBits) - probability) >> adaptationShift;
        } else {
            code_ -= bound;
            range_ -= bound;
            probability -= probability >> adaptationShift;
            bit = 1;
        }
        if (range_ < (1u << 24)) {
            range_ <<= 8;
            code_ = (code_ << 8) | next();
        }
        return bit;
    }

    std::vector<std::uint16_t> probabilities_;
    std::size_t at_ = 0;
    std::uint32_t code_ = 0, range_ = 0xFFFFFFFF;
};

struct TRules {
    std::string entries;               // each: the shared count, the rest, a 0
    std::vector<std::uint32_t> whole;  // where the entries that share nothing start
};

TRules unpacked()
{
    constexpr std::size_t rulesPerWhole = 16;
    TUnpacker in;
    TRules rules;
    std::string rule;
    for (std::size_t index = 0; index < publicsuffixes::ruleCount; ++index) {
        std::size_t shared = in.Byte(TUnpacker::sharedCountModel);
        rule.resize(std::min(shared, rule.size()));
        // Each byte by the model of the byte before it.
        while (const unsigned char c = in.Byte(rule.empty() ? TUnpacker::firstCharacterModel
                                                            : static_cast<unsigned char>(rule.back())))
            rule += static_cast<char>(c);
        if (index % rulesPerWhole == 0) {
            shared = 0;
            rules.whole.push_back(static_cast<std::uint32_t>(rules.entries.size()));
        }
        rules.entries += static_cast<char>(shared);
        rules.entries.append(rule, shared);
        rules.entries += '\0';
    }
    return rules;
}

bool listed(std::string_view rule)
{
    static const TRules rules = unpacked(); // read-only once made, on any thread
    const char* const base = rules.entries.c_str();
    // The last whole entry that is not past the rule looked for.
    std::size_t low = 0, high = rules.whole.size();
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (std::string_view(base + rules.whole[middle] + 1) <= rule)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == 0)
        return false;
    const char* at = base + rules.whole[low - 1];
    const char* const end = low < rules.whole.size() ? base + rules.whole[low] : base + rules.entries.size();
    char current[256]; // the rules are shorter, as the generator checks
    while (at < end) {
        const std::size_t shared = static_cast<unsigned char>(*at++);
        const std::string_view rest(at);
        if (shared + rest.size() > sizeof current)
            return false;
        rest.copy(current + shared, rest.size());
        at += rest.size() + 1;
        const std::string_view seen(current, shared + rest.size());
        if (seen >= rule)
            return seen == rule;
    }
    return false;
}

// A label as the list writes it: "xn--" labels in UTF-8 when they decode.
std::string listLabel(std::string_view label)
{
    constexpr std::string_view ace = "xn--";
    if (!label.starts_with(ace))
        return std::string(label);
    const auto decoded = PunycodeDecode(label.substr(ace.size()));
    if (!decoded)
        return std::string(label);
    std::string out;
    for (char32_t c : *decoded)
        AppendUtf8(out, c);
    return out;
}

} // namespace

std::size_t PublicSuffixLabels(std::string_view host)
{
    std::vector<std::string> labels; // the last first
    for (std::string_view rest = host; !rest.empty();) {
        const std::size_t dot = rest.rfind('.');
        labels.push_back(listLabel(dot == std::string_view::npos ? rest : rest.substr(dot + 1)));
        rest = dot == std::string_view::npos ? std::string_view() : rest.substr(0, dot);
    }
    std::size_t suffix = 0;
    std::string key; // the labels matched so far, reversed and joined
    for (std::size_t count = 1; count <= labels.size(); ++count) {
        const std::string& label = labels[count - 1];
        if (count > 1) {
            key += '.';
            const std::size_t joined = key.size();
            // An exception names a registrable name: its suffix is one label shorter.
            if (listed(key.append("!").append(label)))
                return count - 1;
            key.resize(joined);
            if (listed(key.append("*")))
                suffix = count;
            key.resize(joined);
        }
        if (listed(key.append(label)))
            suffix = count;
    }
    return suffix;
}
