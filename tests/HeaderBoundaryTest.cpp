// Windows headers stay in the Win32 layer: the portable core includes none,
// directly or through a Win32 adapter header.
#include "platform/PathText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

namespace fs = std::filesystem;

namespace {

bool isWindowsHeader(std::string header)
{
    static const std::set<std::string> names = {
        "windows.h", "windef.h", "winbase.h", "winuser.h", "wingdi.h", "winnt.h", "winreg.h", "winver.h",
        "shellapi.h", "shlobj.h", "shlwapi.h", "objbase.h", "ole2.h", "commdlg.h", "commctrl.h", "mmsystem.h",
        "wininet.h", "winsock.h", "winsock2.h", "ws2tcpip.h", "tchar.h", "process.h", "io.h", "direct.h"};
    header = platform::asciiLowered(header);
    return names.count(header) || header.rfind("platform/win32/", 0) == 0;
}

bool mayUseWindows(const fs::path& relative)
{
    std::string path = relative.generic_string();
    return path.rfind("platform/win32/", 0) == 0 || path == "main.cpp";
}

} // namespace

TEST(HeaderBoundary, OnlyTheWin32LayerAndWinMainIncludeWindowsHeaders)
{
    const fs::path src = fs::path(NOMBLET_SOURCE_DIR) / "src";
    const std::regex include(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])");
    std::vector<std::string> offenders;
    int scanned = 0;

    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const fs::path& path = entry.path();
        if (!entry.is_regular_file() || (path.extension() != ".h" && path.extension() != ".cpp"))
            continue;
        fs::path relative = fs::relative(path, src);
        if (mayUseWindows(relative))
            continue;
        ++scanned;
        std::ifstream in(path);
        std::string line;
        std::smatch match;
        while (std::getline(in, line))
            if (std::regex_search(line, match, include) && isWindowsHeader(match[1]))
                offenders.push_back(relative.generic_string() + ": " + line);
    }

    EXPECT_GT(scanned, 10) << "the source tree was not found";
    EXPECT_TRUE(offenders.empty()) << ::testing::PrintToString(offenders);
}

// The engine and the rules of site names know nothing of the window: no include
// runs from a lower room up to one above it.
TEST(HeaderBoundary, NoRoomIncludesTheRoomsAboveIt)
{
    const fs::path src = fs::path(NOMBLET_SOURCE_DIR) / "src";
    const std::vector<std::pair<std::string, std::vector<std::string>>> above = {
        {"munch", {"app/"}},
        {"sites", {"app/", "munch/"}},
        {"browserdata", {"app/", "munch/"}},
    };
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<std::string> offenders;
    for (const auto& [room, forbidden] : above) {
        for (const auto& entry : fs::recursive_directory_iterator(src / room)) {
            std::ifstream in(entry.path());
            std::string line;
            std::smatch match;
            while (std::getline(in, line))
                if (std::regex_search(line, match, include))
                    for (const std::string& prefix : forbidden)
                        if (match[1].str().rfind(prefix, 0) == 0)
                            offenders.push_back(fs::relative(entry.path(), src).generic_string() + ": " + line);
        }
    }
    EXPECT_TRUE(offenders.empty()) << ::testing::PrintToString(offenders);
}
