// OpenDocument's split of any text, on a single-byte and a double-byte code
// page: exactly one request reaches the shell; a web or mail address goes
// whole; a path is cut at its last backslash or colon that is a character of
// its own, the file part holding no separator, the folder part ending on a
// whole character, and the two parts giving the path back (the folder
// keeps a colon, and a backslash only after a colon or a backslash).
#include "FuzzInput.h"
#include "app/OpenDocument.h"
#include "support/FakeCodePage.h"
#include "support/FakeShell.h"

namespace {

bool letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool looksLikeAddress(const std::string& s)
{
    std::size_t n = 0;
    while (n < s.size() && letter(s[n]))
        ++n;
    if (n < 2 || n >= s.size() || s[n] != ':')
        return false;
    std::string scheme;
    for (std::size_t i = 0; i < n; ++i)
        scheme += static_cast<char>(s[i] | 0x20);
    return scheme == "mailto" || s.compare(n + 1, 2, "//") == 0;
}

// Where each character of s starts.
std::vector<bool> characterStarts(const FakeCodePage& codePage, const std::string& s)
{
    std::vector<bool> starts(s.size() + 1, false);
    for (std::size_t i = 0; i < s.size(); ++i) {
        starts[i] = true;
        if (codePage.leadBytes.count(static_cast<std::uint8_t>(s[i])) && i + 1 < s.size())
            ++i;
    }
    starts[s.size()] = true;
    return starts;
}

bool holdsSeparator(const std::vector<bool>& starts, const std::string& s, std::size_t from)
{
    for (std::size_t i = from; i < s.size(); ++i)
        if (starts[i] && (s[i] == '\\' || s[i] == ':'))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    FakeShell shell;
    FakeCodePage codePage;
    if (input.byte() & 1)
        for (int b = 0x81; b <= 0xFE; ++b)
            if (b <= 0x9F || b >= 0xE0)
                codePage.leadBytes.insert(static_cast<std::uint8_t>(b)); // Shift JIS
    const std::string target = input.rest();

    OpenDocument(shell, codePage, target);
    auto opened = shell.callsOf("shellOpen");
    FUZZ_CHECK(opened.size() == 1);
    const std::string& file = opened[0].args[1];
    const std::string& folder = opened[0].args[3];
    FUZZ_CHECK(opened[0].args[0] == "Open" && opened[0].args[2].empty());
    if (looksLikeAddress(target)) {
        FUZZ_CHECK(file == target && folder.empty());
        return 0;
    }

    auto starts = characterStarts(codePage, target);
    FUZZ_CHECK(folder.size() <= target.size() && target.compare(0, folder.size(), folder) == 0);
    FUZZ_CHECK(starts[folder.size()]);
    FUZZ_CHECK(target.size() >= file.size() &&
               target.compare(target.size() - file.size(), file.size(), file) == 0);
    std::size_t fileStart = target.size() - file.size();
    FUZZ_CHECK(starts[fileStart]);
    FUZZ_CHECK(!holdsSeparator(starts, target, fileStart));
    if (fileStart == 0) {
        FUZZ_CHECK(folder.empty());
    } else {
        // Only the separator before the file is between the parts, and only a backslash may be dropped.
        std::size_t separator = fileStart - 1;
        FUZZ_CHECK(starts[separator] && (target[separator] == '\\' || target[separator] == ':'));
        // A colon stays, and so does a backslash that follows a colon or a
        // backslash (a drive root, the start of a network path).
        bool keeps = target[separator] == ':' ||
                     (separator > 0 && starts[separator - 1] &&
                      (target[separator - 1] == ':' || target[separator - 1] == '\\'));
        FUZZ_CHECK(folder.size() == (keeps ? fileStart : separator));
    }
    return 0;
}
