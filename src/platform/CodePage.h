// The code-page service: the ANSI code page's lead bytes, and text between it
// and UTF-16. UI thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class ICodePage {
public:
    virtual ~ICodePage() = default;

    // Whether a byte starts a double-byte character in the ANSI code page.
    virtual bool isLeadByte(std::uint8_t byte) = 0;

    // ANSI text in UTF-16; nullopt when a byte is no character of the code page.
    virtual std::optional<std::u16string> toUtf16(std::string_view text) = 0;

    // UTF-16 text in the ANSI code page; nullopt when a character has no exact
    // form there (none is put in its place).
    virtual std::optional<std::string> fromUtf16(std::u16string_view text) = 0;
};

} // namespace platform
