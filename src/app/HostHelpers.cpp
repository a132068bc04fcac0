// Network, folder and shell helpers.
#include "app/HostHelpers.h"

#include <vector>

namespace {

constexpr std::uint16_t winsockVersion11 = 257;
constexpr std::size_t hostNameBuffer = 64;
constexpr std::size_t windowsDirBuffer = 256;

// Where the folder part of a path ends and the file part begins: the last
// backslash or colon that is a character of its own, not the second byte of a
// double-byte character. npos when there is none.
struct Delimiter {
    std::size_t position = std::string::npos;
    bool afterTrailByte = false; // the character before it is a double-byte one
};

Delimiter lastDelimiter(platform::ICodePage& codePage, const std::string& path)
{
    Delimiter found;
    bool previousWasDoubleByte = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        auto byte = static_cast<std::uint8_t>(path[i]);
        if (codePage.isLeadByte(byte) && i + 1 < path.size()) {
            ++i; // the trail byte may look like a backslash; it is not one
            previousWasDoubleByte = true;
            continue;
        }
        if (byte == '\\' || byte == ':')
            found = {i, previousWasDoubleByte};
        previousWasDoubleByte = false;
    }
    return found;
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A web or mail address: a scheme of two letters or more (one letter is a
// drive) followed by "://", or "mailto:".
bool isAddress(const std::string& target)
{
    std::size_t letters = 0;
    while (letters < target.size() && isAsciiLetter(target[letters]))
        ++letters;
    if (letters < 2 || target.compare(letters, 1, ":") != 0)
        return false;
    std::string scheme = target.substr(0, letters);
    for (char& c : scheme)
        c = static_cast<char>(c | 0x20);
    return scheme == "mailto" || target.compare(letters + 1, 2, "//") == 0;
}

} // namespace

std::string GetLocalIP(platform::INetwork& network)
{
    network.socketsStartup(winsockVersion11);
    std::string result;
    // Without a name there is nothing to look up: Winsock would take "" for this machine.
    std::string name = network.hostName(hostNameBuffer);
    auto addresses = name.empty() ? std::nullopt : network.hostAddresses(name);
    if (addresses && !addresses->empty())
        result = addresses->back();
    network.socketsCleanup();
    return result;
}

void OpenDocument(platform::IShell& shell, platform::ICodePage& codePage, const std::string& target)
{
    // Split at the scheme's colon, an address would reach the shell as a network path.
    if (isAddress(target)) {
        shell.shellOpen("Open", target, "", "", platform::ShowNormal);
        return;
    }
    std::string folder;
    std::string file = target;
    Delimiter d = lastDelimiter(codePage, target);
    if (d.position != std::string::npos) {
        char delimiter = target[d.position];
        bool keepsDelimiter = delimiter == ':' ||
                              (d.position > 0 && !d.afterTrailByte &&
                               (target[d.position - 1] == ':' || target[d.position - 1] == '\\'));
        folder = target.substr(0, keepsDelimiter ? d.position + 1 : d.position);
        file = target.substr(d.position + 1);
    }
    shell.shellOpen("Open", file, "", folder, platform::ShowNormal);
}

std::string GetWindowsDir(platform::IFolders& folders)
{
    return folders.windowsDirectory(windowsDirBuffer - 1);
}

std::string RightChars(platform::ICodePage& codePage, const std::string& s, int n)
{
    if (n <= 0)
        return {};
    // Where each character starts: a trail byte may look like a backslash.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size(); ++i) {
        starts.push_back(i);
        if (codePage.isLeadByte(static_cast<std::uint8_t>(s[i])) && i + 1 < s.size())
            ++i;
    }
    const auto count = static_cast<std::size_t>(n);
    return count >= starts.size() ? s : s.substr(starts[starts.size() - count]);
}
