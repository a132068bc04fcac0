// The shell service: opening a document or address. UI thread only.
#pragma once

#include <string>

namespace platform {

// The shell's show command for a normal window (SW_SHOWNORMAL).
inline constexpr int ShowNormal = 1;

class IShell {
public:
    virtual ~IShell() = default;

    // Opens a document or address through the shell (an empty operation is the
    // default one); the result is the shell's own.
    virtual void shellOpen(const std::string& operation, const std::string& file, const std::string& parameters,
                           const std::string& directory, int showCommand) = 0;
};

} // namespace platform
