// The host service: the machine's name and addresses (Winsock 1.1), the Windows
// directory and the other folders of the system and the user, full paths, the code
// page's lead bytes, and the shell's "open". UI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The shell's show command for a normal window (SW_SHOWNORMAL).
inline constexpr int ShowNormal = 1;

class IHost {
public:
    virtual ~IHost() = default;

    // Winsock: start (asking for the version word), end.
    virtual void socketsStartup(std::uint16_t version) = 0;
    virtual void socketsCleanup() = 0;
    // The machine's host name, read into a buffer of bufferSize bytes; empty on failure.
    virtual std::string hostName(std::size_t bufferSize) = 0;
    // The IPv4 addresses of a host in dotted-decimal form, in the host entry's
    // order; nullopt when there is no host entry. An empty name is this machine,
    // as Winsock takes it.
    virtual std::optional<std::vector<std::string>> hostAddresses(const std::string& name) = 0;

    // The Windows directory, read into a buffer that holds maxChars characters; empty on failure.
    virtual std::string windowsDirectory(std::size_t maxChars) = 0;
    // The folders of the system and of the user that hold what must never be
    // emptied: the Windows and system directories and every folder the shell
    // names (Program Files, the profile, Desktop, Documents, Fonts, Favorites,
    // Start Menu, the common ones, ...) but the user's cookie, Internet cache
    // and history folders. Those the system cannot name are left out.
    virtual std::vector<std::string> systemFolders() = 0;
    // The path made absolute, with long names for the short ones of the parts
    // that exist; the path as given when it cannot be resolved.
    virtual std::string fullLongPath(const std::string& path) = 0;

    // Whether a byte starts a double-byte character in the ANSI code page.
    virtual bool isLeadByte(std::uint8_t byte) = 0;

    // Opens a document or address through the shell (an empty operation is the
    // default one); the result is the shell's own.
    virtual void shellOpen(const std::string& operation, const std::string& file, const std::string& parameters,
                           const std::string& directory, int showCommand) = 0;
};

} // namespace platform
