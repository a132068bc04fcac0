// The code-page service: which bytes of the ANSI code page start a double-byte
// character. UI thread only.
#pragma once

#include <cstdint>

namespace platform {

class ICodePage {
public:
    virtual ~ICodePage() = default;

    // Whether a byte starts a double-byte character in the ANSI code page.
    virtual bool isLeadByte(std::uint8_t byte) = 0;
};

} // namespace platform
