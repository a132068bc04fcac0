// A code page with settable lead bytes; none by default (a single-byte code page).
#pragma once

#include "platform/CodePage.h"

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

    std::set<std::uint8_t> leadBytes;
};
