// The folders service: the Windows directory, the other folders of the system
// and the user, and the folders the shell names. UI thread only.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Folders the shell names for the user.
enum class ShellFolder {
    Cookies,        // Internet Explorer's cookies
    InternetCache,  // Internet Explorer's cache
    RoamingAppData, // application data that follows the user
    LocalAppData,   // application data of this machine
};

// What kind of drive a path lies on.
enum class DriveKind {
    Fixed,     // a local disk that is always there
    Removable, // a floppy, card, stick or disc: it may have no medium in it
    Network,   // a mapped drive or a network path ("\\server\share\...")
    Unknown,   // no such drive, or a path that names none
};

class IFolders {
public:
    virtual ~IFolders() = default;

    // The Windows directory; empty on failure or when it is 255 characters or longer.
    virtual std::string windowsDirectory() = 0;
    // The folders of the system and of the user that hold what must never be
    // emptied: the Windows and system directories and every folder the shell
    // names (Program Files, the profile, Desktop, Documents, Fonts, Favorites,
    // Start Menu, the common ones, ...) but the user's cookie, Internet cache
    // and history folders. Those the system cannot name are left out.
    virtual std::vector<std::string> systemFolders() = 0;
    // A folder as the shell names it now; empty when it names none (an older
    // shell), or when the name has no exact ANSI form and no short one.
    virtual std::string shellFolder(ShellFolder folder) = 0;
    // The kind of drive a path ("C:\...", "\\server\...", either with "\\?\")
    // lies on, told without reaching the drive's medium or the network.
    virtual DriveKind driveKind(const std::string& path) = 0;
};

} // namespace platform
