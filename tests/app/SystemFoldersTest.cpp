// The folders the munch cycle never empties: roots, the system's and the user's
// folders, and everything above them, however the path is spelt.
#include "app/SystemFolders.h"

#include "support/FakeFolders.h"

#include <gtest/gtest.h>

TEST(SystemFolders, RootsSystemFoldersAndFoldersAboveThemAreRefusedTheirInsidesAreNot)
{
    FakeFolders folders;
    folders.folders = {"C:\\WINDOWS", "C:\\WINDOWS\\system32", "C:\\Program Files",
                       "C:\\Documents and Settings\\user\\My Documents", "\\\\server\\home\\user"};
    // What the system makes of spellings that are not full long paths (with the
    // backslash that makes "C:" the drive's root).
    folders.longPaths = {{"C:\\PROGRA~1\\", "C:\\Program Files\\"},
                         {"cookies\\", "C:\\Documents and Settings\\user\\cookies\\"},
                         {"C:\\WINDOWS\\system32\\..\\", "C:\\WINDOWS\\"}};
    const struct {
        const char* folder;
        bool refused;
    } cases[] = {
        {"C:", true},
        {"C:\\", true},
        {"d:\\", true},
        {"\\\\server\\home", true},
        {"\\\\server\\home\\", true},
        {"C:\\WINDOWS", true},
        {"c:\\windows\\", true},                 // letter case and a trailing backslash
        {"C:\\WINDOWS\\\\", true},
        {"C:\\WINDOWS\\SYSTEM32", true},
        {"C:\\WINDOWS\\system32\\..", true},    // resolved by the system
        {"C:\\PROGRA~1", true},                 // a short name
        {"C:\\Program Files", true},
        {"C:\\Documents and Settings", true},   // above the user's Documents
        {"C:\\Documents and Settings\\user", true},
        {"\\\\server\\home\\user", true},
        {"C:\\WINDOWS\\Cookies", false},        // inside a system folder is the user's choice
        {"C:\\Documents and Settings\\user\\My Documents\\cookies", false},
        {"cookies", false},
        {"C:\\ie\\cookies", false},
        {"C:\\Program", false},                 // a prefix of a name is not a folder above it
        {"C:\\WINDOWS2", false},
        {"D:\\WINDOWS", false},
        {"\\\\server\\home\\user\\cookies", false},
    };
    SystemFolderGuard guard(folders);
    for (const auto& c : cases)
        EXPECT_EQ(guard.Refuses(c.folder), c.refused) << c.folder;
    EXPECT_EQ(folders.callsOf("systemFolders").size(), 1u) << "asked for once";
}

TEST(SystemFolders, AnAbsoluteFolderIsJudgedOnceARelativeOneEachTimeAsTheCurrentFolderMoves)
{
    FakeFolders folders;
    SystemFolderGuard guard(folders);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(guard.Refuses("C:\\WINDOWS"));
    EXPECT_EQ(folders.callsOf("fullLongPath").size(), folders.folders.size() + 1);

    folders.longPaths = {{"cookies\\", "C:\\ie\\cookies\\"}};
    EXPECT_FALSE(guard.Refuses("cookies"));
    folders.longPaths = {{"cookies\\", "C:\\WINDOWS\\"}}; // a file dialog moved the current folder
    EXPECT_TRUE(guard.Refuses("cookies"));
}

TEST(SystemFolders, WithoutTheSystemsFoldersEveryFolderIsRefusedAndNoVerdictIsKept)
{
    FakeFolders folders;
    SystemFolderGuard unnamed(folders);
    folders.faults.failNext("systemFolders");
    EXPECT_TRUE(unnamed.Refuses("C:\\ie\\cookies"));
    EXPECT_FALSE(unnamed.Refuses("C:\\ie\\cookies")) << "asked again once the system names them";

    folders.faults.failNext("systemFolders");
    SystemFolderGuard failedFirst(folders);
    EXPECT_TRUE(failedFirst.Refuses("C:\\WINDOWS"));
    EXPECT_TRUE(failedFirst.Refuses("C:\\WINDOWS")) << "not the verdict of the failed query";
}
