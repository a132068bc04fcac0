// A code page with settable lead bytes; none by default (a single-byte code page).
#pragma once

#include "platform/CodePage.h"

#include <set>

class FakeCodePage final : public platform::ICodePage {
public:
    bool isLeadByte(std::uint8_t byte) override { return leadBytes.count(byte) != 0; }

    std::set<std::uint8_t> leadBytes;
};
