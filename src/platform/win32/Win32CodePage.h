// Win32 only. The code-page service over kernel32.
#pragma once

#include "platform/CodePage.h"

class Win32CodePage final : public platform::ICodePage {
public:
    bool isLeadByte(std::uint8_t byte) override;
    std::optional<std::u16string> toUtf16(std::string_view text) override;
    std::optional<std::string> fromUtf16(std::u16string_view text) override;
};
