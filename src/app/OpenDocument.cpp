// Opening a document or an address through the shell.
#include "app/OpenDocument.h"

#include <cstdint>

namespace {

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
