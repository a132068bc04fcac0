// The search-name matching that the file systems share (the native one and the
// fake), against a plain reference: "*" any run, "?" any one byte, letters
// without regard to case, and a pattern ending in ".*" also matching the name
// without that ending. Then the file finder over a folder of the fuzzed names:
// it lists exactly the names the reference matches, never one that would
// point outside the folder, whether it walks or not.
#include "FuzzInput.h"
#include "browserdata/FileFinder.h"
#include "platform/PathText.h"
#include "support/FakeCodePage.h"
#include "support/FakeFileSystem.h"

#include <algorithm>
#include <vector>

namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// matches[i][j]: pattern from i matches name from j.
bool referenceMatch(const std::string& pattern, const std::string& name)
{
    const std::size_t p = pattern.size(), n = name.size();
    std::vector<std::vector<char>> matches(p + 1, std::vector<char>(n + 1, 0));
    matches[p][n] = 1;
    for (std::size_t i = p; i-- > 0;) {
        for (std::size_t j = n + 1; j-- > 0;) {
            if (pattern[i] == '*')
                matches[i][j] = matches[i + 1][j] || (j < n && matches[i][j + 1]);
            else if (j < n && (pattern[i] == '?' || lower(pattern[i]) == lower(name[j])))
                matches[i][j] = matches[i + 1][j + 1];
        }
    }
    return matches[0][0];
}

bool reference(const std::string& pattern, const std::string& name)
{
    if (referenceMatch(pattern, name))
        return true;
    return pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 &&
           referenceMatch(pattern.substr(0, pattern.size() - 2), name);
}

bool usableName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\:*?") == std::string::npos;
}

bool sameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::uint8_t mode = input.byte();
    const std::string pattern = input.text();
    std::vector<std::string> names;
    while (input.remaining() && names.size() < 16)
        names.push_back(input.text());

    for (const std::string& name : names)
        FUZZ_CHECK(platform::windowsWildcardMatch(pattern, name) == reference(pattern, name));

    // The finder takes the pattern as its filter when it is one name's pattern.
    if (pattern.empty() || pattern.find_first_of("\\:") != std::string::npos)
        return 0;
    FakeFileSystem files;
    FakeCodePage codePage;
    files.addFolder("C:\\dir");
    std::vector<std::string> added;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        if (!usableName(name) || std::any_of(added.begin(), added.end(), [&](auto& a) { return sameName(a, name); }))
            continue;
        if (mode & (1u << (i % 8)))
            files.addFolder("C:\\dir\\" + name);
        else
            files.addFile("C:\\dir\\" + name, "x");
        added.push_back(name);
    }

    TFileFinder finder(nullptr, files, codePage);
    finder.Directory = "C:\\dir";
    finder.Filter = pattern;
    finder.Attributes = 0x3F;
    finder.Recurse = (mode & 0x80) != 0;
    finder.Execute();

    std::vector<std::string> expected;
    for (const std::string& name : files.list("C:\\dir"))
        if (reference(pattern, name) && name.find('/') == std::string::npos)
            expected.push_back("C:\\dir\\" + name);
    FUZZ_CHECK(finder.Files() == expected);
    FUZZ_CHECK(std::size_t(finder.FileCount() + finder.DirCount()) == expected.size());
    return 0;
}
