// A code page with settable lead bytes; none by default (a single-byte code page).
// Its single bytes are ISO 8859-1's (each byte the UTF-16 unit of its value, as
// code page 1252 has them above 0x9F); a double-byte character converts to nothing.
#pragma once

#include "platform/CodePage.h"

#include <algorithm>
#include <set>

class FakeCodePage final : public platform::ICodePage {
public:
    bool isLeadByte(std::uint8_t byte) override { return leadBytes.count(byte) != 0; }
    // Code page 932 (Japanese): "\x83\x5C" is "ソ", "\x95\x5C" is "表", "\x94\x5C" is "能".
    void useJapanese()
    {
        for (int byte = 0x81; byte <= 0xFC; ++byte)
            if (byte <= 0x9F || byte >= 0xE0)
                leadBytes.insert(static_cast<std::uint8_t>(byte));
    }

    std::optional<std::u16string> toUtf16(std::string_view text) override
    {
        if (std::any_of(text.begin(), text.end(), [this](char c) { return isLeadByte(static_cast<std::uint8_t>(c)); }))
            return std::nullopt;
        std::u16string out;
        for (char c : text)
            out += static_cast<char16_t>(static_cast<unsigned char>(c));
        return out;
    }
    std::optional<std::string> fromUtf16(std::u16string_view text) override
    {
        if (std::any_of(text.begin(), text.end(), [](char16_t c) { return c > 0xFF; }))
            return std::nullopt;
        return std::string(text.begin(), text.end());
    }

    std::set<std::uint8_t> leadBytes;
};
