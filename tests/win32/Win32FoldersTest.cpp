// Win32 only. The folders adapter against kernel32 and the shell's folder calls under Wine.
#include "app/HostHelpers.h"
#include "app/SystemFolders.h"
#include "platform/win32/Win32Folders.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

TEST(Win32Folders, TheSystemFoldersAreNamedAndPathsComeFullAndLong)
{
    Win32Folders folders;
    auto named = folders.systemFolders();
    for (const char* expected : {"C:\\windows", "C:\\windows\\system32", "C:\\Program Files"})
        EXPECT_NE(std::find(named.begin(), named.end(), expected), named.end()) << expected;
    EXPECT_GE(named.size(), 7u) << "the profile, Desktop, Documents and application data too";

    char shortName[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameA("C:\\Program Files\\", shortName, MAX_PATH), 0u);
    ASSERT_STRNE(shortName, "C:\\Program Files\\");
    EXPECT_EQ(folders.fullLongPath(shortName), "C:\\Program Files\\");
    EXPECT_EQ(folders.fullLongPath("c:\\windows\\system32\\..\\"), "c:\\windows\\");
    EXPECT_EQ(folders.fullLongPath("C:\\no such\\folder\\"), "C:\\no such\\folder\\");
    EXPECT_EQ(folders.fullLongPath("C:\\"), "C:\\");
}

TEST(Win32Folders, PathsOfAnyLengthAndPrefixedOnesComeFullAndPlain)
{
    Win32Folders folders;
    const std::string beyond = std::string(150, 'x') + "\\" + std::string(150, 'y');
    const struct {
        std::string path;
        std::string full;
    } cases[] = {
        {"C:\\windows\\" + beyond + "\\..\\..\\", "C:\\windows\\"},
        {"C:\\windows\\temp\\" + beyond + "\\", "C:\\windows\\temp\\" + beyond + "\\"},
        {"C:\\windows\\.\\temp\\" + beyond + "\\..\\..\\" + beyond, "C:\\windows\\temp\\" + beyond},
        {"\\\\?\\C:\\windows\\", "C:\\windows\\"},
        {"\\\\.\\C:\\windows\\", "C:\\windows\\"},
        {"\\\\?\\UNC\\server\\share\\x", "\\\\server\\share\\x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(folders.fullLongPath(c.path), c.full) << c.path;
}

TEST(Win32Folders, TheGuardJudgesLongAndPrefixedFoldersByTheFolderTheyName)
{
    Win32Folders folders;
    SystemFolderGuard guard(folders);
    const std::string beyond = std::string(150, 'x') + "\\" + std::string(150, 'y');
    const struct {
        std::string folder;
        bool refused;
    } cases[] = {
        {"C:\\windows\\" + beyond + "\\..\\..", true},
        {"C:\\" + beyond + "\\..\\..\\", true},
        {"\\\\?\\C:\\windows", true},
        {"\\\\?\\C:\\", true},
        {"\\\\?\\UNC\\server\\share", true},
        {"C:\\windows\\temp\\" + beyond, false},
        {"C:\\" + beyond, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(guard.Refuses(c.folder), c.refused) << c.folder;
}

TEST(Win32Folders, TheWindowsDirectoryHasNoTrailingBackslash)
{
    Win32Folders folders;
    std::string dir = GetWindowsDir(folders);
    EXPECT_EQ(dir, "C:\\windows");
    EXPECT_EQ(folders.windowsDirectory(3), "");  // too small a buffer: nothing
}
